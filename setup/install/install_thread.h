#pragma once
// The install driver: runs a whole installation on its own thread. It walks the
// record sections of the setup script in a fixed order, hands each expanded
// record to the installer of its section, moves the Progress page's bar one step
// per record (50 ms apart, so the eye can follow, also in a dry run) and shows
// the current activity in the page's status line. When it has finished, however
// the run ended, it posts CmdInstallFinished to the page. Windows only.

#include "thread.h"

#include <windows.h>

#include <atomic>
#include <string>

class SetupModel;
class RecordInstaller;

class InstallThread : public thread::Thread {
public:
    // page receives WM_COMMAND CmdInstallFinished (1045) at the end; progressBar
    // and label are its progress bar and status line. The thread is created
    // suspended; start() runs it.
    InstallThread(HWND page, SetupModel& model, HWND progressBar, HWND label);

    // Asks the run to stop before its next record and waits until it has ended,
    // handling meanwhile the messages that the run sends to this thread's
    // windows (it moves the bar and the status line with SendMessageA, so a
    // plain wait would never end). Afterwards the run touches nothing of the
    // model, its log or the page any more, and they may go. Files installed so
    // far stay, and the install log keeps them. Harmless on a thread that was
    // never started or has ended.
    void stopAndWait();

    void run() override;

private:
    // Processes one section, reading its record count again before each record.
    void processSection(const char* section, RecordInstaller& installer);
    void setLabel(const char* text);

    HWND page_;
    SetupModel& model_;
    HWND progressBar_;
    HWND label_;
    bool imitation_ = false;
    std::atomic<bool> stopRequested_{false};
};

// The record sections in the order of the run.
extern const char* const kInstallSections[9];

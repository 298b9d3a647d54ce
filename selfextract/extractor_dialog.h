#pragma once
// The stub's modeless unpacking dialog (dialog 101): it shows the progress of
// the run, owns the worker thread that performs it, and closes when the run has
// ended or the user cancels. Windows only.
//
// Closing never blocks this thread on a worker that may still be sending it
// progress messages: a close request while the worker runs only asks it to stop
// and returns; the worker posts WM_CLOSE once it has ended, and that second
// WM_CLOSE waits for the (ending) thread, releases the controls and destroys the
// dialog, which ends the message loop.

#include "extractor_run.h"
#include "package_directory.h"
#include "thread.h"

#include <windows.h>

#include <memory>

class ExtractorDialog {
public:
    // package must outlive the dialog object.
    ExtractorDialog(HINSTANCE instance, PackageDirectory& package);
    // A dialog still open (the message loop failed) is closed here: the worker
    // is asked to stop and waited for, and its messages are answered meanwhile.
    ~ExtractorDialog();
    ExtractorDialog(const ExtractorDialog&) = delete;
    ExtractorDialog& operator=(const ExtractorDialog&) = delete;

    // CreateDialogParamA of dialog 101 without a parent; the dialog starts the
    // worker while it initialises. The dialog's handle, or null with the
    // system's error left in GetLastError.
    HWND create();
    HWND handle() const { return dialog_; }

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR handleMessage(UINT message, WPARAM wparam);

    void onInitDialog();
    void setIcons();
    void centre();
    void startWorker();
    void onClose();
    // Waits for the worker's end, answering the messages it sends meanwhile.
    void finishWorker();

    HINSTANCE instance_;
    PackageDirectory& package_;
    HWND dialog_ = nullptr;
    // Destroyed in the reverse order: the thread object, the run, the controls.
    std::unique_ptr<ExtractorControls> controls_;
    std::unique_ptr<ExtractorRun> run_;
    std::unique_ptr<thread::Thread> worker_;
};

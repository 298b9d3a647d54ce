#pragma once
// The setup window: the program's main window and the wizard controller. It runs
// the page sequence one modal dialog at a time, each step being a command
// number (wizard_commands.h) that reaches onCommand, checks the system
// requirements at the start, runs the completion actions after the last page
// and ends setup, offering a restart when files wait for one. Windows only.

#include "window.h"

#include <memory>

class SetupModel;
namespace thread {
class Thread;
}

class SetupWindow : public MainWindow {
public:
    explicit SetupWindow(SetupModel& model);
    ~SetupWindow() override;

    // Creates the window hidden, titled with SWWindowTitle, with the class
    // "ZRSetup" (registered by the caller). False when it cannot be created.
    bool create(HINSTANCE instance);

    void onCommand(unsigned id, unsigned code, HWND control) override;

private:
    void startWizard();
    void nextPage();
    void previousPage();
    void showPage(int page);
    void completionActions();
    void runApplicationStep();
    void endSetup();

    SetupModel& model_;
    bool wizardStarted_ = false;
    // Pages the kit does not carry are passed over in the direction the wizard
    // was moving.
    bool movingBack_ = false;
    std::unique_ptr<thread::Thread> programWait_;
};

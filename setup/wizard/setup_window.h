#pragma once
// The setup window: the program's main window and the wizard controller. It runs
// the page sequence one modal dialog at a time, each step being a command
// number (wizard_commands.h) that reaches onCommand, checks the system
// requirements at the start, runs the completion actions after the last page
// and ends setup, offering a restart when files wait for one. It paints the
// background behind the pages and, before the wizard, shows the splash picture
// for two seconds. Windows only.

#include "background_painter.h"
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

    // With DlgSplashWindow on: registers "ZRSetupSplash" (a failure throws
    // WinException), shows the picture SplWBitmap_Pathname and starts the
    // window's timer; a picture that cannot be shown posts CmdStartWizard at
    // once. Always true: the setup window is made in every case.
    bool onCreate() override;
    // Renders the background for the new client size, shown or not.
    void onSize(int width, int height) override;
    // Copies the rendered background to the window.
    void onPaint() override;
    // Nothing: the background picture covers the whole client area.
    void onEraseBackground() override {}
    // The splash's time is up: the wizard starts and the splash is hidden.
    void onTimer() override;
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
    BackgroundPainter background_;
    // Hidden when its time is up, destroyed only with the controller.
    std::unique_ptr<BitmapWindow> splash_;
    bool wizardStarted_ = false;
    // Pages the kit does not carry are passed over in the direction the wizard
    // was moving.
    bool movingBack_ = false;
    std::unique_ptr<thread::Thread> programWait_;
};

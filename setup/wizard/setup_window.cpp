#include "setup_window.h"

#include "exit_setup_dialog.h"
#include "restart.h"
#include "setup_model.h"
#include "setup_process.h"
#include "system_info.h"
#include "system_requirements.h"
#include "thread.h"
#include "wizard_commands.h"
#include "wizard_pages.h"

#include <shellapi.h>

namespace {

// Waits for the program that showed the readme, then lets the setup window go
// on with the application step.
class ProgramWaitThread : public thread::Thread {
public:
    ProgramWaitThread(HWND setupWindow, HANDLE process) : setupWindow_(setupWindow), process_(process) {}

    void run() override {
        HWND setupWindow = setupWindow_;
        HANDLE process = process_;
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
        PostMessageA(setupWindow, WM_COMMAND, CmdRunApplication, 0);
    }

private:
    HWND setupWindow_;
    HANDLE process_;
};

// How long the splash picture stays before the wizard starts.
constexpr UINT kSplashMilliseconds = 2000;

RunningSystem runningSystem() {
    WindowsVersion version;
    RunningSystem running;
    running.windows95 = version.isWindows95();
    running.windows98 = version.isWindows98();
    running.windowsME = version.isWindowsME();
    running.windowsNT4 = version.isWindowsNT4();
    running.windows2000 = version.isWindows2000();
    running.windowsXP = version.isWindowsXP();
    return running;
}

}  // namespace

SetupWindow::SetupWindow(SetupModel& model) : model_(model) {}

// The program-wait thread holds only the window handle, which is gone by then;
// its post then simply fails.
SetupWindow::~SetupWindow() = default;

bool SetupWindow::create(HINSTANCE instance) {
    std::string title = model_.getVariable("SWWindowTitle");
    return createWindow(0, kSetupWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, instance);
}

bool SetupWindow::onCreate() {
    if (!model_.isTrue("DlgSplashWindow"))
        return true;  // setup start posts CmdStartWizard itself
    registerClass(WindowClass(CS_VREDRAW | CS_HREDRAW, kSplashWindowClass, LoadCursorA(nullptr, IDC_ARROW), 1,
                              programInstance(), nullptr, nullptr));
    std::string picture = model_.getVariable("SplWBitmap_Pathname");
    splash_ = std::make_unique<BitmapWindow>();
    if (splash_->create(kSplashWindowClass, handle(), programInstance(), picture.c_str())) {
        splash_->show(SW_SHOW);
        startTimer(kSplashMilliseconds);
    } else {
        // No picture (missing, a folder, not a bitmap): no splash, no waiting.
        post(CmdStartWizard, 0, 0);
    }
    return true;
}

void SetupWindow::onSize(int width, int height) {
    WindowDC dc(handle());
    background_.render(dc.get(), readBackgroundStyle(model_), width, height);
}

void SetupWindow::onPaint() {
    PaintDC dc(handle());
    background_.paint(dc.get());
}

void SetupWindow::onTimer() {
    stopTimer();
    post(CmdStartWizard, 0, 0);
    if (splash_)
        splash_->show(SW_HIDE);
}

void SetupWindow::onCommand(unsigned id, unsigned, HWND) {
    switch (id) {
    case CmdEndSetup: endSetup(); break;
    case CmdStartWizard: startWizard(); break;
    case CmdNextPage: nextPage(); break;
    case CmdPreviousPage: previousPage(); break;
    case CmdCompletionActions: completionActions(); break;
    case CmdRunApplication: runApplicationStep(); break;
    default: {
        int page = pageOfShowCommand(id);
        if (page >= 0 && page != PageCompletionActions)
            showPage(page);
        break;  // any other number is ignored
    }
    }
}

void SetupWindow::startWizard() {
    if (!wizardStarted_) {
        wizardStarted_ = true;
        if (model_.isTrue("DlgSetupWindow")) {
            show(SW_SHOWMAXIMIZED);
            update();
        }
        for (const RequirementFailure& failure : checkSystemRequirements(model_, runningSystem())) {
            std::string caption = model_.stringText(1);
            std::string text = replaceFirstPlaceholder(model_.stringText(failure.abort ? 21 : 22), failure.systemName);
            MessageBoxA(nullptr, text.c_str(), caption.c_str(), failure.abort ? MB_ICONERROR : MB_ICONWARNING);
            if (failure.abort) {
                send(WM_COMMAND, CmdEndSetup, 0);
                return;
            }
        }
    }
    send(WM_COMMAND, showCommandOfPage(model_.startPage()), 0);
}

void SetupWindow::nextPage() {
    movingBack_ = false;
    int page = model_.nextPage();
    send(WM_COMMAND, page < 0 ? CmdEndSetup : showCommandOfPage(page), 0);
}

void SetupWindow::previousPage() {
    movingBack_ = true;
    int page = model_.previousPage();
    send(WM_COMMAND, page < 0 ? CmdEndSetup : showCommandOfPage(page), 0);
}

void SetupWindow::showPage(int page) {
    model_.setCurrentPage(page);
    if (!wizardPageExists(page)) {
        post(movingBack_ ? CmdPreviousPage : CmdNextPage, 0, 0);
        return;
    }
    unsigned result = runWizardPage(page, programInstance(), handle(), model_);
    // Dispatched after the dialog is gone, so pages never nest.
    post(result, 0, 0);
}

void SetupWindow::completionActions() {
    if (model_.isTrue("Imitation")) {
        post(CmdEndSetup, 0, 0);
        return;
    }
    model_.setCurrentPage(PageCompletionActions);
    if (model_.viewReadmeChosen()) {
        std::string readme = model_.getVariable("FinalReadmePathname");
        SHELLEXECUTEINFOA execute = {};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_NOCLOSEPROCESS;
        execute.lpFile = readme.c_str();
        execute.nShow = SW_SHOWNORMAL;
        if (ShellExecuteExA(&execute)) {
            // The viewer may have been a running program that took the file over:
            // then there is no process to wait for, and the application comes now.
            if (execute.hProcess) {
                try {
                    programWait_ = std::make_unique<ProgramWaitThread>(handle(), execute.hProcess);
                    programWait_->start();
                    return;
                } catch (const thread::GenericError&) {
                    programWait_.reset();
                    CloseHandle(execute.hProcess);
                }
            }
        }
    }
    runApplicationStep();
}

void SetupWindow::runApplicationStep() {
    model_.setCurrentPage(PageCompletionActions);
    if (model_.runApplicationChosen()) {
        std::string application = model_.getVariable("Application_Pathname");
        std::string folder, name;
        splitPath(application, &folder, &name);
        SHELLEXECUTEINFOA execute = {};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_NOCLOSEPROCESS;
        execute.lpFile = application.c_str();
        execute.lpDirectory = folder.c_str();
        execute.nShow = SW_SHOWNORMAL;
        if (ShellExecuteExA(&execute) && execute.hProcess)
            CloseHandle(execute.hProcess);
    }
    post(CmdEndSetup, 0, 0);
}

void SetupWindow::endSetup() {
    if (restartNeeded()) {
        std::string caption = model_.stringText(10);
        std::string question = model_.stringText(11);
        if (MessageBoxA(handle(), question.c_str(), caption.c_str(), MB_ICONQUESTION | MB_YESNO) == IDYES)
            restartWindows();
    }
    post(WM_CLOSE, 0, 0);
}

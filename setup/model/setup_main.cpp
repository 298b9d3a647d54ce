// The setup engine's entry point: builds the model beside the executable,
// prepares COM and the common controls, reads the command line, creates the
// hidden setup window and runs the message loop until it is destroyed. Every
// failure of the run is reported in one box, and the program returns -1.

#include "command_line.h"
#include "error_report.h"
#include "errors.h"
#include "file.h"
#include "resource.h"
#include "setup_model.h"
#include "setup_process.h"
#include "setup_window.h"
#include "system_folders.h"
#include "system_info.h"
#include "window.h"
#include "wizard_commands.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <new>

namespace {

// What a failed allocation raises anywhere in the process: a WinException for
// the top level's report, and a bad_alloc for code that expects the standard
// one from operator new.
class OutOfMemory : public std::bad_alloc, public WinException {
public:
    OutOfMemory() : WinException("Out of memory") {}
};

void onOutOfMemory() { throw OutOfMemory(); }

// CoInitialize for the main thread; anything but S_OK (S_FALSE included) is a
// failure. COM is released on every way out.
class ComInitialization {
public:
    ComInitialization() {
        if (CoInitialize(nullptr) != S_OK) {
            WinException failure("Couldn't initialize COM");
            CoUninitialize();  // S_FALSE still counts an initialisation
            throw failure;
        }
    }
    ~ComInitialization() { CoUninitialize(); }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;
};

void initCommonControls() {
    if (WindowsVersion().isWindows95()) {
        InitCommonControls();
        return;
    }
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = 8;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);
}

// Unpublishes the model on every way out, before it is destroyed.
class PublishedModel {
public:
    explicit PublishedModel(SetupModel& model) { publishModel(&model); }
    ~PublishedModel() { publishModel(nullptr); }
    PublishedModel(const PublishedModel&) = delete;
    PublishedModel& operator=(const PublishedModel&) = delete;
};

int runSetup(HINSTANCE instance) {
    // Destroyed in the reverse order: the setup window, COM, then the model,
    // whose install log writes setup.log.
    SetupModel model(querySystemFolders());
    if (!fileExists("setup.zip"))
        throw FileException("setup.zip", FileException::NotFound);
    ComInitialization com;
    initCommonControls();
    if (imitationRequested(__argc, __argv))
        model.setVariable("Imitation", "Y");
    PublishedModel published(model);

    HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                               LR_DEFAULTCOLOR));
    HICON smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                    LR_DEFAULTCOLOR));
    registerClass(WindowClass(CS_VREDRAW | CS_HREDRAW, kSetupWindowClass, LoadCursorA(nullptr, IDC_ARROW), 1,
                              instance, icon, smallIcon));

    SetupWindow window(model);
    if (!window.create(instance))
        throw WinException("Can't create application window");
    // With a splash, the splash window starts the wizard when it ends.
    if (!model.isTrue("DlgSplashWindow"))
        window.post(CmdStartWizard, 0, 0);
    return runMessageLoop();
}

void showReport(std::exception_ptr failure) {
    ErrorReport report = setupReport(failure);
    MessageBoxA(nullptr, report.text.c_str(), report.caption.c_str(), report.style);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    setProgramInstance(instance);
    std::set_new_handler(onOutOfMemory);
    int result;
    try {
        result = runSetup(instance);
    } catch (...) {
        showReport(std::current_exception());
        result = -1;
    }
    // Failures that happened while another one was being unwound (a setup.log
    // that could not be written, say) come after the failure that caused them.
    for (const std::exception_ptr& failure : takeDeferredFailures()) {
        showReport(failure);
        result = -1;
    }
    return result;
}

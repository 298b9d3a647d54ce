// The package stub's entry point: keeps DLLs out of the program's folder,
// prepares COM and the progress bar class, opens the unpacking dialog (whose
// worker does the run) and runs the message loop until the dialog is gone.
// Exit code 0 after a normal end, also after a reported damage or a cancel; 1
// when COM, the common controls or the dialog cannot be set up; -1 when the
// message loop fails.

#include "dll_search.h"
#include "errors.h"
#include "extractor_dialog.h"
#include "owners.h"
#include "package_directory.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <new>

namespace {

// What a failed allocation raises anywhere in the process: a WinException for
// the handlers that report it, and a bad_alloc for code that expects the
// standard one from operator new.
class OutOfMemory : public std::bad_alloc, public WinException {
public:
    OutOfMemory() : WinException("Out of memory") {}
};

void onOutOfMemory() { throw OutOfMemory(); }

void showWarning(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_ICONWARNING);
}

// comctl32 is not one of the system's known DLLs, so it is loaded from the
// system folder by full path rather than imported. Windows 95 without a newer
// comctl32 has only InitCommonControls, which registers the progress bar too.
bool initCommonControls(HMODULE commonControls) {
    if (!commonControls)
        return false;
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    using Init = void(WINAPI*)();
    if (FARPROC found = GetProcAddress(commonControls, "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX controls = {};
        controls.dwSize = 8;
        controls.dwICC = ICC_PROGRESS_CLASS;
        return reinterpret_cast<InitEx>(reinterpret_cast<void (*)()>(found))(&controls) != FALSE;
    }
    if (FARPROC found = GetProcAddress(commonControls, "InitCommonControls")) {
        reinterpret_cast<Init>(reinterpret_cast<void (*)()>(found))();
        return true;
    }
    return false;
}

// GetMessageA for every window of the thread; a message the dialog takes as
// dialog input (Tab, Escape, Enter) is not dispatched again.
int runMessageLoop(HWND dialog) {
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1)
            return -1;
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (IsDialogMessageA(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int runExtractor(HINSTANCE instance) {
    // Declared first so that the progress bar class outlives the dialog.
    Module commonControls(loadSystemLibrary("comctl32.dll"));
    if (!initCommonControls(commonControls.get())) {
        showWarning("Can not initialize common controls", "InitCommonControlsEx");
        return 1;
    }
    PackageDirectory package;
    ExtractorDialog dialog(instance, package);
    HWND window = dialog.create();
    if (!window) {
        char text[32];
        wsprintfA(text, "Error x%x", static_cast<unsigned>(GetLastError()));
        showWarning(text, "CreateDialog");
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    return runMessageLoop(window);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    restrictDllSearch();
    if (FAILED(CoInitialize(nullptr))) {
        showWarning("Can not initialize COM", "CoInitialize");
        return 1;
    }
    std::set_new_handler(onOutOfMemory);
    int result;
    try {
        result = runExtractor(instance);
    } catch (const WinException& failure) {
        showWarning(failure.message(), "Exception");
        result = -1;
    } catch (...) {
        showWarning("Unknown", "Exception");
        result = -1;
    }
    CoUninitialize();
    return result;
}

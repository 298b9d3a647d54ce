#include "extractor_dialog.h"

#include "errors.h"
#include "resource.h"

namespace {

void showWarning(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_ICONWARNING);
}

}  // namespace

ExtractorDialog::ExtractorDialog(HINSTANCE instance, PackageDirectory& package)
    : instance_(instance), package_(package) {}

ExtractorDialog::~ExtractorDialog() {
    finishWorker();
    if (dialog_)
        DestroyWindow(dialog_);
}

HWND ExtractorDialog::create() {
    return CreateDialogParamA(instance_, MAKEINTRESOURCEA(IDD_EXTRACTOR), nullptr, procedure,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ExtractorDialog::procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    ExtractorDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ExtractorDialog*>(lparam);
        self->dialog_ = dialog;
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lparam);
    } else {
        self = reinterpret_cast<ExtractorDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    }
    if (!self)
        return FALSE;
    // Nothing may unwind through the system's code that called us.
    try {
        return self->handleMessage(message, wparam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR ExtractorDialog::handleMessage(UINT message, WPARAM wparam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        return TRUE;
    case WM_COMMAND:
        // The Cancel button, and Escape through IsDialogMessageA.
        if (LOWORD(wparam) == IDCANCEL) {
            SendMessageA(dialog_, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        onClose();
        return TRUE;
    case WM_DESTROY:
        SetWindowLongPtrA(dialog_, GWLP_USERDATA, 0);
        dialog_ = nullptr;
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

void ExtractorDialog::onInitDialog() {
    try {
        controls_ = std::make_unique<ExtractorControls>(dialog_);
    } catch (const WinException& failure) {
        showWarning(failure.message(), "Exception");
    } catch (...) {
        showWarning("Unknown", "Exception");
        return;
    }
    setIcons();
    centre();
    // Without controls there is nothing to report to: the dialog stays until
    // the user closes it.
    if (controls_)
        startWorker();
}

void ExtractorDialog::setIcons() {
    HICON big = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_EXTRACTOR));
    HICON smallIcon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_EXTRACTOR), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                    LR_SHARED));
    if (!big || !smallIcon) {
        showWarning("LoadIcons failed.", "May be a problem");
        return;
    }
    SendMessageA(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

void ExtractorDialog::centre() {
    HWND parent = GetParent(dialog_);
    RECT area, own;
    if (!GetWindowRect(parent ? parent : GetDesktopWindow(), &area) || !GetWindowRect(dialog_, &own))
        return;
    int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
    int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(dialog_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ExtractorDialog::startWorker() {
    // Any failure leaves no worker, and the dialog simply stays open.
    try {
        run_ = std::make_unique<ExtractorRun>(package_, *controls_);
        auto worker = std::make_unique<thread::Thread>(run_.get());
        worker->setPriority(thread::Thread::DefaultPriority);
        worker->start();
        worker_ = std::move(worker);
    } catch (...) {
        run_.reset();
    }
}

void ExtractorDialog::onClose() {
    if (worker_ && !run_->ended()) {
        // The worker may be sending us a progress message right now, so it is
        // not waited for here: it notices the request, cleans up and posts
        // WM_CLOSE again, which brings us back with ended() true.
        run_->requestStop();
        SetThreadPriority(worker_->handle(), THREAD_PRIORITY_HIGHEST);
        return;
    }
    finishWorker();
    DestroyWindow(dialog_);
}

void ExtractorDialog::finishWorker() {
    if (worker_) {
        run_->requestStop();
        HANDLE thread = worker_->handle();
        // Sent messages are answered inside PeekMessageA; posted ones stay
        // queued for the message loop.
        for (;;) {
            DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
            if (woken == WAIT_OBJECT_0)
                break;
            if (woken != WAIT_OBJECT_0 + 1) {
                // The run must not outlive what it uses, whatever the wait did.
                WaitForSingleObject(thread, INFINITE);
                break;
            }
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        }
    }
    worker_.reset();
    run_.reset();
    controls_.reset();
}

#include "window.h"

#include "error_report.h"
#include "errors.h"
#include "framework_internal.h"

#include <new>

namespace {

// One per thread: each thread's windows run their procedures on it. A Win32
// TLS slot rather than thread_local, whose runtime support imports functions
// that Windows before XP lacks. The slot holds a heap copy while a failure is
// pending and nothing otherwise.
DWORD pendingSlot() {
    static const DWORD slot = TlsAlloc();
    return slot;
}

std::exception_ptr* pendingFailure() {
    return static_cast<std::exception_ptr*>(TlsGetValue(pendingSlot()));
}

Window* boundWindow(HWND window) {
    return reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

namespace detail {

void keepPendingException(std::exception_ptr failure) {
    if (pendingFailure() == nullptr && pendingSlot() != TLS_OUT_OF_INDEXES) {
        auto* held = new (std::nothrow) std::exception_ptr(failure);
        if (held != nullptr && TlsSetValue(pendingSlot(), held))
            return;
        delete held;
    }
    deferFailure(std::move(failure));
}

}  // namespace detail

void rethrowPendingException() {
    std::exception_ptr* pending = pendingFailure();
    if (pending == nullptr)
        return;
    std::exception_ptr failure = std::move(*pending);
    delete pending;
    TlsSetValue(pendingSlot(), nullptr);
    std::rethrow_exception(failure);
}

int runMessageLoop() {
    rethrowPendingException();
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return -1;
        TranslateMessage(&message);
        DispatchMessageA(&message);
        rethrowPendingException();
    }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* object = boundWindow(window);
    try {
        if (message == WM_CREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
            object = static_cast<Window*>(create->lpCreateParams);
            if (!object)  // a window of a framework class made without an object
                return DefWindowProcA(window, message, wparam, lparam);
            object->window_ = window;
            bool created = false;
            try {
                created = object->onCreate();
            } catch (...) {
                object->window_ = nullptr;
                throw;
            }
            if (!created) {
                object->window_ = nullptr;
                return -1;
            }
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
            return 0;
        }
        // Before WM_CREATE bound the object, and after WM_DESTROY unbound it, the
        // window is an ordinary one.
        if (!object)
            return DefWindowProcA(window, message, wparam, lparam);

        if (message >= WM_USER) {
            object->onCommand(message, 0, nullptr);
            return 0;
        }
        switch (message) {
        case WM_DESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            object->onDestroy();
            return 0;
        case WM_SIZE:
            object->onSize(LOWORD(lparam), HIWORD(lparam));
            return 0;
        case WM_ERASEBKGND:
            object->onEraseBackground();
            return 1;
        case WM_PAINT:
            object->onPaint();
            return 0;
        case WM_NOTIFY:
            object->onNotify(wparam, lparam);
            return 0;
        case WM_COMMAND:
            object->onCommand(LOWORD(wparam), 0, nullptr);
            return 0;
        case WM_TIMER:
            object->onTimer();
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
        }
    } catch (...) {
        detail::keepPendingException(std::current_exception());
        // A failed creation makes CreateWindowExA fail; createWindow rethrows.
        return message == WM_CREATE ? -1 : 0;
    }
}

WindowClass::WindowClass(UINT style, const char* className, HCURSOR cursor, int brush, HINSTANCE instance,
                         HICON icon, HICON smallIcon)
    : style_(style),
      className_(className ? className : ""),
      cursor_(cursor),
      brush_(brush),
      instance_(instance),
      icon_(icon),
      smallIcon_(smallIcon) {}

WNDCLASSEXA WindowClass::info() const {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    info.style = style_;
    info.lpfnWndProc = windowProcedure;
    info.cbClsExtra = 0;
    info.cbWndExtra = 0;
    info.hInstance = instance_;
    info.hIcon = icon_;
    info.hCursor = cursor_;
    info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(brush_));
    info.lpszMenuName = nullptr;
    info.lpszClassName = className_.c_str();
    info.hIconSm = smallIcon_;
    return info;
}

ATOM registerClass(const WindowClass& windowClass) {
    WNDCLASSEXA info = windowClass.info();
    ATOM atom = RegisterClassExA(&info);
    if (!atom)
        throw WinException("RegisterClassEx");
    return atom;
}

Window::~Window() {
    if (!window_)
        return;
    if (timer_)
        KillTimer(window_, timer_);
    timer_ = 0;
    DestroyWindow(window_);
    // WM_DESTROY normally forgot the handle already; if the window could not be
    // destroyed (another thread's), the object is gone anyway.
    window_ = nullptr;
}

void Window::onDestroy() { window_ = nullptr; }

void Window::onPaint() { ValidateRect(window_, nullptr); }

bool Window::createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                          int width, int height, HWND owner, HINSTANCE instance) {
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, owner, nullptr, instance,
                                  static_cast<Window*>(this));
    rethrowPendingException();
    return window != nullptr;
}

void Window::startTimer(UINT milliseconds) { timer_ = SetTimer(window_, 1, milliseconds, nullptr); }

void Window::stopTimer() {
    if (timer_)
        KillTimer(window_, timer_);
    timer_ = 0;
}

void Window::update() {
    UpdateWindow(window_);
    rethrowPendingException();
}

LRESULT Window::send(UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = SendMessageA(window_, message, wparam, lparam);
    rethrowPendingException();
    return result;
}

RECT Window::windowRect() const {
    RECT rect = {};
    GetWindowRect(window_, &rect);
    return rect;
}

void MainWindow::onDestroy() {
    Window::onDestroy();
    PostQuitMessage(0);
}

bool BitmapWindow::create(const char* className, HWND owner, HINSTANCE instance, const char* bitmapFile) {
    if (!bitmap_.loadFile(bitmapFile))
        return false;
    SIZE picture = bitmap_.size();
    RECT rect = {0, 0, picture.cx, picture.cy};
    AdjustWindowRectEx(&rect, WS_POPUP, FALSE, WS_EX_DLGMODALFRAME);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (!createWindow(WS_EX_DLGMODALFRAME, className, nullptr, WS_POPUP, rect.left, rect.top, width, height, owner,
                      instance))
        return false;
    // An arithmetic shift: a picture larger than the screen keeps its middle at
    // the screen's middle, with negative coordinates.
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) >> 1;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) >> 1;
    SetWindowPos(handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void BitmapWindow::onPaint() {
    PaintDC dc(handle());
    blit(dc.get(), bitmap_);
}

void setCaption(HWND window, const char* text) {
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void centreOnDesktop(HWND window) {
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    // Signed divisions, truncating toward zero.
    int x = desktop.left + (desktop.right - desktop.left - width) / 2;
    int y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string moduleDirectory() {
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, length < sizeof path ? length : sizeof path - 1);
    size_t last = file.rfind('\\');
    return last == std::string::npos ? file : file.substr(0, last);
}

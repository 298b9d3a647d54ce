#pragma once
// The window and dialog framework: one object bound to each window or dialog,
// window messages turned into calls of that object's virtual operations, modal
// dialogs whose result is a plain integer, dialog controls by their resource
// identifiers, and scope owners for GDI (gdi.h). ANSI Win32 throughout; every
// operation runs on the thread that owns the windows. Windows only.
//
// Commands: a window receives a command either as the identifier of a
// WM_COMMAND or as a private message (1024, WM_USER, and above) of the same
// number; both arrive at Window::onCommand. Dialogs end with a command number.
//
// Exceptions: the operations of framework objects may throw (a file that cannot
// be read while a page opens, say). An exception must never unwind through the
// system's code that called the window or dialog procedure (it cannot, in the
// 32-bit build, and the system swallows it elsewhere), so the procedures catch
// it and keep it for the thread; a modal dialog whose handler threw ends at
// once. The framework rethrows the kept exception as soon as control is back in
// its own code: when createWindow, send, update, runModalDialog or a message
// loop step of runMessageLoop returns. A program that runs its own loop calls
// rethrowPendingException() after each DispatchMessageA instead.

#include "dialog.h"
#include "gdi.h"
#include "split_path.h"

#include <windows.h>

#include <string>

// The framework's window procedure, the procedure of every class registered
// through WindowClass.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Throws the exception that a framework procedure of this thread caught and
// kept, if there is one, and forgets it. Does nothing otherwise.
void rethrowPendingException();

// GetMessageA, TranslateMessage and DispatchMessageA for every window of the
// thread until WM_QUIT, whose wParam it returns; -1 when GetMessageA fails.
// Rethrows a kept exception after each message (see above).
int runMessageLoop();

// One window class, field for field a WNDCLASSEXA whose procedure is always the
// framework's window procedure, with no extra class or window bytes and no menu.
class WindowClass {
public:
    // brush is a background brush number as WNDCLASSEXA takes it (a system
    // colour index plus one); every window class of the kit passes 1. icon,
    // smallIcon and cursor may be null.
    WindowClass(UINT style, const char* className, HCURSOR cursor, int brush, HINSTANCE instance,
                HICON icon, HICON smallIcon);

    // The class as RegisterClassExA takes it; its class name points into this
    // object, so it is valid while the object lives.
    WNDCLASSEXA info() const;
    const std::string& name() const { return className_; }

private:
    UINT style_;
    std::string className_;
    HCURSOR cursor_;
    int brush_;
    HINSTANCE instance_;
    HICON icon_;
    HICON smallIcon_;
};

// RegisterClassExA. Returns the class atom; throws WinException("RegisterClassEx")
// with the system's error code when the class cannot be registered (a class of
// that name already exists in the instance, say).
ATOM registerClass(const WindowClass& windowClass);

// The base of every framework window. The owner constructs the object, creates
// the window through it and destroys the window by deleting the object; a window
// destroyed first leaves an object that deletion no longer touches.
class Window {
public:
    Window() = default;
    // Kills a running timer and destroys the window, if one exists. (Derived
    // objects are gone by then, so only Window's own onDestroy runs.)
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // WM_CREATE: false makes the creation fail (the creator sees no window).
    virtual bool onCreate() { return true; }
    // WM_DESTROY, after the window was unbound. The default forgets the window
    // handle; overrides must call it.
    virtual void onDestroy();
    // WM_SIZE with the new client width and height.
    virtual void onSize(int /*width*/, int /*height*/) {}
    // WM_ERASEBKGND. The procedure always reports the background erased, so the
    // system never paints it with the class brush.
    virtual void onEraseBackground() {}
    // WM_PAINT. The default draws nothing and only validates the window, so that
    // the system does not repeat the message forever.
    virtual void onPaint();
    // WM_COMMAND (id is the command identifier) and every message numbered 1024
    // or above (id is the message number). code and control are always 0.
    virtual void onCommand(unsigned /*id*/, unsigned /*code*/, HWND /*control*/) {}
    // WM_NOTIFY with its parameters.
    virtual void onNotify(WPARAM /*wparam*/, LPARAM /*lparam*/) {}
    // WM_TIMER of the window's timer.
    virtual void onTimer() {}

    // CreateWindowExA with this object as the creation parameter, which binds it
    // to the new window. True when the window exists. Rethrows an exception that
    // onCreate threw.
    bool createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                      int width, int height, HWND owner, HINSTANCE instance);

    HWND handle() const { return window_; }

    // SetTimer with timer identifier 1 and no callback; the timer reaches onTimer.
    void startTimer(UINT milliseconds);
    // KillTimer of a running timer.
    void stopTimer();
    UINT_PTR timerId() const { return timer_; }

    void show(int command) { ShowWindow(window_, command); }
    // UpdateWindow; rethrows an exception thrown by onPaint.
    void update();
    // PostMessageA to the own window; true when it was posted.
    bool post(UINT message, WPARAM wparam, LPARAM lparam) {
        return PostMessageA(window_, message, wparam, lparam) != FALSE;
    }
    // SendMessageA to the own window; rethrows an exception that the operation
    // handling the message threw.
    LRESULT send(UINT message, WPARAM wparam, LPARAM lparam);
    RECT windowRect() const;

private:
    friend LRESULT CALLBACK windowProcedure(HWND, UINT, WPARAM, LPARAM);

    HWND window_ = nullptr;
    UINT_PTR timer_ = 0;
};

// The program's main window: destroying it ends the message loop.
class MainWindow : public Window {
public:
    // Forgets the handle and posts WM_QUIT with exit code 0.
    void onDestroy() override;
};

// A borderless popup showing one bitmap file at its exact size, centred on the
// screen.
class BitmapWindow : public Window {
public:
    // Loads the picture and creates the window (hidden; the caller shows it).
    // False, and no window, when the file cannot be loaded as a bitmap or the
    // window cannot be created. Nothing is thrown for either.
    bool create(const char* className, HWND owner, HINSTANCE instance, const char* bitmapFile);

    // Copies the whole picture to (0, 0) of the window.
    void onPaint() override;

    const Bitmap& bitmap() const { return bitmap_; }

private:
    Bitmap bitmap_;
};

// WM_SETTEXT on the window itself.
void setCaption(HWND window, const char* text);
inline void setCaption(HWND window, const std::string& text) { setCaption(window, text.c_str()); }

// Moves the window, without resizing, activating or changing its Z order, so
// that it is centred on the desktop. A window larger than the desktop gets
// negative coordinates (the halving truncates toward zero).
void centreOnDesktop(HWND window);

// The folder of the running program's file, without a trailing backslash
// (C:\Setup for C:\Setup\setup.exe); a file name without a backslash is
// returned whole.
std::string moduleDirectory();

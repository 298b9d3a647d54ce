// The window half of the framework: classes, binding, dispatch, timers, the
// main window, the bitmap window, centring and the module folder. Runs under
// Wine with a display.
#include "errors.h"
#include "test_support.h"
#include "window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

HINSTANCE instance() { return GetModuleHandleA(nullptr); }

const char* testClass() {
    static const ATOM atom = registerClass(
        WindowClass(CS_HREDRAW | CS_VREDRAW, "ZRFrameworkTest", LoadCursorA(nullptr, IDC_ARROW), 1, instance(),
                    nullptr, nullptr));
    (void)atom;
    return "ZRFrameworkTest";
}

// Runs the thread's messages until done() holds or 10 s have passed; false on
// the deadline. Rethrows what a framework procedure kept.
bool pumpUntil(const std::function<bool()>& done) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 10000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        rethrowPendingException();
    }
    return true;
}

struct Command {
    unsigned id;
    unsigned code;
    HWND control;
    bool operator==(const Command& other) const {
        return id == other.id && code == other.code && control == other.control;
    }
    friend std::ostream& operator<<(std::ostream& out, const Command& c) {
        return out << "{" << c.id << ", " << c.code << ", " << c.control << "}";
    }
};

// Records what reaches its operations.
class RecordingWindow : public Window {
public:
    bool createAnswer = true;
    std::vector<std::string> events;
    std::vector<Command> commands;
    int timers = 0;

    bool create() {
        return createWindow(0, testClass(), "Recording", WS_POPUP, 10, 10, 100, 60, nullptr, instance());
    }

    bool onCreate() override {
        events.push_back(handle() ? "create with handle" : "create without handle");
        return createAnswer;
    }
    void onDestroy() override {
        events.push_back("destroy");
        Window::onDestroy();
    }
    void onSize(int width, int height) override {
        events.push_back("size " + std::to_string(width) + "x" + std::to_string(height));
    }
    void onEraseBackground() override { events.push_back("erase"); }
    void onCommand(unsigned id, unsigned code, HWND control) override { commands.push_back({id, code, control}); }
    void onNotify(WPARAM wparam, LPARAM lparam) override {
        events.push_back("notify " + std::to_string(wparam) + " " +
                         std::to_string(reinterpret_cast<NMHDR*>(lparam)->code));
    }
    void onTimer() override { ++timers; }
};

}  // namespace

TEST(WindowClass, FillsEveryFieldOfTheClass) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    WindowClass windowClass(CS_HREDRAW | CS_VREDRAW, "ZRFieldTest", arrow, 1, instance(), icon, nullptr);
    WNDCLASSEXA info = windowClass.info();
    EXPECT_EQ(sizeof(WNDCLASSEXA), info.cbSize);
    EXPECT_EQ(3u, info.style);
    EXPECT_EQ(&windowProcedure, info.lpfnWndProc);
    EXPECT_EQ(0, info.cbClsExtra);
    EXPECT_EQ(0, info.cbWndExtra);
    EXPECT_EQ(instance(), info.hInstance);
    EXPECT_EQ(icon, info.hIcon);
    EXPECT_EQ(nullptr, info.hIconSm);
    EXPECT_EQ(arrow, info.hCursor);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(1), info.hbrBackground);
    EXPECT_EQ(nullptr, info.lpszMenuName);
    EXPECT_STREQ("ZRFieldTest", info.lpszClassName);
}

TEST(WindowClass, FailedRegistrationRaisesWinException) {
    WindowClass windowClass(3, "ZRTwiceTest", nullptr, 1, instance(), nullptr, nullptr);
    EXPECT_NE(0, registerClass(windowClass));
    try {
        registerClass(windowClass);  // the name is taken now
        FAIL() << "the second registration succeeded";
    } catch (const WinException& e) {
        EXPECT_STREQ("RegisterClassEx", e.message());
        EXPECT_EQ(static_cast<uint32_t>(ERROR_CLASS_ALREADY_EXISTS), e.code());
    }
}

TEST(Window, CreationBindsTheObjectAndDestructionUnbindsIt) {
    RecordingWindow window;
    ASSERT_TRUE(window.create());
    HWND handle = window.handle();
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(static_cast<Window*>(&window)), GetWindowLongPtrA(handle, GWLP_USERDATA));
    ASSERT_FALSE(window.events.empty());
    EXPECT_EQ("create with handle", window.events.front());  // the handle is known inside onCreate

    EXPECT_TRUE(DestroyWindow(handle));
    EXPECT_EQ("destroy", window.events.back());
    EXPECT_EQ(nullptr, window.handle());
    EXPECT_FALSE(IsWindow(handle));
}

TEST(Window, OnCreateFalseMakesCreationFail) {
    RecordingWindow window;
    window.createAnswer = false;
    EXPECT_FALSE(window.create());
    EXPECT_EQ(nullptr, window.handle());
    // The unbound window was destroyed without reaching the object.
    EXPECT_EQ(std::vector<std::string>{"create with handle"}, window.events);
}

TEST(Window, PrivateMessagesReachOnCommandLikeWmCommand) {
    RecordingWindow window;
    ASSERT_TRUE(window.create());
    HWND button = window.handle();  // any window will do as a WM_COMMAND's control
    struct Row {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
        unsigned id;
    } rows[] = {
        {WM_USER, 0, 0, 1024},                                                          // the first private number
        {1045, 5, 6, 1045},                                                             // its parameters are dropped
        {WM_COMMAND, MAKEWPARAM(1045, BN_CLICKED), reinterpret_cast<LPARAM>(button), 1045},  // same id as a command
        {WM_COMMAND, MAKEWPARAM(1003, 0), 0, 1003},                                     // a button's identifier
        {WM_APP + 0x3FFF, 0, 0, WM_APP + 0x3FFF},                                       // the top of the private range
    };
    for (const Row& row : rows)
        ASSERT_TRUE(window.post(row.message, row.wparam, row.lparam));
    const size_t count = sizeof rows / sizeof rows[0];
    ASSERT_TRUE(pumpUntil([&] { return window.commands.size() >= count; }));
    ASSERT_EQ(count, window.commands.size());
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ((Command{rows[i].id, 0, nullptr}), window.commands[i]) << "row " << i;
}

TEST(Window, SizeEraseNotifyAndTimerReachTheirOperations) {
    RecordingWindow window;
    ASSERT_TRUE(window.create());

    SetWindowPos(window.handle(), nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ("size 120x80", window.events.back());  // a popup without border: client = window

    HDC dc = GetDC(window.handle());
    EXPECT_EQ(1, window.send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));  // reported as erased
    ReleaseDC(window.handle(), dc);
    EXPECT_EQ("erase", window.events.back());

    NMHDR header = {window.handle(), 7, 42};
    window.send(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ("notify 7 42", window.events.back());

    window.startTimer(1);
    EXPECT_EQ(1u, window.timerId());
    EXPECT_TRUE(pumpUntil([&] { return window.timers > 0; }));
    window.stopTimer();
    EXPECT_EQ(0u, window.timerId());
}

TEST(Window, DeletingTheObjectDestroysItsWindow) {
    auto* window = new RecordingWindow;
    ASSERT_TRUE(window->create());
    window->startTimer(1000);
    HWND handle = window->handle();
    delete window;
    EXPECT_FALSE(IsWindow(handle));
}

TEST(MainWindow, DestroyingItEndsTheMessageLoopWithZero) {
    MainWindow window;
    ASSERT_TRUE(window.createWindow(0, testClass(), "Main", WS_POPUP, 0, 0, 50, 50, nullptr, instance()));
    ASSERT_TRUE(window.post(WM_CLOSE, 0, 0));  // the default handling destroys the window
    EXPECT_EQ(0, runMessageLoop());
    EXPECT_EQ(nullptr, window.handle());
}

TEST(Window, ExceptionsOfOperationsReachTheFrameworkCaller) {
    struct FailingCreate : Window {
        bool onCreate() override { throw FileException("English.dat", 2); }
    } failingCreate;
    EXPECT_THROW(failingCreate.createWindow(0, testClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, instance()),
                 FileException);
    EXPECT_EQ(nullptr, failingCreate.handle());

    struct FailingCommand : Window {
        void onCommand(unsigned id, unsigned, HWND) override {
            if (id == 1030)
                throw WinException("command failed");
        }
    } failingCommand;
    ASSERT_TRUE(failingCommand.createWindow(0, testClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, instance()));
    EXPECT_THROW(failingCommand.send(1030, 0, 0), WinException);  // sent: back in send
    ASSERT_TRUE(failingCommand.post(1030, 0, 0));
    try {
        runMessageLoop();  // posted: back in the message loop
        FAIL() << "the message loop ended normally";
    } catch (const WinException& e) {
        EXPECT_STREQ("command failed", e.message());
    }
}

TEST(BitmapWindow, PictureThatCannotBeLoadedMakesNoWindow) {
    zrtest::TempDir temp;
    const std::string paths[] = {
        temp.file("missing.bmp"),  // no such file
        temp.path() + "\\",        // a folder
        zrtest::sourcePath("tests/foundation/framework_tests.rc"),  // not a bitmap
    };
    for (const std::string& path : paths) {
        BitmapWindow window;
        EXPECT_FALSE(window.create(testClass(), nullptr, instance(), path.c_str())) << path;
        EXPECT_EQ(nullptr, window.handle()) << path;
    }
}

TEST(BitmapWindow, IsExactlyThePictureCentredOnTheScreen) {
    BitmapWindow window;
    ASSERT_TRUE(window.create(testClass(), nullptr, instance(),
                              zrtest::sourcePath("tests/foundation/picture_40x30.bmp").c_str()));
    RECT client;
    GetClientRect(window.handle(), &client);
    EXPECT_EQ(40, client.right);
    EXPECT_EQ(30, client.bottom);

    RECT outer = window.windowRect();
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - width) >> 1, outer.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - height) >> 1, outer.top);
    EXPECT_TRUE(GetWindowLongPtrA(window.handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(IsWindowVisible(window.handle()));

    // Painting copies the picture: its colour appears in the window.
    window.show(SW_SHOWNA);
    window.update();
    HDC dc = GetDC(window.handle());
    EXPECT_EQ(RGB(0xC0, 0x80, 0x20), GetPixel(dc, 20, 15));
    ReleaseDC(window.handle(), dc);
}

TEST(CentreOnDesktop, CentresWithTruncatingDivision) {
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int desktopWidth = desktop.right - desktop.left, desktopHeight = desktop.bottom - desktop.top;
    struct Row {
        int extraWidth, extraHeight;  // window size minus desktop size
        int x, y;                     // expected position relative to the desktop's corner
    } rows[] = {
        {1001, 501, -500, -250},  // larger: -1001 / 2 is -500, not -501
        {-101, -51, 50, 25},      // smaller: 101 / 2 is 50
        {0, 0, 0, 0},             // as large as the desktop
    };
    for (const Row& row : rows) {
        RecordingWindow window;
        int width = desktopWidth + row.extraWidth, height = desktopHeight + row.extraHeight;
        ASSERT_TRUE(window.createWindow(0, testClass(), "", WS_POPUP, 7, 9, width, height, nullptr, instance()));
        centreOnDesktop(window.handle());
        RECT rect = window.windowRect();
        EXPECT_EQ(desktop.left + row.x, rect.left) << row.extraWidth;
        EXPECT_EQ(desktop.top + row.y, rect.top) << row.extraHeight;
        EXPECT_EQ(width, rect.right - rect.left) << "the size stays";
        EXPECT_EQ(height, rect.bottom - rect.top) << "the size stays";
    }
}

TEST(SetCaption, SetsTheWindowsOwnText) {
    RecordingWindow window;
    ASSERT_TRUE(window.create());
    setCaption(window.handle(), std::string("Setup Complete"));
    char text[64] = "";
    GetWindowTextA(window.handle(), text, sizeof text);
    EXPECT_STREQ("Setup Complete", text);
}

TEST(ModuleDirectory, IsTheProgramsFolderWithoutTrailingBackslash) {
    zrtest::TempDir temp;
    std::string folder = temp.file("Setup");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string program = folder + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(zrtest::platformPath(ZR_FRAMEWORK_PROBE).c_str(), program.c_str(), FALSE));

    zrtest::ProcessResult run = zrtest::runProcess("\"" + program + "\" module-directory");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_EQ(folder, run.output);
}

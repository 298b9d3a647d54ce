#pragma once
// The test robot: starts a program (or attaches to a running one), waits for its
// windows and dialogs, reads their texts, types into edits, selects list items
// and presses buttons by control identifier, and waits for the program's end.
// Everything is found through the window tree and resource identifiers: no
// screen coordinates, no pictures. Every wait polls with a deadline.
//
// The same logic drives robot.exe, whose command language (robot.cpp, and
// tests/support/README.md) scripts and tests use; C++ tests may call it
// directly. Windows only.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace robot {

constexpr int kDefaultTimeoutMs = 10000;

// What a top-level window must match; an absent field matches anything.
struct WindowQuery {
    std::optional<std::string> className;  // compared without regard to case ("#32770": dialogs, message boxes)
    std::optional<std::string> caption;    // compared exactly
};

// One child control of a window, as the user would see it.
struct ControlInfo {
    unsigned id = 0;  // 65535 for the text of a message box
    std::string className;
    std::string text;
    bool visible = false;
    bool enabled = false;
    bool checked = false;  // check boxes and radio buttons
};

// The program under test. Answers false with a message in *error when
// something fails or a deadline passes.
class Robot {
public:
    Robot() = default;
    // Ends a program that this robot started and that still runs, so that no
    // test leaves a window waiting for a click. A program attached to is left.
    ~Robot();
    Robot(const Robot&) = delete;
    Robot& operator=(const Robot&) = delete;

    // CreateProcessA of commandLine in workingDir ("" keeps the robot's own).
    bool start(const std::string& commandLine, const std::string& workingDir, std::string* error);
    bool attach(DWORD processId, std::string* error);
    // Waits for a program that the current one started, by its file name (any
    // case), and makes it the current program; parent() goes back. A program
    // that starts another, such as a package that runs its setup, is driven so.
    bool child(const std::string& fileName, int timeoutMs, std::string* error);
    bool parent(std::string* error);
    DWORD processId() const { return processId_; }
    bool hasProcess() const { return process_ != nullptr; }

    // The visible top-level windows of the program, topmost first.
    std::vector<HWND> windows() const;
    // Waits for a visible top-level window of the program that matches; fails
    // early when the program ends first.
    HWND waitWindow(const WindowQuery& query, int timeoutMs, std::string* error);
    // Waits for the program's end; *exitCode is its exit code as a signed number.
    bool waitExit(int timeoutMs, int* exitCode, std::string* error);
    // TerminateProcess with exit code 255.
    bool kill(std::string* error);

private:
    struct Held {
        HANDLE process;
        DWORD processId;
        bool started;
    };
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    bool started_ = false;
    std::vector<Held> parents_;  // the programs child() left, innermost last
};

// Texts: WM_GETTEXT, so that controls of another program answer with their
// current contents.
std::string windowText(HWND window);
std::string windowClass(HWND window);

// The child controls of a window in their Z order, which for a dialog is the
// order of its template.
std::vector<ControlInfo> controls(HWND window);

// The operations on one control of window, by identifier. Each fails with a
// message when the control is missing; click and select also when it is
// hidden or disabled, as the user could not press it either.
bool controlText(HWND window, unsigned id, std::string* text, std::string* error);
// Push buttons: WM_COMMAND with BN_CLICKED to their parent, exactly what a
// click sends. Other buttons (check boxes, radio buttons): BM_CLICK, so that
// they change their state as under a click. Both are posted: a button that
// opens a modal dialog does not block the robot.
bool click(HWND window, unsigned id, std::string* error);
// WM_SETTEXT (an edit control's change notifications follow as for typing).
bool setText(HWND window, unsigned id, const std::string& text, std::string* error);
// Selects the first list box item that begins with text (without regard to
// case) and tells the parent with LBN_SELCHANGE, as a click would. *selected,
// when given, receives the whole text of the item selected.
bool selectItem(HWND window, unsigned id, const std::string& text, std::string* selected, std::string* error);
// Waits until the control shows exactly text.
bool waitText(HWND window, unsigned id, const std::string& text, int timeoutMs, std::string* error);
// Posts WM_COMMAND with id (notification code 0, no control) to window.
bool postCommand(HWND window, unsigned id, std::string* error);
// Waits until window is destroyed or hidden.
bool waitGone(HWND window, int timeoutMs, std::string* error);

// The output format: one line per fact, fields separated by tabs, texts
// escaped so that no field holds a tab or a line break.
std::string escape(const std::string& text);      // \ \t \r \n become \\ \t \r \n
bool unescape(const std::string& text, std::string* result);  // false for a bad escape
// Splits robot.exe's output into lines of unescaped fields (a CR before the LF
// is dropped).
std::vector<std::vector<std::string>> parseOutput(const std::string& output);

// Runs a script of the command language given as words (robot.exe's
// arguments). print receives each output line without its line end. Returns the
// exit status: 0 when every command succeeded, 1 when one failed (after an
// "error" line), 2 for a script that is not understood (nothing is run).
int runScript(const std::vector<std::string>& words, const std::function<void(const std::string&)>& print);

// robot.exe in this build tree, for tests that drive it as a program.
std::string exePath();

// One argument quoted for a Windows command line, so that the program's argv
// gets it back unchanged (quotes and backslashes included).
std::string quoteArgument(const std::string& word);
// The command line that runs robot.exe with these words.
std::string commandLine(const std::vector<std::string>& words);

}  // namespace robot

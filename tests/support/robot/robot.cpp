// robot.exe: drives the windows of a program under test from a script given on
// its command line. Commands are separated by a ";" argument and run in order:
//
//   robot.exe start "C:\kit\setup.exe -i" C:\kit ; wait-window class=#32770 caption=Error ;
//             print-texts ; click 1 ; wait-exit
//
// Commands (<ms> is a timeout in milliseconds, 10000 when not given):
//   start <command line> [<folder>]   start a program (in folder); prints "started <pid>"
//   attach <pid>                      take a running program; prints "attached <pid>"
//   child <file name> [timeout=<ms>]  wait for a program the current one started and make
//                                     it the current program; prints "child <pid>"
//   parent                            back to the program that started it; prints "parent <pid>"
//   wait-window [class=<c>] [caption=<t>] [timeout=<ms>]
//                                     wait for a visible top-level window of the program
//                                     (class without regard to case, caption exactly) and
//                                     make it the current window; prints "window <class> <caption>"
//   windows                           a "window" line for each visible top-level window,
//                                     topmost first (does not change the current window)
//   print-texts                       a "control <id> <class> <state> <text>" line for each
//                                     control of the current window, in template order;
//                                     state is visible|hidden,enabled|disabled[,checked]
//   print-text <id>                   prints "text <id> <text>"
//   wait-text <id> <text> [timeout=<ms>]
//                                     wait until the control shows exactly text; prints "text <id> <text>"
//   set-text <id> <text>              WM_SETTEXT; prints "set-text <id>"
//   select <id> <text>                select the first list item beginning with text;
//                                     prints "selected <id> <item>"
//   click <id>                        press a button (refused when missing, hidden or
//                                     disabled); prints "clicked <id>"
//   command <id>                      post WM_COMMAND <id> to the current window; prints "command <id>"
//   wait-gone [<ms>|timeout=<ms>]     wait until the current window is destroyed or hidden;
//                                     prints "gone"
//   wait-exit [<ms>|timeout=<ms>]     wait for the program's end; prints "exit <code>" (signed)
//   kill                              end the program; prints "killed"
//
// Output: one line per fact, its fields separated by one tab, lines ended by LF.
// Texts are escaped: a backslash, tab, CR and LF are written as \\, \t, \r and \n
// (printf '%b' undoes it). Text arguments (class=, caption=, wait-text, set-text,
// select) are written the same way, and an unknown escape is an error; the
// arguments of start and attach are taken literally.
//
// Exit status: 0 when every command succeeded; 1 when one failed, after a line
// "error <message>"; 2 when the script is not understood (nothing is run then).
// A program the robot started is ended (exit code 255) when the robot ends while
// it still runs, so that a failed script leaves no window waiting.
#include "robot.h"

#include <tlhelp32.h>

#include "test_support.h"

#include <cstdlib>
#include <cstring>

namespace robot {

namespace {

// How long a control of another program may take to answer one message.
constexpr UINT kAnswerTimeoutMs = 5000;
// The pause between two looks at the window tree.
constexpr DWORD kPollMs = 20;

class Deadline {
public:
    explicit Deadline(int timeoutMs) : start_(GetTickCount()), timeout_(static_cast<DWORD>(timeoutMs)) {}
    bool passed() const { return GetTickCount() - start_ >= timeout_; }

private:
    DWORD start_;
    DWORD timeout_;
};

bool fail(std::string* error, const std::string& message) {
    if (error)
        *error = message;
    return false;
}

std::string number(unsigned value) { return std::to_string(value); }

bool sendWithTimeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR* result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs,
                             &answer))
        return false;
    if (result)
        *result = answer;
    return true;
}

// A Unicode text in the ANSI code page, as the programs under test see it.
std::string narrow(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return "";
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], size, nullptr, nullptr);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

// The control, or a message saying why it cannot be used.
HWND findControl(HWND window, unsigned id, bool mustBeUsable, std::string* error) {
    if (!window || !IsWindow(window)) {
        fail(error, "no current window");
        return nullptr;
    }
    HWND control = GetDlgItem(window, static_cast<int>(id));
    if (!control) {
        fail(error, "no control " + number(id));
        return nullptr;
    }
    if (mustBeUsable && !(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE)) {
        fail(error, "control " + number(id) + " is hidden");
        return nullptr;
    }
    if (mustBeUsable && !IsWindowEnabled(control)) {
        fail(error, "control " + number(id) + " is disabled");
        return nullptr;
    }
    return control;
}

bool matches(HWND window, const WindowQuery& query) {
    if (query.className && lstrcmpiA(windowClass(window).c_str(), query.className->c_str()) != 0)
        return false;
    if (query.caption && windowText(window) != *query.caption)
        return false;
    return true;
}

std::string describe(const WindowQuery& query) {
    std::string text = "a window";
    if (query.className)
        text += " of class \"" + *query.className + "\"";
    if (query.caption)
        text += " captioned \"" + *query.caption + "\"";
    return text;
}

}  // namespace

Robot::~Robot() {
    if (process_)
        parents_.push_back({process_, processId_, started_});
    for (const Held& held : parents_) {
        if (held.started && WaitForSingleObject(held.process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(held.process, 255);
            WaitForSingleObject(held.process, 5000);
        }
        CloseHandle(held.process);
    }
}

bool Robot::child(const std::string& fileName, int timeoutMs, std::string* error) {
    if (!process_)
        return fail(error, "no program: start or attach first");
    Deadline deadline(timeoutMs);
    for (;;) {
        DWORD found = 0;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32 entry = {};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
                const char* base = std::strrchr(entry.szExeFile, '\\');
                base = base ? base + 1 : entry.szExeFile;
                if (entry.th32ParentProcessID == processId_ && lstrcmpiA(base, fileName.c_str()) == 0)
                    found = entry.th32ProcessID;
            }
            CloseHandle(snapshot);
        }
        if (found) {
            HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, found);
            if (!process)
                return fail(error, "cannot open process " + number(found) + " (error " + number(GetLastError()) + ")");
            parents_.push_back({process_, processId_, started_});
            process_ = process;
            processId_ = found;
            started_ = false;
            return true;
        }
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0)
            return fail(error, "the program ended without starting " + fileName);
        if (deadline.passed())
            return fail(error, "timed out waiting for the program to start " + fileName);
        Sleep(50);
    }
}

bool Robot::parent(std::string* error) {
    if (parents_.empty())
        return fail(error, "no parent: use child first");
    CloseHandle(process_);
    process_ = parents_.back().process;
    processId_ = parents_.back().processId;
    started_ = parents_.back().started;
    parents_.pop_back();
    return true;
}

bool Robot::start(const std::string& commandLine, const std::string& workingDir, std::string* error) {
    if (process_)
        return fail(error, "a program is already started or attached");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info))
        return fail(error, "cannot start " + commandLine + " (error " + number(GetLastError()) + ")");
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    started_ = true;
    return true;
}

bool Robot::attach(DWORD processId, std::string* error) {
    if (process_)
        return fail(error, "a program is already started or attached");
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    if (!process_)
        return fail(error, "no process " + number(processId) + " (error " + number(GetLastError()) + ")");
    processId_ = processId;
    started_ = false;
    return true;
}

std::vector<HWND> Robot::windows() const {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId_, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->processId && IsWindowVisible(window))
                search->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Robot::waitWindow(const WindowQuery& query, int timeoutMs, std::string* error) {
    if (!process_) {
        fail(error, "no program: start or attach first");
        return nullptr;
    }
    Deadline deadline(timeoutMs);
    for (;;) {
        for (HWND window : windows())
            if (matches(window, query))
                return window;
        if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process_, &code);
            fail(error, "the program ended with exit code " + std::to_string(static_cast<int>(code)) +
                            " while waiting for " + describe(query));
            return nullptr;
        }
        if (deadline.passed()) {
            std::string seen;
            for (HWND window : windows())
                seen += (seen.empty() ? "" : ", ") + windowClass(window) + " \"" + windowText(window) + "\"";
            fail(error, "timed out waiting for " + describe(query) + "; visible: " + (seen.empty() ? "none" : seen));
            return nullptr;
        }
        // Wakes early when the program ends.
        WaitForSingleObject(process_, kPollMs);
    }
}

bool Robot::waitExit(int timeoutMs, int* exitCode, std::string* error) {
    if (!process_)
        return fail(error, "no program: start or attach first");
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return fail(error, "timed out waiting for the program to end");
    DWORD code = 0;
    if (!GetExitCodeProcess(process_, &code))
        return fail(error, "cannot read the exit code (error " + number(GetLastError()) + ")");
    *exitCode = static_cast<int>(code);
    return true;
}

bool Robot::kill(std::string* error) {
    if (!process_)
        return fail(error, "no program: start or attach first");
    if (!TerminateProcess(process_, 255) && WaitForSingleObject(process_, 0) != WAIT_OBJECT_0)
        return fail(error, "cannot end the program (error " + number(GetLastError()) + ")");
    WaitForSingleObject(process_, 5000);
    return true;
}

std::string windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!sendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &length)) {
        // A program that does not answer: the text the system keeps.
        char text[1024] = "";
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    // The length may be given in wide characters; room for a double-byte text.
    std::string buffer(length * 2 + 2, '\0');
    DWORD_PTR copied = 0;
    if (!sendWithTimeout(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), &copied))
        return "";
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

std::string windowClass(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<ControlInfo> controls(HWND window) {
    std::vector<ControlInfo> found;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlInfo info;
        info.id = static_cast<unsigned>(GetDlgCtrlID(child)) & 0xFFFF;
        info.className = windowClass(child);
        info.text = windowText(child);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        info.visible = (style & WS_VISIBLE) != 0;
        info.enabled = IsWindowEnabled(child) != FALSE;
        if (lstrcmpiA(info.className.c_str(), "Button") == 0) {
            DWORD_PTR state = 0;
            info.checked = sendWithTimeout(child, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
        }
        found.push_back(std::move(info));
    }
    return found;
}

bool controlText(HWND window, unsigned id, std::string* text, std::string* error) {
    HWND control = findControl(window, id, false, error);
    if (!control)
        return false;
    *text = windowText(control);
    return true;
}

bool click(HWND window, unsigned id, std::string* error) {
    HWND control = findControl(window, id, true, error);
    if (!control)
        return false;
    LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    bool pushButton = lstrcmpiA(windowClass(control).c_str(), "Button") == 0 &&
                      (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
    BOOL posted = pushButton ? PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                            reinterpret_cast<LPARAM>(control))
                             : PostMessageA(control, BM_CLICK, 0, 0);
    if (!posted)
        return fail(error, "cannot press control " + number(id) + " (error " + number(GetLastError()) + ")");
    return true;
}

bool setText(HWND window, unsigned id, const std::string& text, std::string* error) {
    HWND control = findControl(window, id, false, error);
    if (!control)
        return false;
    DWORD_PTR result = 0;
    if (!sendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &result) || !result)
        return fail(error, "control " + number(id) + " did not take the text");
    return true;
}

bool selectItem(HWND window, unsigned id, const std::string& text, std::string* selected, std::string* error) {
    HWND control = findControl(window, id, true, error);
    if (!control)
        return false;
    DWORD_PTR index = 0;
    if (!sendWithTimeout(control, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()),
                         &index) ||
        static_cast<LRESULT>(index) == LB_ERR)
        return fail(error, "no item of list " + number(id) + " begins with \"" + text + "\"");
    PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    if (selected) {
        DWORD_PTR length = 0;
        selected->clear();
        // In Unicode: Wine cuts an ANSI LB_GETTEXT from another process after the
        // first character.
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutW(control, LB_GETTEXTLEN, index, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs,
                                &length) &&
            static_cast<LRESULT>(length) != LB_ERR) {
            std::wstring buffer(length + 1, L'\0');
            if (SendMessageTimeoutW(control, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&buffer[0]),
                                    SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &copied) &&
                static_cast<LRESULT>(copied) != LB_ERR)
                *selected = narrow(buffer.c_str());
        }
    }
    return true;
}

bool waitText(HWND window, unsigned id, const std::string& text, int timeoutMs, std::string* error) {
    Deadline deadline(timeoutMs);
    std::string current;
    for (;;) {
        if (!controlText(window, id, &current, error))
            return false;
        if (current == text)
            return true;
        if (deadline.passed())
            return fail(error, "timed out waiting for control " + number(id) + " to show \"" + text +
                                   "\"; it shows \"" + current + "\"");
        Sleep(kPollMs);
    }
}

bool postCommand(HWND window, unsigned id, std::string* error) {
    if (!window || !IsWindow(window))
        return fail(error, "no current window");
    if (!PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0))
        return fail(error, "cannot post command " + number(id) + " (error " + number(GetLastError()) + ")");
    return true;
}

bool waitGone(HWND window, int timeoutMs, std::string* error) {
    Deadline deadline(timeoutMs);
    while (window && IsWindow(window) && IsWindowVisible(window)) {
        if (deadline.passed())
            return fail(error, "timed out waiting for the window to go");
        Sleep(kPollMs);
    }
    return true;
}

std::string escape(const std::string& text) {
    std::string result;
    for (char c : text) {
        switch (c) {
        case '\\': result += "\\\\"; break;
        case '\t': result += "\\t"; break;
        case '\r': result += "\\r"; break;
        case '\n': result += "\\n"; break;
        default: result += c;
        }
    }
    return result;
}

bool unescape(const std::string& text, std::string* result) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\': plain += '\\'; break;
        case 't': plain += '\t'; break;
        case 'r': plain += '\r'; break;
        case 'n': plain += '\n'; break;
        default: return false;
        }
    }
    *result = std::move(plain);
    return true;
}

std::vector<std::vector<std::string>> parseOutput(const std::string& output) {
    std::vector<std::vector<std::string>> lines;
    size_t begin = 0;
    while (begin < output.size()) {
        size_t end = output.find('\n', begin);
        std::string line = output.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        begin = end == std::string::npos ? output.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> fields;
        size_t start = 0;
        for (;;) {
            size_t tab = line.find('\t', start);
            std::string field = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            std::string plain;
            fields.push_back(unescape(field, &plain) ? plain : field);
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        lines.push_back(std::move(fields));
    }
    return lines;
}

std::string exePath() { return zrtest::binaryPath("tests/support/robot/robot.exe"); }

std::string quoteArgument(const std::string& word) {
    // The rules of the C run-time's argument parser: backslashes are literal
    // unless they precede a double quote, where each counts double.
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string commandLine(const std::vector<std::string>& words) {
    std::string line = quoteArgument(exePath());
    for (const std::string& word : words)
        line += " " + quoteArgument(word);
    return line;
}

// The command language.
namespace {

struct Step {
    std::string name;
    std::vector<std::string> positional;  // unescaped where the command takes texts
    std::optional<std::string> className, caption;
    int timeoutMs = kDefaultTimeoutMs;
    unsigned id = 0;
    DWORD pid = 0;
};

bool parseNumber(const std::string& text, unsigned long* value) {
    if (text.empty() || text.size() > 10)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    *value = std::strtoul(text.c_str(), nullptr, 10);
    return true;
}

// Parses one command's words into step; false with a message when it is not
// understood.
bool parseStep(const std::vector<std::string>& words, Step* step, std::string* error) {
    step->name = words[0];
    const std::string& name = step->name;
    std::vector<std::string> args(words.begin() + 1, words.end());

    auto text = [&](const std::string& word, std::string* out) {
        if (!unescape(word, out))
            return fail(error, name + ": bad escape in \"" + word + "\"");
        return true;
    };
    auto timeout = [&](const std::string& value) {
        unsigned long ms = 0;
        if (!parseNumber(value, &ms) || ms > 0x7FFFFFFF)
            return fail(error, name + ": bad timeout \"" + value + "\"");
        step->timeoutMs = static_cast<int>(ms);
        return true;
    };
    auto id = [&](const std::string& value) {
        unsigned long number = 0;
        if (!parseNumber(value, &number) || number > 0xFFFF)
            return fail(error, name + ": bad control id \"" + value + "\"");
        step->id = static_cast<unsigned>(number);
        return true;
    };
    auto count = [&](size_t least, size_t most) {
        if (args.size() < least || args.size() > most)
            return fail(error, name + ": wrong number of arguments");
        return true;
    };
    // Trailing key=value options; returns the number of leading plain words.
    auto options = [&](bool allowQuery, size_t* plain) {
        size_t n = args.size();
        while (n > 0) {
            const std::string& word = args[n - 1];
            size_t equals = word.find('=');
            if (equals == std::string::npos)
                break;
            std::string key = word.substr(0, equals), value = word.substr(equals + 1);
            std::string unescaped;
            if (key == "timeout") {
                if (!timeout(value))
                    return false;
            } else if (allowQuery && key == "class") {
                if (!text(value, &unescaped))
                    return false;
                step->className = unescaped;
            } else if (allowQuery && key == "caption") {
                if (!text(value, &unescaped))
                    return false;
                step->caption = unescaped;
            } else {
                break;  // a plain word that holds '='
            }
            --n;
        }
        *plain = n;
        return true;
    };

    size_t plain = 0;
    if (name == "start") {
        if (!count(1, 2))
            return false;
        step->positional = args;  // literal
        return true;
    }
    if (name == "attach") {
        unsigned long pid = 0;
        if (!count(1, 1) || !parseNumber(args[0], &pid))
            return fail(error, "attach: needs a process id");
        step->pid = static_cast<DWORD>(pid);
        return true;
    }
    if (name == "child") {
        if (!options(false, &plain))
            return false;
        if (plain != 1)
            return fail(error, "child: needs a program file name");
        step->positional = {args[0]};  // literal
        return true;
    }
    if (name == "parent")
        return count(0, 0);
    if (name == "wait-window") {
        if (!options(true, &plain))
            return false;
        if (plain != 0)
            return fail(error, "wait-window: unknown argument \"" + args[0] + "\"");
        return true;
    }
    if (name == "windows" || name == "print-texts" || name == "kill")
        return count(0, 0);
    if (name == "print-text" || name == "click" || name == "command")
        return count(1, 1) && id(args[0]);
    if (name == "wait-text" || name == "set-text" || name == "select") {
        if (!options(false, &plain))
            return false;
        if (name != "wait-text" && plain != args.size())
            return fail(error, name + ": takes no timeout");
        if (plain != 2)
            return fail(error, name + ": needs a control id and a text");
        std::string value;
        if (!id(args[0]) || !text(args[1], &value))
            return false;
        step->positional = {value};
        return true;
    }
    if (name == "wait-gone" || name == "wait-exit") {
        if (!options(false, &plain))
            return false;
        if (plain > 1)
            return fail(error, name + ": wrong number of arguments");
        return plain == 0 || timeout(args[0]);
    }
    return fail(error, "unknown command \"" + name + "\"");
}

std::string windowLine(HWND window) { return "window\t" + escape(windowClass(window)) + "\t" + escape(windowText(window)); }

std::string stateOf(const ControlInfo& control) {
    std::string state = control.visible ? "visible" : "hidden";
    state += control.enabled ? ",enabled" : ",disabled";
    if (control.checked)
        state += ",checked";
    return state;
}

}  // namespace

int runScript(const std::vector<std::string>& words, const std::function<void(const std::string&)>& print) {
    // Understand the whole script before doing anything.
    std::vector<Step> steps;
    std::vector<std::string> current;
    std::string error;
    for (size_t i = 0; i <= words.size(); ++i) {
        if (i < words.size() && words[i] != ";") {
            current.push_back(words[i]);
            continue;
        }
        if (current.empty()) {
            if (i < words.size() || steps.empty()) {
                print("error\t" + escape("empty command"));
                return 2;
            }
            continue;
        }
        Step step;
        if (!parseStep(current, &step, &error)) {
            print("error\t" + escape(error));
            return 2;
        }
        steps.push_back(std::move(step));
        current.clear();
    }

    Robot robot;
    HWND window = nullptr;
    for (const Step& step : steps) {
        const std::string& name = step.name;
        bool ok = true;
        if (name == "start") {
            ok = robot.start(step.positional[0], step.positional.size() > 1 ? step.positional[1] : "", &error);
            if (ok)
                print("started\t" + number(robot.processId()));
        } else if (name == "attach") {
            ok = robot.attach(step.pid, &error);
            if (ok)
                print("attached\t" + number(robot.processId()));
        } else if (name == "child") {
            ok = robot.child(step.positional[0], step.timeoutMs, &error);
            if (ok)
                print("child\t" + number(robot.processId()));
        } else if (name == "parent") {
            ok = robot.parent(&error);
            if (ok)
                print("parent\t" + number(robot.processId()));
        } else if (name == "wait-window") {
            window = robot.waitWindow(WindowQuery{step.className, step.caption}, step.timeoutMs, &error);
            ok = window != nullptr;
            if (ok)
                print(windowLine(window));
        } else if (name == "windows") {
            ok = robot.hasProcess();
            if (!ok)
                error = "no program: start or attach first";
            else
                for (HWND each : robot.windows())
                    print(windowLine(each));
        } else if (name == "print-texts") {
            ok = window && IsWindow(window);
            if (!ok)
                error = "no current window";
            else
                for (const ControlInfo& control : controls(window))
                    print("control\t" + number(control.id) + "\t" + escape(control.className) + "\t" +
                          stateOf(control) + "\t" + escape(control.text));
        } else if (name == "print-text") {
            std::string text;
            ok = controlText(window, step.id, &text, &error);
            if (ok)
                print("text\t" + number(step.id) + "\t" + escape(text));
        } else if (name == "wait-text") {
            ok = waitText(window, step.id, step.positional[0], step.timeoutMs, &error);
            if (ok)
                print("text\t" + number(step.id) + "\t" + escape(step.positional[0]));
        } else if (name == "set-text") {
            ok = setText(window, step.id, step.positional[0], &error);
            if (ok)
                print("set-text\t" + number(step.id));
        } else if (name == "select") {
            std::string item;
            ok = selectItem(window, step.id, step.positional[0], &item, &error);
            if (ok)
                print("selected\t" + number(step.id) + "\t" + escape(item));
        } else if (name == "click") {
            ok = click(window, step.id, &error);
            if (ok)
                print("clicked\t" + number(step.id));
        } else if (name == "command") {
            ok = postCommand(window, step.id, &error);
            if (ok)
                print("command\t" + number(step.id));
        } else if (name == "wait-gone") {
            ok = waitGone(window, step.timeoutMs, &error);
            if (ok)
                print("gone");
        } else if (name == "wait-exit") {
            int code = 0;
            ok = robot.waitExit(step.timeoutMs, &code, &error);
            if (ok)
                print("exit\t" + std::to_string(code));
        } else if (name == "kill") {
            ok = robot.kill(&error);
            if (ok)
                print("killed");
        }
        if (!ok) {
            print("error\t" + escape(name + ": " + error));
            return 1;
        }
    }
    return 0;
}

}  // namespace robot

// The dialog half of the framework: modal dialogs from a resource template,
// the handler's lifetime, the dialog procedure's rules and dialog controls.
// Every dialog here ends itself (posted commands, timers); no one clicks.
#include "errors.h"
#include "framework_test_ids.h"
#include "window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

HINSTANCE instance() { return GetModuleHandleA(nullptr); }

// What the handlers saw, kept by the test (the factory's pointer).
struct Log {
    std::vector<std::string> events;
    void add(const std::string& event) { events.push_back(event); }
};

// Posts a command to itself on initialisation, answers it with a timer, and
// ends with command 1028 when the timer has pressed Next.
class LifecycleHandler : public DialogHandler {
public:
    LifecycleHandler(HWND, Log* log) : DialogHandler(log), log_(log) { log_->add("construct"); }
    ~LifecycleHandler() override { log_->add("delete"); }

    bool onInitDialog(HWND dialog) override {
        bool bound = GetWindowLongPtrA(dialog, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this);
        log_->add(bound ? "init, bound" : "init, not bound");
        PostMessageA(dialog, WM_USER + 7, MAKEWPARAM(1045, 3), 0);
        return true;
    }
    bool onCommand(HWND dialog, unsigned id, unsigned code) override {
        log_->add("command " + std::to_string(id) + " " + std::to_string(code));
        if (id == 1045) {
            SetTimer(dialog, 9, 1, nullptr);
            return true;
        }
        if (id == IDC_NEXT) {
            EndDialog(dialog, 1028);
            return true;
        }
        return false;
    }
    void onTimer(HWND dialog, UINT_PTR timerId) override {
        log_->add("timer " + std::to_string(timerId));
        KillTimer(dialog, timerId);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_NEXT)));
    }
    void onDestroy(HWND) override { log_->add("destroy"); }

private:
    Log* log_;
};

}  // namespace

TEST(RunModalDialog, ReturnsTheEndDialogValueAndTheHandlerLivesFromInitToDestroy) {
    Log log;
    DialogFactoryOf<LifecycleHandler, Log> factory(&log);
    EXPECT_EQ(1028, runModalDialog(instance(), nullptr, IDD_FRAMEWORK_TEST, factory));
    std::vector<std::string> expected = {
        "construct",      // the factory runs inside WM_INITDIALOG
        "init, bound",    // the handler is bound before onInitDialog
        "command 1045 3", // a private message: low and high word of its wparam
        "timer 9",        // WM_TIMER with the timer's identifier
        "command 1003 0", // WM_COMMAND
        "destroy",        // WM_DESTROY, then
        "delete",         // the handler is deleted
    };
    EXPECT_EQ(expected, log.events);
}

TEST(RunModalDialog, MissingTemplateGivesMinusOneWithoutHandler) {
    Log log;
    DialogFactoryOf<LifecycleHandler, Log> factory(&log);
    EXPECT_EQ(-1, runModalDialog(instance(), nullptr, 4711, factory));
    EXPECT_TRUE(log.events.empty());
}

namespace {

class FailingInitHandler : public DialogHandler {
public:
    FailingInitHandler(HWND, Log* log) : DialogHandler(log), log_(log) {}
    ~FailingInitHandler() override { log_->add("delete"); }
    bool onInitDialog(HWND) override { throw FileException("licence.txt", 2); }
    bool onCommand(HWND, unsigned, unsigned) override { return false; }

private:
    Log* log_;
};

}  // namespace

TEST(RunModalDialog, ExceptionOfTheHandlerEndsTheDialogAndReachesTheCaller) {
    Log log;
    DialogFactoryOf<FailingInitHandler, Log> factory(&log);
    try {
        runModalDialog(instance(), nullptr, IDD_FRAMEWORK_TEST, factory);
        FAIL() << "runModalDialog returned";
    } catch (const FileException& e) {
        EXPECT_EQ("licence.txt", e.fileName());
    }
    EXPECT_EQ(std::vector<std::string>{"delete"}, log.events);  // still deleted with its dialog
}

namespace {

// Stands in for a control that draws and colours itself: answers the messages
// the dialog procedure passes on with a value of its own.
LRESULT CALLBACK selfDrawingControl(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        return 0x1234;
    case WM_DRAWITEM:
        return 0x55;
    case WM_MEASUREITEM:
        return 0x66;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

struct ProcedureRow {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    INT_PTR result;
    const char* why;
};

// Calls the framework's dialog procedure directly, with its own live dialog,
// and compares each answer.
class ProcedureHandler : public DialogHandler {
public:
    ProcedureHandler(HWND, Log* log) : DialogHandler(log), log_(log) {}

    bool onInitDialog(HWND dialog) override {
        HWND label = GetDlgItem(dialog, IDC_LABEL);
        SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(selfDrawingControl));
        DRAWITEMSTRUCT draw = {};
        draw.CtlID = IDC_LABEL;
        MEASUREITEMSTRUCT measure = {};
        measure.CtlID = IDC_LABEL;
        NMHDR header = {dialog, 1, 0};
        const ProcedureRow rows[] = {
            {WM_USER + 5, MAKEWPARAM(77, 9), 0, TRUE, "private message the handler takes"},
            {WM_USER + 5, MAKEWPARAM(78, 0), 0, FALSE, "private message the handler leaves"},
            {WM_APP, MAKEWPARAM(77, 0), 0, TRUE, "the private range goes on past WM_APP"},
            {WM_COMMAND, MAKEWPARAM(77, BN_CLICKED), 0, TRUE, "command the handler takes"},
            {WM_COMMAND, MAKEWPARAM(78, 0), 0, FALSE, "command the handler leaves"},
            {WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header), FALSE, "the default onNotify leaves it"},
            {WM_TIMER, 4, 0, TRUE, "timers are always handled"},
            {WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(label), 0x1234, "the static's own answer"},
            {WM_DRAWITEM, IDC_LABEL, reinterpret_cast<LPARAM>(&draw), 0x55, "the control's own answer"},
            {WM_MEASUREITEM, IDC_LABEL, reinterpret_cast<LPARAM>(&measure), 0x66, "the control's own answer"},
            {WM_MOVE, 0, 0, FALSE, "anything else"},
        };
        for (const ProcedureRow& row : rows)
            EXPECT_EQ(row.result, dialogProcedure(dialog, row.message, row.wparam, row.lparam)) << row.why;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    bool onCommand(HWND dialog, unsigned id, unsigned code) override {
        log_->add("command " + std::to_string(id) + " " + std::to_string(code));
        if (id == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return id == 77 || id == IDCANCEL;
    }
    void onTimer(HWND, UINT_PTR timerId) override { log_->add("timer " + std::to_string(timerId)); }

private:
    Log* log_;
};

}  // namespace

TEST(DialogProcedure, AnswersFollowTheHandler) {
    Log log;
    DialogFactoryOf<ProcedureHandler, Log> factory(&log);
    EXPECT_EQ(IDCANCEL, runModalDialog(instance(), nullptr, IDD_FRAMEWORK_TEST, factory));
    std::vector<std::string> expected = {
        "command 77 9", "command 78 0", "command 77 0", "command 77 0", "command 78 0", "timer 4", "command 2 0",
    };
    EXPECT_EQ(expected, log.events);
}

TEST(DialogProcedure, WithoutHandlerOnlyTimersAreHandled) {
    // A plain window has no handler in its user data.
    HWND plain = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance(), nullptr);
    ASSERT_NE(nullptr, plain);
    DRAWITEMSTRUCT draw = {};
    draw.CtlID = IDC_LABEL;
    const ProcedureRow rows[] = {
        {WM_USER + 5, MAKEWPARAM(77, 0), 0, FALSE, "private message"},
        {WM_COMMAND, MAKEWPARAM(77, 0), 0, FALSE, "command"},
        {WM_TIMER, 4, 0, TRUE, "timer"},
        {WM_DRAWITEM, IDC_LABEL, reinterpret_cast<LPARAM>(&draw), FALSE, "owner drawing"},
        {WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(plain), FALSE, "static colours"},
        {WM_DESTROY, 0, 0, FALSE, "destruction"},
    };
    for (const ProcedureRow& row : rows)
        EXPECT_EQ(row.result, dialogProcedure(plain, row.message, row.wparam, row.lparam)) << row.why;
    DestroyWindow(plain);
}

namespace {

// Exercises the controls inside onInitDialog, then cancels.
class ControlsHandler : public DialogHandler {
public:
    ControlsHandler(HWND dialog, Log* log)
        : DialogHandler(log),
          log_(log),
          edit_(dialog, IDC_EDIT, true),
          list_(dialog, IDC_LIST, true),
          check_(dialog, IDC_CHECK, true),
          next_(dialog, IDC_NEXT, false) {}

    bool onInitDialog(HWND dialog) override {
        log_->add("init");
        // Constructed with enabled false: disabled at once.
        EXPECT_FALSE(IsWindowEnabled(next_.handle()));
        next_.enable();
        EXPECT_TRUE(IsWindowEnabled(next_.handle()));

        edit_.setText("C:\\Program Files\\Sample");
        EXPECT_EQ("C:\\Program Files\\Sample", edit_.text());
        EXPECT_EQ(23, edit_.textLength());
        std::string longText(600, 'x');
        edit_.setText(longText);
        EXPECT_EQ(600, edit_.textLength());
        EXPECT_EQ(std::string(511, 'x'), edit_.text());  // at most 511 characters

        for (const char* name : {"English", "Deutsch", "Espanol"})
            list_.addString(name);
        std::string selected = "untouched";
        struct Row {
            const char* search;
            bool found;
            const char* selected;  // selection afterwards
        } rows[] = {
            {"fr", false, ""},            // no item begins with it: still no selection
            {"ENG", true, "English"},     // case does not matter
            {"es", true, "Espanol"},      // a prefix, not a whole name
            {"d", true, "Deutsch"},       // one letter is a prefix too
            {"Englisch", false, "Deutsch"},  // longer than the item: no match, selection kept
        };
        for (const Row& row : rows) {
            EXPECT_EQ(row.found, list_.selectString(row.search)) << row.search;
            EXPECT_EQ(row.selected[0] != '\0', list_.selectedText(&selected)) << row.search;
            EXPECT_EQ(row.selected, selected) << row.search;
        }

        check_.setChecked(true);
        EXPECT_TRUE(check_.isChecked());
        check_.setChecked(false);
        EXPECT_FALSE(check_.isChecked());

        check_.hide();
        EXPECT_FALSE(GetWindowLongPtrA(check_.handle(), GWL_STYLE) & WS_VISIBLE);
        check_.show();
        EXPECT_TRUE(GetWindowLongPtrA(check_.handle(), GWL_STYLE) & WS_VISIBLE);

        setCaption(dialog, "Controls");
        char caption[32] = "";
        GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ("Controls", caption);

        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    bool onCommand(HWND dialog, unsigned id, unsigned) override {
        if (id != IDCANCEL)
            return false;  // the edit's change notifications
        EndDialog(dialog, IDCANCEL);
        return true;
    }

private:
    Log* log_;
    DialogControl edit_, list_, check_, next_;
};

}  // namespace

TEST(DialogControl, OperationsReachTheirControls) {
    Log log;
    DialogFactoryOf<ControlsHandler, Log> factory(&log);
    EXPECT_EQ(IDCANCEL, runModalDialog(instance(), nullptr, IDD_FRAMEWORK_TEST, factory));
    EXPECT_EQ(std::vector<std::string>{"init"}, log.events);  // the checks above ran
}

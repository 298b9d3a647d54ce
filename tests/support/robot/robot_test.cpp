// The robot against robot_target: a message box and a dialog, driven through
// the library and through robot.exe's command language.
#include "robot.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string target() { return "\"" + zrtest::platformPath(ZR_ROBOT_TARGET) + "\""; }

using Lines = std::vector<std::vector<std::string>>;

// Runs robot.exe with the words of a script; its exit status and parsed output.
struct ScriptRun {
    int status;
    Lines lines;
};
ScriptRun runRobot(const std::vector<std::string>& words) {
    zrtest::ProcessResult run = zrtest::runProcess(robot::commandLine(words), "", 60000);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    return {run.exitCode, robot::parseOutput(run.output)};
}

// The first output line whose first field is kind, or an empty line.
std::vector<std::string> lineOf(const Lines& lines, const std::string& kind) {
    for (const auto& line : lines)
        if (!line.empty() && line[0] == kind)
            return line;
    return {};
}

bool processEnded(DWORD processId) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return true;  // gone already
    bool ended = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

}  // namespace

TEST(Robot, FindsAMessageBoxReadsItsTextAndPressesOk) {
    robot::Robot robot;
    std::string error;
    ASSERT_TRUE(robot.start(target() + " msgbox \"Robot Caption\" \"First line\\nSecond line\"", "", &error))
        << error;
    HWND box = robot.waitWindow({std::string("#32770"), std::string("Robot Caption")}, robot::kDefaultTimeoutMs,
                                &error);
    ASSERT_NE(nullptr, box) << error;
    EXPECT_EQ("Robot Caption", robot::windowText(box));

    std::string text;
    ASSERT_TRUE(robot::controlText(box, 0xFFFF, &text, &error)) << error;
    EXPECT_EQ("First line\nSecond line", text);

    ASSERT_TRUE(robot::click(box, IDOK, &error)) << error;
    int exitCode = 0;
    ASSERT_TRUE(robot.waitExit(robot::kDefaultTimeoutMs, &exitCode, &error)) << error;
    EXPECT_EQ(IDOK, exitCode);
}

TEST(Robot, ReadsAndDrivesDialogControlsById) {
    robot::Robot robot;
    std::string error;
    ASSERT_TRUE(robot.start(target() + " dialog", "", &error)) << error;
    HWND dialog = robot.waitWindow({std::nullopt, std::string("Robot Dialog")}, robot::kDefaultTimeoutMs, &error);
    ASSERT_NE(nullptr, dialog) << error;
    EXPECT_EQ("#32770", robot::windowClass(dialog));

    std::vector<robot::ControlInfo> controls = robot::controls(dialog);
    ASSERT_EQ(8u, controls.size());
    EXPECT_EQ(1009u, controls[0].id);  // template order
    EXPECT_EQ("Nothing applied", controls[0].text);
    EXPECT_EQ(1005u, controls[1].id);
    EXPECT_EQ("Edit", controls[1].className);
    EXPECT_EQ("C:\\Program Files\\Robot", controls[1].text);
    EXPECT_EQ(1004u, controls[4].id);
    EXPECT_FALSE(controls[4].enabled);
    EXPECT_TRUE(controls[4].visible);

    // What the user cannot press, the robot refuses.
    EXPECT_FALSE(robot::click(dialog, 1004, &error));
    EXPECT_EQ("control 1004 is disabled", error);
    EXPECT_FALSE(robot::click(dialog, 4242, &error));
    EXPECT_EQ("no control 4242", error);

    std::string selected;
    ASSERT_TRUE(robot::setText(dialog, 1005, "D:\\Tools", &error)) << error;
    ASSERT_TRUE(robot::selectItem(dialog, 1017, "be", &selected, &error)) << error;
    EXPECT_EQ("Beta", selected);
    ASSERT_TRUE(robot::click(dialog, 1020, &error)) << error;  // the check box
    ASSERT_TRUE(robot::click(dialog, 1003, &error)) << error;  // Apply
    EXPECT_TRUE(robot::waitText(dialog, 1009, "D:\\Tools|Beta|checked", robot::kDefaultTimeoutMs, &error)) << error;

    ASSERT_TRUE(robot::click(dialog, IDCANCEL, &error)) << error;
    EXPECT_TRUE(robot::waitGone(dialog, robot::kDefaultTimeoutMs, &error)) << error;
    int exitCode = 0;
    ASSERT_TRUE(robot.waitExit(robot::kDefaultTimeoutMs, &exitCode, &error)) << error;
    EXPECT_EQ(IDCANCEL, exitCode);
}

TEST(RobotProgram, ScriptDrivesAMessageBox) {
    ScriptRun run = runRobot({"start", target() + " msgbox \"Robot Caption\" \"Known text\"", ";",      //
                              "wait-window", "class=#32770", "caption=Robot Caption", "timeout=10000", ";",  //
                              "print-texts", ";",                                                           //
                              "click", "1", ";",                                                            //
                              "wait-exit", "10000"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ((std::vector<std::string>{"window", "#32770", "Robot Caption"}), lineOf(run.lines, "window"));
    bool sawText = false;
    for (const auto& line : run.lines)
        if (line.size() == 5 && line[0] == "control" && line[1] == "65535") {
            EXPECT_EQ("Known text", line[4]);
            sawText = true;
        }
    EXPECT_TRUE(sawText) << "no control line for the box's text";
    EXPECT_EQ((std::vector<std::string>{"clicked", "1"}), lineOf(run.lines, "clicked"));
    EXPECT_EQ((std::vector<std::string>{"exit", "1"}), lineOf(run.lines, "exit"));
}

TEST(RobotProgram, ScriptDrivesADialogWithEscapedTexts) {
    ScriptRun run = runRobot({"start", target() + " dialog", ";",              //
                              "wait-window", "caption=Robot Dialog", ";",      //
                              "print-texts", ";",                              //
                              "set-text", "1005", "E:\\\\Data\\ttab", ";",     // a backslash and a tab
                              "select", "1017", "GAM", ";",                    //
                              "click", "1003", ";",                            //
                              "wait-text", "1009", "E:\\\\Data\\ttab|Gamma|unchecked", ";",  //
                              "click", "1", ";",                               //
                              "wait-gone", ";",                                //
                              "wait-exit"});
    EXPECT_EQ(0, run.status) << (run.lines.empty() ? "" : run.lines.back().back());
    bool sawEdit = false, sawLocked = false;
    for (const auto& line : run.lines) {
        if (line.size() != 5 || line[0] != "control")
            continue;
        if (line[1] == "1005") {
            EXPECT_EQ("Edit", line[2]);
            EXPECT_EQ("visible,enabled", line[3]);
            EXPECT_EQ("C:\\Program Files\\Robot", line[4]);  // unescaped by parseOutput
            sawEdit = true;
        }
        if (line[1] == "1004") {
            EXPECT_EQ("visible,disabled", line[3]);
            sawLocked = true;
        }
    }
    EXPECT_TRUE(sawEdit && sawLocked);
    EXPECT_EQ((std::vector<std::string>{"selected", "1017", "Gamma"}), lineOf(run.lines, "selected"));
    EXPECT_EQ((std::vector<std::string>{"text", "1009", "E:\\Data\ttab|Gamma|unchecked"}), lineOf(run.lines, "text"));
    EXPECT_EQ((std::vector<std::string>{"exit", "1"}), lineOf(run.lines, "exit"));
}

TEST(RobotProgram, AttachesToARunningProgram) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = target() + " msgbox Attached Text";
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    CloseHandle(process.hThread);
    std::string pid = std::to_string(process.dwProcessId);
    ScriptRun run = runRobot({"attach", pid, ";", "wait-window", "caption=Attached", ";", "print-text", "65535", ";",
                              "click", "2", ";", "wait-exit"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ((std::vector<std::string>{"attached", pid}), lineOf(run.lines, "attached"));
    EXPECT_EQ((std::vector<std::string>{"text", "65535", "Text"}), lineOf(run.lines, "text"));
    EXPECT_EQ((std::vector<std::string>{"exit", "2"}), lineOf(run.lines, "exit"));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000));
    CloseHandle(process.hProcess);
}

TEST(RobotProgram, DrivesAProgramStartedByTheOneItStarted) {
    // cmd starts the target and waits for it, as a package runs its setup.
    ScriptRun run = runRobot({"start", "cmd.exe /c \"" + target() + " msgbox Child Text\"", ";", "child",
                              "robot_target.exe", ";", "wait-window", "caption=Child", ";", "click", "1", ";",
                              "wait-exit", ";", "parent", ";", "wait-exit"});
    EXPECT_EQ(0, run.status);
    std::vector<std::string> started = lineOf(run.lines, "started"), child = lineOf(run.lines, "child"),
                             parent = lineOf(run.lines, "parent");
    ASSERT_EQ(2u, child.size());
    EXPECT_NE(started, std::vector<std::string>{});
    EXPECT_NE(started[1], child[1]);
    EXPECT_EQ(started[1], parent.at(1));
    EXPECT_FALSE(lineOf(run.lines, "window").empty());

    // A program that ends without starting the child: the wait fails at once.
    ScriptRun none = runRobot({"start", "cmd.exe /c exit 3", ";", "child", "robot_target.exe", "timeout=20000"});
    EXPECT_EQ(1, none.status);
    EXPECT_NE(std::string::npos, lineOf(none.lines, "error").at(1).find("ended without starting"));
}

TEST(RobotProgram, FailuresEndTheScriptWithAReason) {
    // A window that never comes: status 1 after an error line, and the program
    // the robot started does not outlive it.
    ScriptRun missing = runRobot({"start", target() + " dialog", ";", "wait-window", "caption=Robot Dialog", ";",
                                  "wait-window", "caption=No Such Window", "timeout=300", ";", "click", "1"});
    EXPECT_EQ(1, missing.status);
    std::vector<std::string> error = lineOf(missing.lines, "error");
    ASSERT_EQ(2u, error.size());
    EXPECT_EQ(0u, error[1].find("wait-window: timed out waiting for a window captioned \"No Such Window\""))
        << error[1];
    EXPECT_NE(std::string::npos, error[1].find("\"Robot Dialog\"")) << "names what it saw: " << error[1];
    EXPECT_TRUE(lineOf(missing.lines, "clicked").empty());
    std::vector<std::string> started = lineOf(missing.lines, "started");
    ASSERT_EQ(2u, started.size());
    EXPECT_TRUE(processEnded(static_cast<DWORD>(std::stoul(started[1]))));

    // Scripts that are not understood run nothing: status 2.
    const std::vector<std::string> badScripts[] = {
        {"start", target() + " dialog", ";", "jump", "1"},  // unknown command
        {"click", "one"},                                     // an id must be a number
        {"wait-text", "1009", "C:\\Tools"},                   // \T is no escape
        {"wait-window", "title=x"},                           // unknown option
        {},                                                   // nothing at all
    };
    for (const auto& script : badScripts) {
        ScriptRun bad = runRobot(script);
        EXPECT_EQ(2, bad.status);
        EXPECT_TRUE(lineOf(bad.lines, "started").empty());
        EXPECT_FALSE(lineOf(bad.lines, "error").empty());
    }
}

TEST(RobotOutput, EscapesRoundTrip) {
    const std::string texts[] = {"plain", "C:\\Program Files", "tab\there", "line\r\nbreak", "\\n literal", ""};
    for (const std::string& text : texts) {
        std::string escaped = robot::escape(text), back;
        EXPECT_EQ(std::string::npos, escaped.find_first_of("\t\r\n")) << escaped;
        ASSERT_TRUE(robot::unescape(escaped, &back));
        EXPECT_EQ(text, back);
    }
    std::string ignored;
    EXPECT_FALSE(robot::unescape("C:\\Tools", &ignored));  // unknown escape
    EXPECT_FALSE(robot::unescape("ends with \\", &ignored));
    Lines lines = robot::parseOutput("window\t#32770\tA\\tB\r\nexit\t-1\n");
    EXPECT_EQ((Lines{{"window", "#32770", "A\tB"}, {"exit", "-1"}}), lines);
}

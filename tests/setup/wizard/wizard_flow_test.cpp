// The wizard of setup.exe as a user meets it, under Wine, driven by the robot:
// the Finish page and the completion actions, the dry run, leaving during the
// installation through Exit Setup, and the restart question at the end.
#include "holder_process.h"
#include "robot.h"
#include "setup_package.h"
#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

using setuptest::PackageFolder;
using setuptest::clickAndWaitGone;
using setuptest::controlText;
using setuptest::exitCode;
using setuptest::findControl;
using setuptest::kProductHere;
using setuptest::waitWindow;

namespace {

const char kLanguage[] =
    "[PROCESS_DIALOG]\r\nDialog_Title=Installing\r\nCancel=Stop\r\n"
    "[FINISH_DIALOG]\r\nDialog_Title=All Done\r\nStatic1=Installed.\r\nStatic2=Bye.\r\n"
    "Check1=Read it\r\nCheck2=Run it\r\nBack=Back\r\nFinish=Close\r\n"
    "[EXIT_SETUP_DIALOG]\r\nDialog_Title=Leave?\r\nStatic1=Not finished.\r\nStatic2=Really.\r\n"
    "Static3=Leave now?\r\nResume=Stay\r\nExit=Leave\r\n"
    "[STRINGS]\r\n10=Restart\r\n11=Restart Windows now?\r\n";

const char kFinishOnly[] =
    "[GENERAL_INFO]\r\nProductName=Flow\r\n[SYSTEM_REQUIREMENTS]\r\nAnyWindows=Yes\r\n"
    "[DIALOGS]\r\nFinishDialog=Yes\r\n[APPLICATION_FOLDERS]\r\n%AppDir%\r\n"
    "[APPLICATION_FILES]\r\n,AppDir\\a.txt,%AppDir%\\a.txt,0,0\r\n";

std::string markerProbe() { return zrtest::binaryPath("tests/setup/wizard/marker_probe.exe"); }

// The lines of marker.txt, waiting a little for lines still to come.
std::string markerLines(const PackageFolder& package, size_t expectedLines) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text = zrtest::readFile(package.file("marker.txt"));
        if (static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= expectedLines)
            break;
        Sleep(50);
    }
    return text;
}

}  // namespace

TEST(WizardFlow, FinishChoicesOpenTheReadmeThenTheApplicationInItsFolder) {
    PackageFolder package;
    package
        .script(std::string(kProductHere) + kFinishOnly +
                "[FINISH_DIALOG]\r\nShow_ViewReadme_CheckBox=Yes\r\nShow_ViewReadme_Checked=No\r\n"
                "Readme_Pathname=%SetupDir%\\readme_viewer.exe\r\n"
                "Show_RunApplication_CheckBox=true\r\nShow_RunApplication_Checked=1\r\n"
                "Application_Pathname=%SetupDir%\\app.exe\r\n")
        .language("English.dat", kLanguage)
        .archive({{"AppDir\\a.txt", "a"}})
        .copy(markerProbe(), "readme_viewer.exe")
        .copy(markerProbe(), "app.exe");
    robot::Robot robot;
    std::string error;
    ASSERT_TRUE(startSetup(robot, package));
    HWND finish = waitWindow(robot, "All Done");
    ASSERT_TRUE(finish);
    std::vector<robot::ControlInfo> controls = robot::controls(finish);
    const robot::ControlInfo* readme = findControl(controls, 1020);
    const robot::ControlInfo* application = findControl(controls, 1021);
    const robot::ControlInfo* back = findControl(controls, 1000);
    ASSERT_TRUE(readme && application && back);
    EXPECT_EQ("Read it", readme->text);
    EXPECT_TRUE(readme->visible);
    EXPECT_FALSE(readme->checked);  // shown, not ticked
    EXPECT_EQ("Run it", application->text);
    EXPECT_TRUE(application->checked);
    EXPECT_FALSE(back->enabled);  // no way back from the Finish page
    EXPECT_EQ("Installed.", controlText(finish, 1009));
    EXPECT_EQ("Close", controlText(finish, 1018));

    // Cancel does nothing here.
    EXPECT_TRUE(robot::postCommand(finish, IDCANCEL, &error)) << error;
    Sleep(200);
    EXPECT_TRUE(IsWindow(finish));

    EXPECT_TRUE(robot::click(finish, 1020, &error)) << error;  // tick "Read it"
    clickAndWaitGone(finish, 1018);
    EXPECT_EQ(0, exitCode(robot));
    // The application starts only after the readme viewer has ended, in its own folder.
    EXPECT_EQ("readme_viewer start " + package.path() + "\r\nreadme_viewer end\r\napp start " + package.path() +
                  "\r\napp end\r\n",
              markerLines(package, 4));
    EXPECT_TRUE(zrtest::exists(package.file("Product\\setup.log")));  // written at the normal end
}

TEST(WizardFlow, FinishWithoutChoicesEndsSetup) {
    PackageFolder package;
    package.script(std::string(kProductHere) + kFinishOnly)
        .language("English.dat", kLanguage)
        .archive({{"AppDir\\a.txt", "a"}});
    robot::Robot robot;
    ASSERT_TRUE(startSetup(robot, package));
    HWND finish = waitWindow(robot, "All Done");
    ASSERT_TRUE(finish);
    std::vector<robot::ControlInfo> controls = robot::controls(finish);
    ASSERT_TRUE(findControl(controls, 1020) && findControl(controls, 1021));
    EXPECT_FALSE(findControl(controls, 1020)->visible);
    EXPECT_FALSE(findControl(controls, 1021)->visible);
    clickAndWaitGone(finish, 1018);
    EXPECT_EQ(0, exitCode(robot));
    EXPECT_EQ("a", zrtest::readFile(package.file("Product\\a.txt")));
}

TEST(WizardFlow, OnlyDashIMakesADryRun) {
    struct Row {
        const char* arguments;
        bool imitation;
    } rows[] = {
        {" -I", true},     // any case
        {" /i", false},
        {" x -i", false},  // only the first argument counts
    };
    for (const Row& row : rows) {
        PackageFolder package;
        package
            .script(std::string(kProductHere) + kFinishOnly +
                    "[FINISH_DIALOG]\r\nShow_RunApplication_CheckBox=Yes\r\nShow_RunApplication_Checked=Yes\r\n"
                    "Application_Pathname=%SetupDir%\\app.exe\r\n")
            .language("English.dat", kLanguage)
            .archive({{"AppDir\\a.txt", "a"}})
            .copy(markerProbe(), "app.exe");
        robot::Robot robot;
        ASSERT_TRUE(startSetup(robot, package, row.arguments));
        HWND finish = waitWindow(robot, "All Done");
        ASSERT_TRUE(finish) << row.arguments;
        clickAndWaitGone(finish, 1018);  // with "Run it" ticked
        EXPECT_EQ(0, exitCode(robot)) << row.arguments;
        if (row.imitation) {
            EXPECT_FALSE(zrtest::exists(package.file("Product"))) << row.arguments;  // nothing installed, no log
            Sleep(300);
            EXPECT_FALSE(zrtest::exists(package.file("marker.txt"))) << row.arguments;  // nothing started
        } else {
            EXPECT_TRUE(zrtest::exists(package.file("Product\\setup.log"))) << row.arguments;
            EXPECT_NE("", markerLines(package, 2)) << row.arguments;
        }
    }
}

TEST(WizardFlow, ExitSetupDuringTheInstallationStopsItAndKeepsTheLog) {
    struct Row {
        const char* comment;
        unsigned leave;  // how the second Exit Setup dialog is answered
    } rows[] = {
        {"the Exit Setup button", 1001},
        {"Esc (IDCANCEL)", IDCANCEL},
    };
    for (const Row& row : rows) {
        std::string script = std::string(kProductHere) +
                             "[GENERAL_INFO]\r\nProductName=Flow\r\n[SYSTEM_REQUIREMENTS]\r\nAnyWindows=Yes\r\n"
                             "[DIALOGS]\r\nFinishDialog=Yes\r\n[APPLICATION_FOLDERS]\r\n%AppDir%\r\n";
        for (int i = 0; i < 200; ++i)
            script += "%AppDir%\\F" + std::to_string(i) + "\r\n";
        PackageFolder package;
        package.script(script).language("English.dat", kLanguage).archive();
        robot::Robot robot;
        std::string error;
        ASSERT_TRUE(startSetup(robot, package));
        HWND progress = waitWindow(robot, "Installing");
        ASSERT_TRUE(progress) << row.comment;
        EXPECT_EQ("Stop", controlText(progress, IDCANCEL));

        // Cancel asks first; Resume goes on with the installation.
        EXPECT_TRUE(robot::click(progress, IDCANCEL, &error)) << error;
        HWND leave = waitWindow(robot, "Leave?");
        ASSERT_TRUE(leave) << row.comment;
        EXPECT_EQ("Not finished.", controlText(leave, 1009));
        EXPECT_EQ("Leave now?", controlText(leave, 1011));
        EXPECT_EQ("Stay", controlText(leave, 1000));
        EXPECT_EQ("Leave", controlText(leave, 1001));
        clickAndWaitGone(leave, 1000);
        EXPECT_TRUE(IsWindowVisible(progress)) << row.comment;

        EXPECT_TRUE(robot::click(progress, IDCANCEL, &error)) << error;
        leave = waitWindow(robot, "Leave?");
        ASSERT_TRUE(leave) << row.comment;
        if (row.leave == IDCANCEL)
            EXPECT_TRUE(robot::postCommand(leave, IDCANCEL, &error)) << error;
        else
            EXPECT_TRUE(robot::click(leave, row.leave, &error)) << error;
        EXPECT_EQ(0, exitCode(robot)) << row.comment;  // no Finish page: setup ends

        // What was installed stays, and the log says so.
        std::string log = zrtest::readFile(package.file("Product\\setup.log"));
        EXPECT_NE(std::string::npos, log.find(package.file("Product\\F0\r\n"))) << row.comment;
        EXPECT_FALSE(zrtest::exists(package.file("Product\\F199"))) << row.comment;
        EXPECT_EQ(std::string::npos, log.find("F199")) << row.comment;
    }
}

TEST(WizardFlow, AFileReplacedAtRestartEndsWithTheRestartQuestion) {
    struct Row {
        unsigned answer;
        const char* restarts;
    } rows[] = {
        {IDYES, "restart\r\n"},
        {IDNO, ""},
    };
    for (const Row& row : rows) {
        PackageFolder package;
        // Mode 3: replaced when the packaged file is as new or newer, through the
        // replacer, which finds the target in use.
        package
            .script(std::string(kProductHere) +
                    "[GENERAL_INFO]\r\nProductName=Flow\r\n[SYSTEM_REQUIREMENTS]\r\nAnyWindows=Yes\r\n"
                    "[APPLICATION_FOLDERS]\r\n%AppDir%\r\n"
                    "[APPLICATION_FILES]\r\n,AppDir\\busy.txt,%AppDir%\\busy.txt,0,3\r\n")
            .language("English.dat", kLanguage)
            .archive({{"AppDir\\busy.txt", "new"}});
        CreateDirectoryA(package.file("Product").c_str(), nullptr);
        zrtest::writeFile(package.file("Product\\busy.txt"), "old");
        FILETIME old = {0x10000000, 0x01000000};  // long before the packaged file
        HANDLE file = CreateFileA(package.file("Product\\busy.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        SetFileTime(file, &old, &old, &old);
        CloseHandle(file);
        // Another process reads the file: setup can still compare its time, but
        // cannot overwrite or move it, so the replacement waits for the restart.
        HolderProcess holder(HolderProcess::OpenShared, package.file("Product\\busy.txt"));

        std::string restartRecord = package.file("restart.txt");
        SetEnvironmentVariableA("ZR_FAKE_RESTART", restartRecord.c_str());
        robot::Robot robot;
        std::string error;
        bool started = startSetup(robot, package);
        SetEnvironmentVariableA("ZR_FAKE_RESTART", nullptr);
        ASSERT_TRUE(started) << error;
        HWND question = waitWindow(robot, "Restart");
        ASSERT_TRUE(question);
        EXPECT_EQ("Restart Windows now?", controlText(question, 0xFFFF));
        EXPECT_TRUE(robot::click(question, row.answer, &error)) << error;
        EXPECT_EQ(0, exitCode(robot));
        EXPECT_EQ(row.restarts, zrtest::readFile(restartRecord));
    }
}

// setup.exe as a user meets it, under Wine: the boxes that end a failed start,
// the exit codes, and the system requirements check at the start of the wizard.

#include "robot.h"
#include "setup_package.h"
#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

using setuptest::PackageFolder;

namespace {

// Every script installs into a folder of the package folder: setup.log always
// has somewhere to go.
const char kScriptNoPages[] =
    "[SETUP_INFO]\r\nDefaultInstallationPath=%SetupDir%\\Product\r\n"
    "[GENERAL_INFO]\r\nProductName=Try\r\n"
    "[APPLICATION_FOLDERS]\r\n%AppDir%\r\n"
    "[SYSTEM_REQUIREMENTS]\r\nAnyWindows=Yes\r\n";
const char kEnglish[] =
    "[STRINGS]\r\n1=Requirements of %ProductName%\r\n"
    "21=Not on %1 (%1). Setup ends.\r\n22=Untested on %1.\r\n";

struct Box {
    std::string caption;
    std::string text;
};

// Starts the program in workingDir, presses OK on each message box it shows
// (at most boxes of them) and returns the boxes and the exit code.
int runPressingOk(const std::string& commandLine, const std::string& workingDir, std::vector<Box>* boxes,
                  size_t expectedBoxes) {
    robot::Robot robot;
    std::string error;
    EXPECT_TRUE(robot.start(commandLine, workingDir, &error)) << error;
    for (size_t i = 0; i < expectedBoxes; ++i) {
        HWND box = robot.waitWindow({std::string("#32770"), std::nullopt}, setuptest::kSetupTimeoutMs, &error);
        if (!box) {
            ADD_FAILURE() << "box " << i << ": " << error;
            break;
        }
        Box seen;
        seen.caption = robot::windowText(box);
        EXPECT_TRUE(robot::controlText(box, 0xFFFF, &seen.text, &error)) << error;
        boxes->push_back(seen);
        EXPECT_TRUE(robot::click(box, IDOK, &error)) << error;
        EXPECT_TRUE(robot::waitGone(box, setuptest::kSetupTimeoutMs, &error)) << error;
    }
    int exitCode = 0;
    EXPECT_TRUE(robot.waitExit(setuptest::kSetupTimeoutMs, &exitCode, &error)) << error;
    return exitCode;
}

}  // namespace

TEST(SetupProgram, StartupFailuresShowOneBoxAndReturnMinusOne) {
    struct Row {
        const char* comment;
        bool script;
        const char* languageFile;  // nullptr: none
        bool archive;
        const char* scriptText;
        const char* expectedText;
    } rows[] = {
        {"no setup script", false, "English.dat", true, kScriptNoPages, "Can not open file: \"Setup.ini\""},
        {"no language file", true, nullptr, true, kScriptNoPages, "Can not open file: \"English.dat\""},
        {"the named language file is missing", true, "English.dat", true,
         "[SETUP_INFO]\r\nDefaultSetupLanguage=Dansk\r\n", "Can not open file: \"Dansk.dat\""},
        {"no archive", true, "English.dat", false, kScriptNoPages, "File not found: \"setup.zip\""},
    };
    for (const Row& row : rows) {
        PackageFolder package;
        if (row.script)
            package.script(row.scriptText);
        if (row.languageFile)
            package.language(row.languageFile, kEnglish);
        if (row.archive)
            package.archive();
        std::vector<Box> boxes;
        EXPECT_EQ(-1, runPressingOk(package.exe(), package.path(), &boxes, 1)) << row.comment;
        ASSERT_EQ(1u, boxes.size()) << row.comment;
        EXPECT_EQ("Error", boxes[0].caption) << row.comment;
        EXPECT_EQ(row.expectedText, boxes[0].text) << row.comment;
    }
}

TEST(SetupProgram, FindsItsScriptBesideItselfButTheArchiveInTheWorkingFolder) {
    PackageFolder package;
    package.script(kScriptNoPages).language("English.dat", kEnglish).archive();
    zrtest::TempDir elsewhere;
    std::vector<Box> boxes;
    EXPECT_EQ(-1, runPressingOk(package.exe(), elsewhere.path(), &boxes, 1));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("File not found: \"setup.zip\"", boxes[0].text);

    CopyFileA(package.file("setup.zip").c_str(), elsewhere.file("setup.zip").c_str(), FALSE);
    boxes.clear();
    EXPECT_EQ(0, runPressingOk(package.exe(), elsewhere.path(), &boxes, 0));
}

TEST(SetupProgram, UnsupportedSystemWarnsOrEndsSetup) {
    struct Row {
        const char* comment;
        const char* requirements;
        const char* expectedText;
    } rows[] = {
        // No switch for Windows 98: a warning, then the wizard goes on.
        {"warning", "", "Untested on Windows 98."},
        // With abort: the error box, then setup ends normally.
        {"abort", "AbortInstallation=Yes\r\n", "Not on Windows 98 (%1). Setup ends."},
    };
    for (const Row& row : rows) {
        PackageFolder package("setup98.exe");
        zrtest::setEmulatedVersion("setup98.exe", "win98");
        package.script(std::string("[SETUP_INFO]\r\nDefaultInstallationPath=%SetupDir%\\Product\r\n"
                                   "[GENERAL_INFO]\r\nProductName=Try\r\n"
                                   "[APPLICATION_FOLDERS]\r\n%AppDir%\r\n[SYSTEM_REQUIREMENTS]\r\n") +
                       row.requirements)
            .language("English.dat", kEnglish)
            .archive();
        std::vector<Box> boxes;
        EXPECT_EQ(0, runPressingOk(package.exe(), package.path(), &boxes, 1)) << row.comment;
        ASSERT_EQ(1u, boxes.size()) << row.comment;
        // [STRINGS] texts are shown raw: variable references stay.
        EXPECT_EQ("Requirements of %ProductName%", boxes[0].caption) << row.comment;
        EXPECT_EQ(row.expectedText, boxes[0].text) << row.comment;
        zrtest::setEmulatedVersion("setup98.exe", "");
    }
}

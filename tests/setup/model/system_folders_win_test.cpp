// The setup model over the real system: the folders as Windows (here Wine)
// reports them, Setup.ini and English.dat beside this program (the build copies
// the "full" fixture here), and setup.log written to a real folder.
#include "setup_model.h"

#include "model_fixtures.h"
#include "system_info.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::string lower(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

TEST(SystemFolders, ComeFromTheRunningSystem) {
    SystemFolders folders = querySystemFolders();

    std::string registered;
    ASSERT_TRUE(readSoftwareString("Microsoft\\Windows\\CurrentVersion\\ProgramFilesDir", &registered));
    EXPECT_EQ(registered, folders.programFiles);
    EXPECT_EQ("c:\\program files", lower(folders.programFiles));  // what a fresh prefix registers

    // This program's folder, without a trailing backslash.
    EXPECT_EQ(lower(zrtest::binaryPath("tests/setup/model")), lower(folders.setupDir));

    EXPECT_EQ("c:\\windows", lower(folders.winDir));
    EXPECT_EQ("c:\\windows\\system32", lower(folders.winSysDir));
    EXPECT_EQ("c:\\program files\\common files", lower(folders.commonFiles));

    // The user's shell folders exist, and the Programs folder lies in the Start menu.
    for (const std::string* folder : {&folders.desktop, &folders.startUp, &folders.startMenu,
                                      &folders.startMenuPrograms}) {
        EXPECT_FALSE(folder->empty());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder->c_str())) << *folder;
    }
    EXPECT_EQ(lower(folders.startMenu + "\\Programs"), lower(folders.startMenuPrograms));
    EXPECT_EQ(lower(folders.startMenuPrograms + "\\Startup"), lower(folders.startUp));
}

TEST(SystemFolders, ModelLoadsBesideTheProgramAndWritesItsLog) {
    SystemFolders folders = querySystemFolders();
    zrtest::TempDir appDir;
    std::string logPath = appDir.file("setup.log");
    {
        SetupModel model(folders);
        EXPECT_EQ(folders.programFiles + "\\Example Works\\Sample Tool", model.appDir());
        EXPECT_EQ(folders.startMenuPrograms + "\\Sample Tool Tools", model.getVariable("AppSCFolder"));
        EXPECT_EQ(folders.winDir, model.getVariable("WinDir"));
        EXPECT_EQ(folders.setupDir + "\\licence.txt", model.getVariable("License_Pathname"));
        EXPECT_EQ("Installing Sample Tool", model.getVariable("ProcessTitle"));

        model.setAppDir(appDir.path() + "\\");
        InstallLog& log = model.createInstallLog(false);
        EXPECT_EQ(logPath, log.path());
        modeltest::fillFullLog(log);
    }
    EXPECT_EQ(modeltest::expectedLog("expected_full.log", logPath), zrtest::readFile(logPath));
}

#include "setup_model.h"

#include "error_report.h"
#include "errors.h"
#include "file.h"
#include "model_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

using modeltest::fakeFolders;
using modeltest::fixturePath;

namespace {

// The file name and code of the FileException that body throws; "" and -1 when
// it throws something else or nothing.
template <typename Body>
std::pair<std::string, int> fileFailure(Body body) {
    try {
        body();
    } catch (const FileException& e) {
        return {e.fileName(), e.code()};
    } catch (...) {
    }
    return {"", -1};
}

std::pair<std::string, int> failure(const std::string& name, int code) { return {name, code}; }

// A setup folder in a fresh temporary folder: the given script and a copy of the
// bare fixture's English.dat.
struct ScriptFolder {
    explicit ScriptFolder(const std::string& script) {
        zrtest::writeFile(dir.file("Setup.ini"), script);
        zrtest::writeFile(dir.file("English.dat"), zrtest::readFile(fixturePath("bare/English.dat")));
    }
    zrtest::TempDir dir;
};

}  // namespace

TEST(SetupModel, LoadSetsSystemFoldersAndScriptValues) {
    SetupModel model(fakeFolders(fixturePath("full")));
    struct Row {
        const char* name;
        std::string value;
    } rows[] = {
        {"ProgramFiles", "C:\\Program Files"},
        {"SetupDir", fixturePath("full")},
        {"WinDir", "C:\\WINDOWS"},
        {"WinSysDir", "C:\\WINDOWS\\system32"},
        {"Desktop", "C:\\Profile\\Desktop"},
        {"StartUp", "C:\\Profile\\Start Menu\\Programs\\Startup"},
        {"StartMenu", "C:\\Profile\\Start Menu"},
        {"CommonFiles", "C:\\Program Files\\Common Files"},
        {"ProductName", "Sample Tool"},
        {"CompanyName", "Example Works"},
        {"ProductVersion", "1.0"},
        {"ProductDescription", "A small sample"},
        {"ProductURL", "http://www.example.com/sample"},
        {"Copyright", "(C) Example Works"},
        {"SilentMode", "No"},
        {"DefaultInstallationPath", "C:\\Program Files\\Example Works\\Sample Tool"},
        {"AppDir", "C:\\Program Files\\Example Works\\Sample Tool"},
        {"DefaultDirectoryName", "Sample Tool"},
        {"DefaultShortcutFolderName", "Sample Tool Tools"},
        {"OutputProgramGroup", "Sample Tool Tools"},
        {"AppSCFolder", "C:\\Profile\\Start Menu\\Programs\\Sample Tool Tools"},
        {"DefaultSetupLanguage", "English"},
        {"SetupLanguages", "English,Dansk,Short"},
        {"RequiredDiskSpace", "400"},
        {"SysReqWindows95", "Yes"},
        {"SysReqWindowsME", "No"},
        {"SysReqAbortInstallation", ""},  // empty key: the copy rule leaves it unset
        {"DlgWelcomeDialog", "yes"},
        {"SplWBitmap_Pathname", fixturePath("full") + "\\splash.bmp"},
        {"SWWindowTitle", "Sample Tool 1.0 Setup"},
        {"SWGradientFill", "Yes"},
        {"SWColorFrom", ""},  // missing key
        {"License_Pathname", fixturePath("full") + "\\licence.txt"},
        {"Readme_Pathname", ""},  // the Readme page is off ("True" is not a variable switch)
        {"FinalReadmePathname", ""},  // the view-readme box is off
        {"Application_Pathname", "C:\\Program Files\\Example Works\\Sample Tool\\tool.exe"},
        {"Version", ""},  // keys the engine does not read make no variables
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.value, model.getVariable(row.name)) << row.name;

    EXPECT_EQ("Sample Tool", model.productName());
    EXPECT_EQ("Example Works", model.companyName());
    EXPECT_EQ("1.0", model.productVersion());
    EXPECT_EQ(model.getVariable("AppDir"), model.appDir());
    EXPECT_EQ("Sample Tool", model.defaultDirectoryName());
    EXPECT_EQ(model.getVariable("DefaultInstallationPath"), model.defaultInstallationPath());
    EXPECT_EQ("Sample Tool Tools", model.defaultShortcutFolderName());
    EXPECT_EQ("Sample Tool Tools", model.outputProgramGroup());

    // Fonts of the setup window, by name.
    EXPECT_EQ("Times New Roman", model.fontSpec("SWHeadingFont").faceName);
    EXPECT_EQ(255, model.fontSpec("SWHeadingFont").italic);
    EXPECT_EQ(-12, model.fontSpec("SWSubheadingFont").height);
    EXPECT_EQ("Arial", model.fontSpec("SWFooterFont").faceName);

    // Records stay raw for the install driver.
    EXPECT_EQ(2, model.recordCount("APPLICATION_FOLDERS"));
    std::string line;
    ASSERT_TRUE(model.record("APPLICATION_FILES", 0, &line));
    EXPECT_EQ(",AppDir\\tool.exe,%AppDir%\\tool.exe,0,1", line);
    model.expand(line);
    EXPECT_EQ(",AppDir\\tool.exe,C:\\Program Files\\Example Works\\Sample Tool\\tool.exe,0,1", line);
}

TEST(SetupModel, LaterChoicesShowThroughReferences) {
    SetupModel model(fakeFolders(fixturePath("full")));
    model.setOutputProgramGroup("My Tools");
    EXPECT_EQ("C:\\Profile\\Start Menu\\Programs\\My Tools", model.getVariable("AppSCFolder"));
    model.setAppDir("D:\\Elsewhere");
    EXPECT_EQ("D:\\Elsewhere\\tool.exe", model.getVariable("Application_Pathname"));
    // The default paths were expanded at the load and stay put.
    EXPECT_EQ("C:\\Program Files\\Example Works\\Sample Tool", model.defaultInstallationPath());
    model.setVariable("Imitation", "Y");
    EXPECT_TRUE(model.isTrue("Imitation"));
}

TEST(SetupModel, DialogSwitchesEnablePagesAndReadTheirTexts) {
    SetupModel model(fakeFolders(fixturePath("full")));
    // yes, YES, 1, Y and Yes are true; No, True and n are not.
    struct Row {
        int page;
        bool enabled;
    } pages[] = {
        {PageLanguage, false},        {PageWelcome, true},         {PageLicense, true},
        {PageReadme, false},          {PageUserInfo, true},        {PageTargetDirectory, true},
        {PageProgramFolder, false},   {PageStart, true},           {PageProgress, true},
        {PageFinish, true},           {PageCompletionActions, true},
    };
    for (const Row& row : pages)
        EXPECT_EQ(row.enabled, model.pageEnabled(row.page)) << row.page;
    EXPECT_EQ(PageWelcome, model.startPage());
    EXPECT_EQ(PageWelcome, model.currentPage());
    EXPECT_EQ(PageLicense, model.nextPage());
    model.setCurrentPage(PageStart);
    EXPECT_EQ(PageTargetDirectory, model.previousPage());

    struct Text {
        const char* variable;
        const char* value;
    } texts[] = {
        {"WelcomeTitle", "Welcome"},
        {"WelcomeText1", "Welcome to Sample Tool."},  // read back expanded
        {"WelcomeText4", "Click Next."},
        {"LicenseYes", "Yes"},
        {"LicenseText1", ""},  // missing in the file
        {"UserInfoText4", "Shown in the About box"},
        {"TargetDirText7", "KB"},
        {"ChooseDirTitle", "Choose Folder"},  // the folder chooser comes with its page
        {"StartEText1", "Destination folder:"},
        {"ProcessTitle", "Installing Sample Tool"},
        {"FinishTitle", "Complete"},
        {"FinishCheck1", ""},  // view-readme box off: its text is not read
        {"FinishCheck2", "Start Sample Tool now"},
        {"ExitSetupTitle", "Leave Setup"},
        {"LanguageTitle", ""},  // disabled pages read nothing
        {"ReadmeTitle", ""},
        {"ProgmanTitle", ""},
    };
    for (const Text& text : texts)
        EXPECT_EQ(text.value, model.getVariable(text.variable)) << text.variable;

    // FINISH_DIALOG switches are the script's own booleans: "Y" is false there
    // (while FinishDialog=Y enabled the page), "true" and "1" are true.
    EXPECT_FALSE(model.showViewReadme());
    EXPECT_FALSE(model.viewReadmeChecked());  // not read when the box is off
    EXPECT_TRUE(model.showRunApplication());
    EXPECT_TRUE(model.runApplicationChecked());
    EXPECT_FALSE(model.viewReadmeChosen());
    EXPECT_FALSE(model.runApplicationChosen());
    model.setViewReadmeChosen(true);
    model.setRunApplicationChosen(true);
    EXPECT_TRUE(model.viewReadmeChosen());
    EXPECT_TRUE(model.runApplicationChosen());
}

TEST(SetupModel, ScriptWithoutDialogsStartsWithTheInstallation) {
    SetupModel model(fakeFolders(fixturePath("bare")));
    for (int page = 0; page < kPageCount; ++page)
        EXPECT_EQ(page == PageProgress || page == PageCompletionActions, model.pageEnabled(page)) << page;
    EXPECT_EQ(PageProgress, model.startPage());
    // No DefaultSetupLanguage: English.dat was read, and the Progress page's texts
    // are read whatever the pages.
    EXPECT_EQ("", model.getVariable("DefaultSetupLanguage"));
    EXPECT_EQ("Installing", model.getVariable("ProcessTitle"));
    EXPECT_EQ("", model.getVariable("ExitSetupTitle"));  // no page: no exit dialog
    EXPECT_EQ("", model.getVariable("WelcomeTitle"));
    EXPECT_FALSE(model.isTrue("SysReqAnyWindows"));  // no requirements section
    // A path without a backslash has no directory name.
    EXPECT_EQ("MyApp", model.appDir());
    EXPECT_EQ("", model.defaultDirectoryName());
    // An empty language list has one empty name.
    std::string name;
    EXPECT_TRUE(model.languageName(0, &name));
    EXPECT_EQ("", name);
    EXPECT_FALSE(model.languageName(1, &name));
    EXPECT_EQ("English", name);
}

TEST(SetupModel, DefaultPathsAndLanguageChoice) {
    struct Row {
        const char* comment;
        const char* setupInfo;
        const char* appDir;
        const char* directoryName;
        const char* shortcutFolder;
    } rows[] = {
        {"drive folder", "DefaultInstallationPath=D:\\Apps\r\n", "D:\\Apps", "Apps", ""},
        {"no backslash", "DefaultInstallationPath=MyApp\r\n", "MyApp", "", ""},
        {"drive root", "DefaultInstallationPath=C:\\\r\n", "C:\\", "", ""},
        {"missing key", "", "", "", ""},
        {"references expand at the load",
         "DefaultInstallationPath=%ProgramFiles%\\%ProductName%\r\n"
         "DefaultShortcutFolderName=%DefaultDirectoryName% (%AppDir%)\r\n",
         "C:\\Program Files\\Tool", "Tool", "Tool (C:\\Program Files\\Tool)"},
        {"an empty language setting gives English.dat",
         "DefaultSetupLanguage=\r\nDefaultInstallationPath=X\\Y\r\n", "X\\Y", "Y", ""},
    };
    for (const Row& row : rows) {
        ScriptFolder folder(std::string("[SETUP_INFO]\r\n") + row.setupInfo + "[GENERAL_INFO]\r\nProductName=Tool\r\n");
        SetupModel model(fakeFolders(folder.dir.path()));
        EXPECT_EQ(row.appDir, model.appDir()) << row.comment;
        EXPECT_EQ(row.appDir, model.defaultInstallationPath()) << row.comment;
        EXPECT_EQ(row.directoryName, model.defaultDirectoryName()) << row.comment;
        EXPECT_EQ(row.shortcutFolder, model.outputProgramGroup()) << row.comment;
        EXPECT_EQ("Installing", model.getVariable("ProcessTitle")) << row.comment;  // English.dat loaded
    }
}

TEST(SetupModel, MissingFilesThrowWithTheBareName) {
    zrtest::TempDir empty;
    EXPECT_EQ(failure("Setup.ini", 2), fileFailure([&] { SetupModel model(fakeFolders(empty.path())); }));

    ScriptFolder klingon("[SETUP_INFO]\r\nDefaultSetupLanguage=Klingon\r\n");
    EXPECT_EQ(failure("Klingon.dat", 2), fileFailure([&] { SetupModel model(fakeFolders(klingon.dir.path())); }));

    ScriptFolder noEnglish("[SETUP_INFO]\r\n");
    zrtest::removeTree(noEnglish.dir.file("English.dat"));
    EXPECT_EQ(failure("English.dat", 2), fileFailure([&] { SetupModel model(fakeFolders(noEnglish.dir.path())); }));
}

TEST(SetupModel, LanguageNamesComeFromTheExpandedList) {
    SetupModel model(fakeFolders(fixturePath("full")));
    model.setVariable("Second", "Dansk");
    model.setVariable("SetupLanguages", "English,%Second%,");
    std::string name;
    EXPECT_TRUE(model.languageName(1, &name));
    EXPECT_EQ("Dansk", name);
    EXPECT_FALSE(model.languageName(2, &name));  // the trailing comma starts no item
    EXPECT_EQ("English", name);
}

TEST(SetupModel, StringTextIsRawAndFoundAsPlainText) {
    SetupModel model(fakeFolders(fixturePath("full")));
    EXPECT_EQ("System Requirements", model.stringText(1));
    EXPECT_EQ("Not on %1.", model.stringText(21));
    EXPECT_EQ("", model.stringText(11));  // missing
    // Dansk.dat writes 21 before 1: the search for "1=" meets the end of "21=".
    model.changeLanguage("Dansk");
    EXPECT_EQ("Ikke paa %1.", model.stringText(1));
}

TEST(SetupModel, ChangeLanguageKeepsTextsTheNewFileLacks) {
    SetupModel model(fakeFolders(fixturePath("full")));
    model.changeLanguage("Dansk");
    EXPECT_EQ("Dansk", model.getVariable("DefaultSetupLanguage"));
    EXPECT_EQ("Velkommen", model.getVariable("WelcomeTitle"));
    EXPECT_EQ("Velkommen til Sample Tool.", model.getVariable("WelcomeText1"));
    EXPECT_EQ("Click Next.", model.getVariable("WelcomeText4"));  // English text kept
    EXPECT_EQ("Forlad Setup", model.getVariable("ExitSetupTitle"));
    // On a change the Finish page reads all its texts, Check1 too.
    EXPECT_EQ("Vis Laes mig", model.getVariable("FinishCheck1"));
    EXPECT_EQ("Start Sample Tool now", model.getVariable("FinishCheck2"));
}

TEST(SetupModel, FailedChangeOfLanguageLeavesNoLanguage) {
    SetupModel model(fakeFolders(fixturePath("full")));
    std::string name;
    model.setVariable("SetupLanguages", "English, Dansk");
    ASSERT_TRUE(model.languageName(1, &name));
    EXPECT_EQ(failure(" Dansk.dat", 2), fileFailure([&] { model.changeLanguage(name); }));
    EXPECT_EQ("English", model.getVariable("DefaultSetupLanguage"));  // unchanged
    EXPECT_EQ("", model.stringText(1));  // no language file from here on
    EXPECT_EQ("Welcome", model.getVariable("WelcomeTitle"));  // texts already copied stay
}

TEST(SetupModel, InstallLogIsWrittenByteForByte) {
    zrtest::TempDir first, second;
    std::string firstLog = first.file("setup.log");
    std::string secondLog = second.file("setup.log");
    {
        SetupModel model(fakeFolders(fixturePath("full")));
        EXPECT_EQ(nullptr, model.installLog());
        model.setAppDir(first.path() + kPathSeparator);  // one separator all the same
        InstallLog& log = model.createInstallLog(false);
        EXPECT_EQ(&log, model.installLog());
        EXPECT_EQ(firstLog, log.path());

        modeltest::fillFullLog(log);

        // A second run replaces the log, which writes the first one now. Short.dat
        // has only 10 uninstaller lines, English.dat 15.
        model.changeLanguage("Short");
        model.setAppDir(second.path());
        EXPECT_EQ(secondLog, model.createInstallLog(false).path());
        EXPECT_EQ(modeltest::expectedLog("expected_full.log", firstLog), zrtest::readFile(firstLog));
        EXPECT_FALSE(zrtest::exists(secondLog));  // written only when the model goes
    }
    EXPECT_EQ(modeltest::expectedLog("expected_short.log", secondLog), zrtest::readFile(secondLog));
}

TEST(SetupModel, ImitationLogWritesNothing) {
    zrtest::TempDir dir;
    {
        SetupModel model(fakeFolders(fixturePath("full")));
        model.setAppDir(dir.path());
        InstallLog& log = model.createInstallLog(true);
        log.addFile(dir.file("tool.exe"));
        EXPECT_TRUE(log.disabled());
        EXPECT_TRUE(log.lines(InstallLog::Common).empty());
    }
    EXPECT_FALSE(zrtest::exists(dir.file("setup.log")));
}

TEST(SetupModel, UnwritableLogThrowsAtTheEndOrIsDeferredDuringUnwinding) {
    zrtest::TempDir dir;
    std::string missing = dir.file("missing");
    std::string logPath = joinPath(missing, "setup.log");

    // A normal end: the model's destruction throws, for the entry point to report.
    EXPECT_EQ(failure(logPath, 5), fileFailure([&] {
                  SetupModel model(fakeFolders(fixturePath("full")));
                  model.setAppDir(missing);
                  model.createInstallLog(false);
              }));

    // While another failure unwinds: kept for the top level instead.
    takeDeferredFailures();
    EXPECT_THROW(
        {
            SetupModel model(fakeFolders(fixturePath("full")));
            model.setAppDir(missing);
            model.createInstallLog(false);
            throw std::runtime_error("window creation failed");
        },
        std::runtime_error);
    std::vector<std::exception_ptr> deferred = takeDeferredFailures();
    ASSERT_EQ(1u, deferred.size());
    EXPECT_EQ(failure(logPath, 5), fileFailure([&] { std::rethrow_exception(deferred[0]); }));

    // Replacing an unwritable log throws too, and leaves no log behind.
    SetupModel model(fakeFolders(fixturePath("full")));
    model.setAppDir(missing);
    model.createInstallLog(false);
    EXPECT_EQ(failure(logPath, 5), fileFailure([&] { model.createInstallLog(false); }));
    EXPECT_EQ(nullptr, model.installLog());
}

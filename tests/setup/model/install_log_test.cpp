#include "install_log.h"

#include "error_report.h"
#include "errors.h"
#include "file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The file name and code of a FileException held in failure; "" and -1 for
// anything else.
std::pair<std::string, int> fileFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const FileException& e) {
        return {e.fileName(), e.code()};
    } catch (...) {
        return {"", -1};
    }
}

}  // namespace

TEST(InstallLog, RoutesByKindAndCategory) {
    using L = InstallLog;
    struct Row {
        int category, kind, list;
    } rows[] = {
        {0, L::FileEntry, L::AppFileList},     {1, L::FileEntry, L::StdFileList},
        {2, L::FileEntry, L::SharedFileList},  {3, L::FileEntry, -1},  // dropped
        {4, L::FileEntry, L::AppFileList},     {0, L::FolderEntry, L::AppDirList},
        {1, L::FolderEntry, L::AppFolderList}, {2, L::FolderEntry, L::AppFolderList},
        {3, L::FolderEntry, -1},                {4, L::FolderEntry, L::AppFolderList},
        {0, L::RegistryKeyEntry, L::RegEntryList}, {3, L::RegistryKeyEntry, L::RegEntryList},
        {4, L::RegistryKeyEntry, L::RegEntryList},
        {7, L::FileEntry, -1},                  // categories outside the table keep only keys
        {-1, L::FolderEntry, -1},               {9, L::RegistryKeyEntry, L::RegEntryList},
        {0, 3, -1},                             // no such kind
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.list, InstallLog::route(row.category, row.kind)) << row.category << "/" << row.kind;
}

TEST(InstallLog, KeepsEachEntryOncePerListAndWritesListsReversed) {
    zrtest::TempDir dir;
    std::string path = dir.file("setup.log");
    std::string rendered;
    {
        InstallLog log(dir.path(), false);
        EXPECT_EQ(path, log.path());
        log.addCommon("Application_Name=Tool");
        log.addCommon("Application_Name=Tool");  // COMMON lines are not checked for duplicates
        log.addFolder("C:\\Apps");
        log.addFolder("C:\\Apps\\Sub");
        log.addFile("C:\\Apps\\a.txt");
        log.addFile("C:\\Apps\\a.txt");  // same bytes: dropped
        log.addFile("C:\\APPS\\A.TXT");  // case counts
        log.setCategory(InstallLog::SystemFiles);
        log.addFile("C:\\Apps\\a.txt");  // another list: kept there too
        log.addRegistryKey("HKLM,SOFTWARE\\Vendor");
        log.addRegistryKey("HKLM,SOFTWARE\\Vendor");
        EXPECT_EQ(InstallLog::SystemFiles, log.category());
        rendered = log.render();
        EXPECT_EQ(2u, log.lines(InstallLog::Common).size());
    }
    std::string expected =
        "[COMMON]\r\nApplication_Name=Tool\r\nApplication_Name=Tool\r\n"
        "[SHAREDFILES]\r\n"
        "[STDFILES]\r\nC:\\Apps\\a.txt\r\n"
        "[APPFILES]\r\nC:\\APPS\\A.TXT\r\nC:\\Apps\\a.txt\r\n" + path + "\r\n"
        "[APPFOLDERS]\r\n"
        "[APPDIR]\r\nC:\\Apps\\Sub\r\nC:\\Apps\r\n"
        "[REGENTRY]\r\nHKLM,SOFTWARE\\Vendor\r\n";
    EXPECT_EQ(expected, rendered);
    EXPECT_EQ(expected, zrtest::readFile(path));  // destruction wrote the same bytes
}

TEST(InstallLog, ReplacesAnExistingFile) {
    zrtest::TempDir dir;
    zrtest::writeFile(dir.file("setup.log"), std::string(5000, 'x'));
    { InstallLog log(dir.path(), false); }
    EXPECT_EQ("[COMMON]\r\n[SHAREDFILES]\r\n[STDFILES]\r\n[APPFILES]\r\n" + dir.file("setup.log") +
                  "\r\n[APPFOLDERS]\r\n[APPDIR]\r\n[REGENTRY]\r\n",
              zrtest::readFile(dir.file("setup.log")));
}

TEST(InstallLog, DisabledLogRecordsAndWritesNothing) {
    zrtest::TempDir dir;
    {
        InstallLog log(dir.path(), true);
        log.addCommon("Application_Name=Tool");
        log.addFile("C:\\x");
        log.addFolder("C:\\y");
        log.addRegistryKey("HKLM,z");
        log.addEntry(InstallLog::ShortcutFiles, InstallLog::FileEntry, "C:\\l.lnk");
        log.setCategory(InstallLog::SharedFiles);
        EXPECT_TRUE(log.disabled());
        EXPECT_EQ("", log.path());
        EXPECT_EQ(InstallLog::ApplicationFiles, log.category());
        for (int list = 0; list < InstallLog::kListCount; ++list)
            EXPECT_TRUE(log.lines(list).empty()) << list;
    }
    EXPECT_FALSE(zrtest::exists(dir.file("setup.log")));
}

TEST(InstallLog, EmptyAppDirRecordsButRefusesToWrite) {
    ASSERT_FALSE(zrtest::exists("setup.log"));
    std::exception_ptr failure;
    try {
        InstallLog log("", false);
        log.addFile("C:\\Apps\\a.txt");
        EXPECT_EQ("", log.path());
        // Its own path is not recorded: there is none.
        ASSERT_EQ(1u, log.lines(InstallLog::AppFileList).size());
        EXPECT_EQ("C:\\Apps\\a.txt", log.lines(InstallLog::AppFileList)[0]);
    } catch (...) {
        failure = std::current_exception();
    }
    EXPECT_EQ(std::make_pair(std::string("setup.log"), 5), fileFailure(failure));
    EXPECT_FALSE(zrtest::exists("setup.log"));  // nothing landed in the current folder
}

TEST(InstallLog, UnwritableFileThrowsWithFullPath) {
    zrtest::TempDir dir;
    std::string missingFolder = dir.file("missing");
    std::exception_ptr failure;
    try {
        InstallLog log(missingFolder, false);
    } catch (...) {
        failure = std::current_exception();
    }
    EXPECT_EQ(std::make_pair(joinPath(missingFolder, "setup.log"), 5), fileFailure(failure));
}

TEST(InstallLog, FailureWhileUnwindingIsDeferredNotLost) {
    takeDeferredFailures();  // start clean
    zrtest::TempDir dir;
    std::string missingFolder = dir.file("missing");
    try {
        InstallLog log(missingFolder, false);
        throw std::runtime_error("the failure being handled");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("the failure being handled", e.what());  // the first failure arrives intact
    }
    std::vector<std::exception_ptr> deferred = takeDeferredFailures();
    ASSERT_EQ(1u, deferred.size());
    EXPECT_EQ(std::make_pair(joinPath(missingFolder, "setup.log"), 5), fileFailure(deferred[0]));

    // A log that can be written is written during unwinding too.
    try {
        InstallLog log(dir.path(), false);
        throw std::runtime_error("again");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(takeDeferredFailures().empty());
    EXPECT_TRUE(zrtest::exists(dir.file("setup.log")));
}

TEST(InstallLog, AppDirWithTrailingSeparatorGivesOneSeparator) {
    zrtest::TempDir dir;
    std::string appDir = dir.path() + kPathSeparator;
    { InstallLog log(appDir, false); }
    std::string single = dir.file("setup.log");
    EXPECT_NE(std::string::npos, zrtest::readFile(single).find("[APPFILES]\r\n" + single + "\r\n"));
}

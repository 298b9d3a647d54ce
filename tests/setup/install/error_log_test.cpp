#include "errors.h"
#include "file.h"
#include "install_log.h"
#include "record_installer.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ErrorLog, WritesItsLinesAndListsItselfAsAnApplicationFile) {
    zrtest::TempDir dir;
    InstallLog log(dir.path(), false);
    log.setCategory(InstallLog::SystemFiles);  // the driver leaves category 1 set
    std::string path = dir.file("error.log");
    {
        ErrorLog errors(path, log);
        errors.add("Invalid major key:", "hklm");  // message and detail run together
        errors.add("Unknown link type:x");
    }
    EXPECT_EQ("Invalid major key:hklm\r\nUnknown link type:x\r\n", zrtest::readFile(path));
    EXPECT_EQ(InstallLog::ApplicationFiles, log.category());
    const std::vector<std::string>& appFiles = log.lines(InstallLog::AppFileList);
    ASSERT_FALSE(appFiles.empty());
    EXPECT_EQ(path, appFiles.back());
}

TEST(ErrorLog, WithoutLinesLeavesAnEarlierFileAlone) {
    zrtest::TempDir dir;
    InstallLog log(dir.path(), false);
    std::string path = dir.file("error.log");
    zrtest::writeFile(path, "from last time\r\n");
    { ErrorLog errors(path, log); }
    EXPECT_EQ("from last time\r\n", zrtest::readFile(path));
    EXPECT_EQ(1u, log.lines(InstallLog::AppFileList).size());  // only setup.log itself
}

TEST(ErrorLog, UnwritableFileThrowsDiskFullUnlessAnotherFailureIsLeaving) {
    zrtest::TempDir dir;
    InstallLog log(dir.path(), false);
    std::string path = dir.file("no such folder") + kPathSeparator + "error.log";
    bool thrown = false;
    try {
        ErrorLog errors(path, log);
        errors.add("line");
    } catch (const FileException& e) {
        thrown = true;
        EXPECT_EQ(path, e.fileName());
        EXPECT_EQ(FileException::DiskFull, e.code());
    }
    EXPECT_TRUE(thrown);
    // While another exception unwinds the run, the write failure is dropped.
    EXPECT_THROW(
        {
            ErrorLog errors(path, log);
            errors.add("line");
            throw std::runtime_error("the run failed");
        },
        std::runtime_error);
}

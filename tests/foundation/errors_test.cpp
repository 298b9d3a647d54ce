#include "error_report.h"
#include "errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>
#ifdef _WIN32
#include <windows.h>
#endif

TEST(FileException, CodeTextCoversTableAndEverythingElse) {
    struct Row {
        int32_t code;
        const char* text;
    } rows[] = {
        {0, "No error occurred"},
        {1, "File not found"},
        {2, "Can not open file"},
        {3, "There was an error in read operation"},
        {4, "There was an error trying to set the file pointer"},
        {5, "The disk is full"},
        {6, "The end of file was reached"},
        {7, "Unknown error"},   // first value past the table
        {-1, "Unknown error"},  // negative values too
    };
    for (const Row& row : rows)
        EXPECT_STREQ(row.text, FileException("x", row.code).codeText()) << row.code;
}

TEST(FileException, CopyKeepsNameAndCode) {
    FileException original("C:\\Apps\\setup.log", FileException::DiskFull);
    FileException copy = original;
    EXPECT_EQ("C:\\Apps\\setup.log", copy.fileName());
    EXPECT_EQ(5, copy.code());
    EXPECT_EQ(AppException::KindFile, copy.kind());
}

TEST(SetupReport, FormatsEachKind) {
    ErrorReport file = setupReport(std::make_exception_ptr(FileException("English.dat", 2)));
    EXPECT_EQ("Can not open file: \"English.dat\"", file.text);
    EXPECT_EQ("Error", file.caption);
    EXPECT_EQ(0x30u, file.style);

    ErrorReport unknownCode = setupReport(std::make_exception_ptr(FileException("a.ini", -1)));
    EXPECT_EQ("Unknown error: \"a.ini\"", unknownCode.text);

    ErrorReport other = setupReport(std::make_exception_ptr(42));
    EXPECT_EQ("Unknown", other.text);
    EXPECT_EQ("Exception", other.caption);
    EXPECT_EQ(0x30u, other.style);
}

namespace {
void setLastSystemError(uint32_t code) {
#ifdef _WIN32
    SetLastError(code);
#else
    errno = static_cast<int>(code);
#endif
}
}  // namespace

TEST(SetupReport, WinExceptionShowsMessageAndCodeTakenAtConstruction) {
    setLastSystemError(1234);
    WinException failure("Couldn't initialize COM");
    setLastSystemError(5);  // later errors do not change the report
    ErrorReport report = setupReport(std::make_exception_ptr(failure));
    EXPECT_EQ("Couldn't initialize COM, Error 1234", report.text);
    EXPECT_EQ("Exception", report.caption);
    EXPECT_EQ(AppException::KindWin, failure.kind());

    setLastSystemError(0);  // after a call that succeeded the code is 0
    EXPECT_EQ("Out of memory, Error 0", setupReport(std::make_exception_ptr(WinException("Out of memory"))).text);
}

TEST(UninstallReport, DispatchesOnKind) {
    EXPECT_FALSE(uninstallReport(std::make_exception_ptr(FileException("setup.log", 2))).has_value());
    auto model = uninstallReport(std::make_exception_ptr(ModelException(1)));
    ASSERT_TRUE(model.has_value());
    EXPECT_EQ("Model Exception", model->text);
    EXPECT_EQ("Exception", model->caption);
    auto other = uninstallReport(std::make_exception_ptr(std::runtime_error("x")));
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ("Unknown", other->text);
}

TEST(DeferredFailures, AreHandedOverOnceInOrder) {
    deferFailure(std::make_exception_ptr(FileException("C:\\A\\setup.log", 5)));
    deferFailure(std::make_exception_ptr(FileException("C:\\A\\error.log", 5)));
    std::vector<std::exception_ptr> failures = takeDeferredFailures();
    ASSERT_EQ(2u, failures.size());
    EXPECT_EQ("The disk is full: \"C:\\A\\setup.log\"", setupReport(failures[0]).text);
    EXPECT_EQ("The disk is full: \"C:\\A\\error.log\"", setupReport(failures[1]).text);
    EXPECT_TRUE(takeDeferredFailures().empty());
}

// createPath on the paths only Windows has: drive roots and UNC names. The walk
// itself is recorded in path_walk_test.cpp; here the real system answers.
#include "file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(CreatePathWindows, DriveRootPathCreatesBothLevels) {
    std::string top = "C:\\zrtest_createpath_" + std::to_string(GetCurrentProcessId());
    zrtest::removeTree(top);
    EXPECT_TRUE(createPath((top + "\\B\\").c_str()));
    EXPECT_TRUE(zrtest::exists(top));
    EXPECT_TRUE(zrtest::exists(top + "\\B"));
    EXPECT_FALSE(createPath((top + "\\B").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    zrtest::removeTree(top);
}

TEST(CreatePathWindows, UncPathsFailWithoutAnyServer) {
    // Wine reaches no server: every try fails with "path not found", never with
    // "already exists", which callers would take for success.
    struct Row {
        const char* comment;
        const char* path;
    } rows[] = {
        {"a folder below the share", "\\\\server\\share\\dir"},
        {"two levels below the share", "\\\\server\\share\\a\\b\\"},
        {"server and share only", "\\\\server\\share"},
        {"the server alone", "\\\\server"},
    };
    for (const Row& row : rows) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(createPath(row.path)) << row.comment;
        EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), GetLastError()) << row.comment;
        EXPECT_NE(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError()) << row.comment;
        EXPECT_FALSE(lastErrorIsAlreadyExists()) << row.comment;
    }
}

// addWinInitRename on the real WinInit.ini of the prefix's Windows folder, with
// the table the pure insertion is tested with.
#include "shared_files.h"

#include "win_init_cases.h"
#include "win_init_file.h"

#include <gtest/gtest.h>

TEST(AddWinInitRename, EditsTheFileByteForByte) {
    for (const WinInitCase& row : winInitCases()) {
        WinInitFile winInit;
        if (row.fileExists)
            zrtest::writeFile(winInit.path(), row.before);
        for (const auto& rename : row.renames)
            EXPECT_TRUE(addWinInitRename(rename.first, rename.second)) << row.comment;
        EXPECT_EQ(row.after, zrtest::readFile(winInit.path())) << row.comment;
    }
}

TEST(AddWinInitRename, OverlongLineLeavesTheFileAlone) {
    WinInitFile winInit;
    zrtest::writeFile(winInit.path(), "[Rename]\r\n");
    std::string source(600, 's'), destination(600, 'd');
    EXPECT_FALSE(addWinInitRename(source.c_str(), destination.c_str()));
    EXPECT_EQ("[Rename]\r\n", zrtest::readFile(winInit.path()));
}

TEST(AddWinInitRename, FileInUseIsLeftAlone) {
    // Opened without sharing for the whole edit: a second writer is turned away.
    WinInitFile winInit;
    zrtest::writeFile(winInit.path(), "[Rename]\r\n");
    HANDLE other = CreateFileA(winInit.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_FALSE(addWinInitRename("C:\\x.tmp", "C:\\x.dll"));
    CloseHandle(other);
    EXPECT_EQ("[Rename]\r\n", zrtest::readFile(winInit.path()));
}

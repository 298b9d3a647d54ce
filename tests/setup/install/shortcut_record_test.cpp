#include "shortcut_record.h"

#include <gtest/gtest.h>

TEST(ShortcutKind, FirstCharacterCaseIncluded) {
    struct Row {
        const char* type;
        ShortcutKind expected;
    } rows[] = {
        {"s", ShortcutKind::ShellLink},
        {"shortcut", ShortcutKind::ShellLink},  // only the first character counts
        {"i", ShortcutKind::InternetShortcut},
        {"w", ShortcutKind::InternetShortcut},
        {"S", ShortcutKind::None},              // case counts
        {"I", ShortcutKind::None},
        {"x", ShortcutKind::None},
        {"", ShortcutKind::None},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, shortcutKind(row.type)) << '"' << row.type << '"';
    EXPECT_STREQ(".lnk", shortcutExtension(ShortcutKind::ShellLink));
    EXPECT_STREQ(".url", shortcutExtension(ShortcutKind::InternetShortcut));
    EXPECT_STREQ("", shortcutExtension(ShortcutKind::None));
}

TEST(LinkFolder, PartBeforeTheLastBackslash) {
    EXPECT_EQ("C:\\Menu\\Prod", linkFolder("C:\\Menu\\Prod\\App"));
    EXPECT_EQ("C:", linkFolder("C:\\App"));
    EXPECT_EQ("", linkFolder("App"));                       // no folder
    EXPECT_EQ("C:\\Menu\\", linkFolder("C:\\Menu\\\\App"));  // a doubled separator stays
}

TEST(ShortcutFolderSteps, UpperLevelsFirstThenTheFolder) {
    using Steps = std::vector<std::string>;
    struct Row {
        const char* folder;
        Steps expected;
    } rows[] = {
        {"C:\\Menu\\Prod", {"C:\\Menu", "C:\\Menu\\Prod"}},
        {"C:\\A\\B\\C", {"C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}},
        {"C:\\Menu", {"C:\\Menu"}},
        // a trailing backslash is not a step of its own
        {"C:\\Menu\\", {"C:\\Menu\\"}},
        // drive roots and the empty folder need nothing
        {"C:\\", {}},
        {"C:", {}},
        {"", {}},
        // paths without a drive are walked from their second character
        {"\\Menu\\Prod", {"\\Menu", "\\Menu\\Prod"}},
        {"Menu\\Prod", {"Menu", "Menu\\Prod"}},
        // a UNC path's first step is the current drive's root, which exists already
        {"\\\\server\\share\\Menu", {"\\", "\\\\server", "\\\\server\\share", "\\\\server\\share\\Menu"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, shortcutFolderSteps(row.folder)) << row.folder;
}

TEST(IsDrivePath, SecondCharacterIsAColon) {
    EXPECT_TRUE(isDrivePath("C:"));
    EXPECT_TRUE(isDrivePath("C:\\Menu"));
    EXPECT_FALSE(isDrivePath("C"));
    EXPECT_FALSE(isDrivePath("\\\\server\\share"));
    EXPECT_FALSE(isDrivePath(""));
}

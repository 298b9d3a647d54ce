#include "file_record.h"

#include <gtest/gtest.h>

#include <climits>

TEST(FileRecord, FieldsTwoToFive) {
    struct Row {
        const char* record;
        bool parsed;
        const char* entry;
        const char* target;
        int flags;
        int mode;
    } rows[] = {
        {",AppDir\\Y.ico,C:\\P\\Y.ico,1,0", true, "AppDir\\Y.ico", "C:\\P\\Y.ico", 1, 0},
        {"x,a.txt,C:\\a.txt,6,5", true, "a.txt", "C:\\a.txt", 6, 5},       // field 1 is read and dropped
        {",a.txt,C:\\a.txt", true, "a.txt", "C:\\a.txt", 0, 0},             // missing flags and mode count 0
        {",a.txt,C:\\a.txt,,", true, "a.txt", "C:\\a.txt", 0, 0},           // empty ones too
        {",a.txt,C:\\a.txt,4x,2y", true, "a.txt", "C:\\a.txt", 4, 2},       // atoi: leading digits
        {",a.txt,C:\\a.txt,yes,no", true, "a.txt", "C:\\a.txt", 0, 0},      // no digits at all
        {",a.txt,C:\\a.txt,8,1,extra,more", true, "a.txt", "C:\\a.txt", 8, 1},  // fields after the fifth
        {",a.txt,,2,0", true, "a.txt", "", 2, 0},                           // three fields, however empty
        {",,", true, "", "", 0, 0},
        {",AppDir\\a.txt", false, "", "", 0, 0},                            // two fields: ignored
        {"", false, "", "", 0, 0},
    };
    for (const Row& row : rows) {
        FileRecord file;
        ASSERT_EQ(row.parsed, parseFileRecord(row.record, &file)) << row.record;
        if (!row.parsed)
            continue;
        EXPECT_EQ(row.entry, file.entryName) << row.record;
        EXPECT_EQ(row.target, file.targetPath) << row.record;
        EXPECT_EQ(row.flags, file.flags) << row.record;
        EXPECT_EQ(row.mode, file.mode) << row.record;
    }
}

TEST(FileRecord, TargetFolderBeforeTheLastBackslash) {
    EXPECT_EQ("C:\\P", targetFolder("C:\\P\\Y.ico"));
    EXPECT_EQ("C:", targetFolder("C:\\Y.ico"));
    EXPECT_EQ("\\\\server\\share", targetFolder("\\\\server\\share\\a.dll"));
    EXPECT_EQ("", targetFolder("Y.ico"));  // no folder: createPath refuses, the record is skipped
}

TEST(OverwriteMode, WhatHappensToAnExistingTarget) {
    struct Row {
        int mode;
        ExistingTarget expected;
    } rows[] = {
        {0, ExistingTarget::Overwrite},
        {1, ExistingTarget::Compare},
        {6, ExistingTarget::Compare},
        {7, ExistingTarget::Keep},
        {-1, ExistingTarget::Keep},  // "any other value" includes negative ones
        {INT_MAX, ExistingTarget::Keep},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, existingTarget(row.mode)) << row.mode;
}

TEST(OverwriteMode, VersionRule) {
    VersionStamp none;
    VersionStamp v15{true, 0x00010005, 0};
    VersionStamp v20{true, 0x00020000, 0};
    VersionStamp v20b{true, 0x00020000, 1};  // same first half, higher second
    struct Row {
        int mode;
        VersionStamp packaged;
        VersionStamp installed;
        bool replaces;
    } rows[] = {
        {1, v15, v20, false},   // lower: kept
        {1, v20, v20, true},    // the same: replaced
        {2, v20, v20, false},   // the same under mode 2: kept
        {2, v20b, v20, true},   // higher in the second half only
        {2, v20, v20b, false},
        {2, {true, 0x00010000, 0xFFFFFFFF}, {true, 0x00020000, 0}, false},  // first halves decide
        {5, v20, v15, true},
        {6, v20, v20, false},
        {1, none, v15, false},  // either side without version information: kept
        {1, v15, none, false},
        {3, v20, v15, false},   // modes without the version rule never replace by version
        {0, v20, v15, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.replaces, versionReplaces(row.mode, row.packaged, row.installed)) << "mode " << row.mode;
    for (int mode : {1, 2, 5, 6})
        EXPECT_TRUE(comparesVersions(mode)) << mode;
    for (int mode : {0, 3, 4, 7})
        EXPECT_FALSE(comparesVersions(mode)) << mode;
}

TEST(OverwriteMode, TimeRule) {
    struct Row {
        int mode;
        int comparison;  // packaged against installed
        bool replaces;
    } rows[] = {
        {3, 1, true},     // later
        {3, 0, true},     // the same
        {3, -1, false},   // earlier
        {4, 1, true},
        {4, 0, false},    // the same is not enough
        {5, 0, true},
        {6, 0, false},
        {6, 1, true},
        {1, 1, false},    // modes without the time rule
        {2, 1, false},
        {7, 1, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.replaces, timeReplaces(row.mode, row.comparison)) << row.mode << " " << row.comparison;
    for (int mode : {3, 4, 5, 6})
        EXPECT_TRUE(comparesTimes(mode)) << mode;
    for (int mode : {0, 1, 2, 7})
        EXPECT_FALSE(comparesTimes(mode)) << mode;
}

TEST(DosDateTime, PackedFields) {
    struct Row {
        uint32_t packed;
        DosDateTime time;
        bool valid;
    } rows[] = {
        {0x00210000, {1980, 1, 1, 0, 0, 0}, true},          // the first moment DOS knows
        {0x34A56B3D, {2006, 5, 5, 13, 25, 58}, true},
        {0xFF9FBF7D, {2107, 12, 31, 23, 59, 58}, true},     // the last one
        {0x00000000, {1980, 0, 0, 0, 0, 0}, false},         // month and day 0
        {0x34A5C000, {2006, 5, 5, 24, 0, 0}, false},        // hour 24
        {0x2C5D0000, {2002, 2, 29, 0, 0, 0}, false},        // no leap year
        {0x305D0000, {2004, 2, 29, 0, 0, 0}, true},         // a leap year
    };
    for (const Row& row : rows) {
        DosDateTime t = unpackDosDateTime(row.packed);
        EXPECT_EQ(row.time.year, t.year) << std::hex << row.packed;
        EXPECT_EQ(row.time.month, t.month) << std::hex << row.packed;
        EXPECT_EQ(row.time.day, t.day) << std::hex << row.packed;
        EXPECT_EQ(row.time.hour, t.hour) << std::hex << row.packed;
        EXPECT_EQ(row.time.minute, t.minute) << std::hex << row.packed;
        EXPECT_EQ(row.time.second, t.second) << std::hex << row.packed;
        EXPECT_EQ(row.valid, isValidDosDateTime(t)) << std::hex << row.packed;
        EXPECT_EQ(row.packed, packDosDateTime(row.time)) << std::hex << row.packed;
    }
    DosDateTime odd{2006, 5, 5, 13, 25, 59};
    EXPECT_EQ(0x34A56B3Du, packDosDateTime(odd)) << "odd seconds round down";
}

TEST(FreeDiskSpace, DriveRootOrPathAsGiven) {
    struct Row {
        const char* path;
        const char* root;
    } rows[] = {
        {"C:\\Program Files\\X", "C:\\"},
        {"d:\\", "d:\\"},
        {"E:", "E:\\"},                                      // a bare drive
        {"C:relative", "C:\\"},                              // the drive's root all the same
        {"\\\\server\\share\\dir", "\\\\server\\share\\dir"},  // UNC: unchanged
        {"Program Files", "Program Files"},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.root, diskSpaceRoot(row.path)) << row.path;
}

TEST(FreeDiskSpace, KilobytesStopAtTheLargest32BitValue) {
    EXPECT_EQ(0u, kilobytesOf(1023));
    EXPECT_EQ(1u, kilobytesOf(1024));
    EXPECT_EQ(2097152u, kilobytesOf(uint64_t{2} << 30));   // 2 GB
    EXPECT_EQ(UINT32_MAX, kilobytesOf((uint64_t{1} << 42) - 1));  // just under 4 TB: the exact largest value
    EXPECT_EQ(UINT32_MAX, kilobytesOf(uint64_t{5} << 40));  // 5 TB would wrap to 1 TB
}

#include "record_fields.h"

#include <gtest/gtest.h>

TEST(SplitRecord, FieldsAtEveryCommaWithoutQuotingOrTrimming) {
    using Fields = std::vector<std::string>;
    struct Row {
        const char* comment;
        const char* record;
        size_t count;
        Fields expected;
    } rows[] = {
        {"all fields present", "key,HKLM,SOFTWARE\\X", 3, {"key", "HKLM", "SOFTWARE\\X"}},
        {"missing trailing fields are empty", "key", 3, {"key", "", ""}},
        {"fields after the last are dropped", "value,HKLM,X,Path,S,C:\\A,B", 6, {"value", "HKLM", "X", "Path", "S", "C:\\A"}},
        {"blanks and quotes stay", " a , \"b\" ", 2, {" a ", " \"b\" "}},
        {"empty record has one empty field", "", 2, {"", ""}},
        {"empty middle fields", ",AppDir\\a.txt,,", 5, {"", "AppDir\\a.txt", "", "", ""}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, splitRecord(row.record, row.count)) << row.comment;
}

TEST(FieldCount, IsCommasPlusOne) {
    EXPECT_EQ(1u, fieldCount(""));
    EXPECT_EQ(2u, fieldCount(",AppDir\\a.txt"));
    EXPECT_EQ(5u, fieldCount(",a,b,1,0"));
}

TEST(ParseDecimal, FollowsAtoi) {
    struct Row {
        const char* text;
        int expected;
    } rows[] = {
        {"6", 6}, {"  12", 12}, {"-3", -3}, {"+4", 4}, {"7x", 7}, {"x7", 0}, {"", 0},
        {"99999999999", 2147483647},  // clamped instead of overflowing
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, parseDecimal(row.text)) << row.text;
}

#include "language_list.h"

#include <gtest/gtest.h>

TEST(LanguageList, ItemsAreSplitAtCommas) {
    struct Row {
        const char* comment;
        const char* list;
        int index;
        bool found;
        const char* name;
    } rows[] = {
        {"first of three", "English,Dansk,Russian", 0, true, "English"},
        {"last of three", "English,Dansk,Russian", 2, true, "Russian"},
        {"past the end: not found, English", "English,Dansk,Russian", 3, false, "English"},
        {"a trailing comma starts no item", "English,", 1, false, "English"},
        {"the item before a trailing comma", "English,", 0, true, "English"},
        {"a leading comma starts an empty item", ",English", 0, true, ""},
        {"and the name after it is item 1", ",English", 1, true, "English"},
        {"blanks are kept", "English, Dansk", 1, true, " Dansk"},
        {"an empty list has one empty item", "", 0, true, ""},
        {"and no second", "", 1, false, "English"},
        {"empty item between two commas", "A,,B", 1, true, ""},
        {"negative index", "English", -1, false, "English"},
    };
    for (const Row& row : rows) {
        std::string name = "unchanged";
        EXPECT_EQ(row.found, languageListItem(row.list, row.index, &name)) << row.comment;
        EXPECT_EQ(row.name, name) << row.comment;
    }
}

TEST(LanguageList, OverlongNameIsCutTo1023Characters) {
    std::string longName(2000, 'L');
    std::string name;
    EXPECT_TRUE(languageListItem("English," + longName + ",Dansk", 1, &name));
    EXPECT_EQ(std::string(kMaxLanguageName, 'L'), name);
    EXPECT_TRUE(languageListItem("English," + longName + ",Dansk", 2, &name));  // later items unaffected
    EXPECT_EQ("Dansk", name);
}

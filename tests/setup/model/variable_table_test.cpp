#include "variable_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string expanded(const VariableTable& table, std::string text) {
    table.expand(text);
    return text;
}

}  // namespace

TEST(VariableTable, ExpandRescansReplacementInPlace) {
    VariableTable table;
    table.setVariable("ProductName", "50% Off");
    table.setVariable("ProductVersion", "2.0");
    table.setVariable("AppDir", "%ProgramFiles%\\%ProductName2%");
    table.setVariable("ProgramFiles", "C:\\Program Files");
    table.setVariable("ProductName2", "Tool");
    table.setVariable("Blank", "");
    table.setVariable("Spaced Name", "s");

    struct Row {
        const char* comment;
        const char* text;
        const char* expected;
    } rows[] = {
        {"the sign inside the value pairs with the next reference", "%ProductName% %ProductVersion%",
         "50ProductVersion%"},
        {"two unrelated signs swallow what lies between", "5% or 10%", "5"},
        {"%% is removed", "a%%b", "ab"},
        {"a lone sign stays", "50%", "50%"},
        {"an unknown name vanishes", "x%Nothing%y", "xy"},
        {"references inside values expand in turn", "%AppDir%\\bin", "C:\\Program Files\\Tool\\bin"},
        {"an empty value removes the reference", "[%Blank%]", "[]"},
        {"names may hold blanks", "%Spaced Name%", "s"},
        {"names are case-sensitive", "%productversion%", ""},
        {"text without signs is untouched", "plain", "plain"},
        {"empty text", "", ""},
        {"scanning goes on after a lone sign's partner", "%ProductVersion%%", "2.0%"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, expanded(table, row.text)) << row.comment;
}

TEST(VariableTable, GetVariableExpandsAndNeverInserts) {
    VariableTable table;
    table.setVariable("A", "raw %B%");
    table.setVariable("B", "b");
    EXPECT_EQ("raw b", table.getVariable("A"));
    ASSERT_NE(nullptr, table.rawValue("A"));
    EXPECT_EQ("raw %B%", *table.rawValue("A"));  // stored raw

    EXPECT_EQ("", table.getVariable("Unset"));
    EXPECT_EQ(nullptr, table.rawValue("Unset"));  // reading added nothing

    table.setVariable("B", "c");  // a later change shows through
    EXPECT_EQ("raw c", table.getVariable("A"));
    EXPECT_EQ("", table.getVariable("a"));  // byte-for-byte names
}

TEST(VariableTable, SelfReferenceEndsAtNestingLimit) {
    VariableTable table;
    table.setVariable("Self", "x%Self%");
    table.setVariable("A", "a%B%");
    table.setVariable("B", "b%A%");
    table.setVariable("OnlySelf", "%OnlySelf%");

    // Reading Self: the value at depth 0 plus 16 nested substitutions, each adding
    // one "x"; the reference met at depth 16 vanishes.
    EXPECT_EQ(std::string(VariableTable::kMaxNesting + 1, 'x'), table.getVariable("Self"));
    // Mutual reference alternates the same way.
    EXPECT_EQ("abababababababab" "a", table.getVariable("A"));
    EXPECT_EQ("", table.getVariable("OnlySelf"));
    // Text after the runaway reference survives.
    EXPECT_EQ(std::string(16, 'x') + "!", expanded(table, "%Self%!"));
}

TEST(VariableTable, NestingUpToTheLimitExpandsFully) {
    // 16 nested substitutions, the deepest that still expands; sound scripts come
    // nowhere near it.
    VariableTable table;
    const int last = VariableTable::kMaxNesting - 1;
    for (int i = 0; i < last; ++i)
        table.setVariable("V" + std::to_string(i), "<%V" + std::to_string(i + 1) + "%>");
    table.setVariable("V" + std::to_string(last), "end");
    EXPECT_EQ(std::string(last, '<') + "end" + std::string(last, '>'), expanded(table, "%V0%"));

    // One level more and the innermost reference vanishes.
    table.setVariable("V" + std::to_string(last), "<%Deeper%>");
    table.setVariable("Deeper", "end");
    EXPECT_EQ(std::string(last + 1, '<') + std::string(last + 1, '>'), expanded(table, "%V0%"));
}

TEST(VariableTable, FanOutBombStopsAtSubstitutionLimit) {
    VariableTable table;
    // Each substitution yields one "a" and two more references: without a bound
    // the text doubles at every level.
    table.setVariable("A", "a%A%%A%");
    std::string text = "%A%";
    table.expand(text);
    EXPECT_EQ(std::string(VariableTable::kMaxSubstitutions, 'a'), text);

    // Once the limit is reached every remaining reference vanishes, also ones that
    // would be harmless, while plain text stays.
    table.setVariable("Bomb", "%A%%A%%A%%A%%A%%A%%A%%A%");
    table.setVariable("Fine", "fine");
    std::string mixed = "%Bomb%|%Fine%|";
    table.expand(mixed);
    EXPECT_EQ(std::string(VariableTable::kMaxSubstitutions - 1, 'a') + "||", mixed);
}

TEST(VariableTable, IsTrueReadsTheFirstCharacter) {
    struct Row {
        const char* value;  // nullptr: never set
        bool expected;
    } rows[] = {
        {"Yes", true},   {"y", true},     {"1", true},      {"Y-whatever", true},
        {"No", false},   {"True", false},  // only Y, y and 1 count
        {"0", false},    {"", false},      {nullptr, false}, {" Yes", false},  // no trimming
    };
    for (const Row& row : rows) {
        VariableTable table;
        if (row.value)
            table.setVariable("Switch", row.value);
        EXPECT_EQ(row.expected, table.isTrue("Switch")) << (row.value ? row.value : "(unset)");
    }

    VariableTable table;  // the expanded value counts
    table.setVariable("Answer", "Yes");
    table.setVariable("Switch", "%Answer%");
    EXPECT_TRUE(table.isTrue("Switch"));
}

// The line numbers of sections, keys and records, found by the same searches
// as IniDocument's, so that they point at what setup reads.
#include <gtest/gtest.h>

#include "ini_document.h"
#include "script_locator.h"

namespace {

struct LocatorCase {
    const char* what;
    std::string text;
    const char* section;
    std::vector<int> recordLines;
};

}  // namespace

TEST(ScriptLocator, RecordLinesAreThoseOfIniDocumentsRecords) {
    const LocatorCase cases[] = {
        // Plain records after the header.
        {"plain", "[A]\r\nx\r\ny\r\n", "A", {2, 3}},
        // Blank lines and lines of blanks are no records.
        {"blanks", "[A]\r\n\r\n  \t\r\nx\r\n\r\ny\r\n", "A", {4, 6}},
        // The section ends at a line that begins with "[".
        {"next section", "[A]\r\nx\r\n[B]\r\ny\r\n", "A", {2}},
        // The first occurrence of the header wins, also inside a value.
        {"header in a value", "[B]\r\nk=[A]\r\nx\r\n[A]\r\ny\r\n", "A", {3}},
        // A last line without CR LF is no record.
        {"unterminated last line", "[A]\r\nx\r\ny", "A", {2}},
        // Lines that end in LF alone belong to the line before.
        {"bare LF", "[A]\r\nx\ny\r\nz\r\n", "A", {2, 4}},
        // No such section.
        {"missing", "[B]\r\nx\r\n", "A", {}},
    };
    for (const LocatorCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptLocator locator(c.text);
        EXPECT_EQ(c.recordLines, locator.recordLines(c.section));
        IniDocument document;
        document.setText(c.text);
        ASSERT_EQ(static_cast<int>(c.recordLines.size()), document.recordCount(c.section));
        // Each record starts the line the locator names.
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t lf = c.text.find('\n'); start <= c.text.size();
             start = lf + 1, lf = c.text.find('\n', start)) {
            lines.push_back(c.text.substr(start, lf == std::string::npos ? std::string::npos : lf - start));
            if (lf == std::string::npos)
                break;
        }
        for (size_t i = 0; i < c.recordLines.size(); ++i) {
            std::string record;
            ASSERT_TRUE(document.record(c.section, static_cast<int>(i), &record));
            EXPECT_EQ(0u, lines.at(static_cast<size_t>(c.recordLines[i] - 1)).find(record.substr(0, 1)));
        }
    }
}

TEST(ScriptLocator, KeyAndSectionLines) {
    const std::string text =
        "[A]\r\n"          // 1
        "Name=1\r\n"       // 2
        "OtherKey=2\r\n"   // 3
        "Key=3\r\n"        // 4
        "[B]\r\n"          // 5
        "Key=4\r\n";       // 6
    ScriptLocator locator(text);
    struct Case {
        const char* section;
        const char* key;
        int line;
    } cases[] = {
        {"A", "Name", 2},
        {"A", "Key", 3},   // a plain search: "OtherKey=" holds "Key=", as setup finds it
        {"B", "Key", 6},
        {"A", "Missing", 0},
        {"C", "Key", 0},   // no such section
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " " + c.key);
        EXPECT_EQ(c.line, locator.keyLine(c.section, c.key));
    }
    IniDocument document;
    document.setText(text);
    EXPECT_EQ("2", document.getString("A", "Key", ""));  // the line named above is the one setup reads
    EXPECT_EQ(1, locator.sectionLine("A"));
    EXPECT_EQ(5, locator.sectionLine("B"));
    EXPECT_EQ(0, locator.sectionLine("C"));
}

TEST(ScriptLocator, BareLineFeedsFound) {
    struct Case {
        const char* text;
        int firstLine;
        int count;
    } cases[] = {
        {"a\r\nb\r\n", 0, 0},    // CR LF throughout
        {"a\nb\n", 1, 2},        // LF alone throughout
        {"a\r\nb\nc\r\n", 2, 1}, // one line in the middle
        {"\n", 1, 1},            // a first empty line
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        BareLineFeeds found = findBareLineFeeds(c.text);
        EXPECT_EQ(c.firstLine, found.firstLine);
        EXPECT_EQ(c.count, found.count);
    }
}

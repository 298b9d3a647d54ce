#include "errors.h"
#include "file.h"
#include "ini_document.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

IniDocument doc(const std::string& text) {
    IniDocument d;
    d.setText(text);
    return d;
}

std::string recordAt(const IniDocument& d, const std::string& section, int index) {
    std::string line = "unchanged";
    bool found = d.record(section, index, &line);
    return found ? line : "<none:" + line + ">";
}

}  // namespace

TEST(IniDocument, GetStringRules) {
    struct Row {
        const char* comment;
        const char* text;
        const char* section;
        const char* key;
        const char* expected;
    } rows[] = {
        {"plain value", "[S]\r\nK=v\r\n", "S", "K", "v"},
        {"missing section gives the fallback", "[S]\r\nK=v\r\n", "T", "K", "<fb>"},
        {"missing key gives the fallback", "[S]\r\nK=v\r\n", "S", "X", "<fb>"},
        {"empty value is not the fallback", "[S]\r\nK=\r\n", "S", "K", ""},
        {"first of two equal sections wins", "[S]\r\nK=1\r\n[S]\r\nK=2\r\n", "S", "K", "1"},
        {"first of two equal keys wins", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "1"},
        {"blanks around = do not define the key", "[S]\r\nK = v\r\n", "S", "K", "<fb>"},
        {"trailing blanks are kept", "[S]\r\nK=v  \r\n", "S", "K", "v  "},
        {"names are case-sensitive", "[S]\r\nk=v\r\n", "S", "K", "<fb>"},
        {"key found inside a longer key", "[S]\r\nAK=1\r\nK=2\r\n", "S", "K", "1"},
        {"a [ inside a value ends the section for later keys", "[A]\r\nX=[1]\r\nY=2\r\n", "A", "Y", "<fb>"},
        {"the value with the [ is still found", "[A]\r\nX=[1]\r\nY=2\r\n", "A", "X", "[1]"},
        {"key of the next section is not seen", "[A]\r\nX=1\r\n[B]\r\nY=2\r\n", "A", "Y", "<fb>"},
        {"last line without CR LF runs to the end", "[S]\r\nK=tail", "S", "K", "tail"},
        {"LF-only file: value runs to the section end", "[S]\nK=v\nL=w\n[T]\n", "S", "K", "v\nL=w\n"},
        {"header inside an earlier value is found first", "[X]\r\nV=[SETUP_INFO]\r\nK=fake\r\n[SETUP_INFO]\r\nK=real\r\n",
         "SETUP_INFO", "K", "fake"},
        {"header need not start a line", "junk[S]K=v\r\n", "S", "K", "v"},
        {"the value ends at CR even without LF", "[S]\r\nK=a\rb\r\n", "S", "K", "a"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, doc(row.text).getString(row.section, row.key, "<fb>")) << row.comment;
}

TEST(IniDocument, GetBoolRules) {
    struct Row {
        const char* value;  // nullptr: the key is missing
        bool fallback;
        bool expected;
    } rows[] = {
        {"yes", false, true},
        {"Yes", false, true},
        {"TRUE", false, true},
        {"true", false, true},
        {"1abc", false, true},   // a leading 1 is enough
        {"yes ", true, false},   // the whole value must match
        {"Y", true, false},
        {"On", true, false},
        {"0", true, false},
        {"no", true, false},
        {"", true, true},        // empty value: the fallback
        {"", false, false},
        {nullptr, true, true},   // missing key: the fallback
    };
    for (const Row& row : rows) {
        std::string text = "[S]\r\n";
        if (row.value)
            text += std::string("K=") + row.value + "\r\n";
        EXPECT_EQ(row.expected, doc(text).getBool("S", "K", row.fallback))
            << (row.value ? row.value : "(missing)") << " fallback " << row.fallback;
    }
}

TEST(IniDocument, RecordsSkipBlankLinesAndStopAtALineStartingWithBracket) {
    IniDocument d = doc("[A]\r\nX=[1]\r\n\r\n \t \r\nY=2\r\n;not a comment\r\n[B]\r\nZ\r\n");
    EXPECT_EQ(3, d.recordCount("A"));
    EXPECT_EQ("X=[1]", recordAt(d, "A", 0));  // a [ inside a line does not end records
    EXPECT_EQ("Y=2", recordAt(d, "A", 1));    // blank lines and lines of blanks are skipped
    EXPECT_EQ(";not a comment", recordAt(d, "A", 2));
    EXPECT_EQ("<none:>", recordAt(d, "A", 3));
    EXPECT_EQ("<none:>", recordAt(d, "A", -1));
    EXPECT_EQ(1, d.recordCount("B"));
    EXPECT_EQ(0, d.recordCount("C"));
    EXPECT_EQ("<none:>", recordAt(d, "C", 0));
}

TEST(IniDocument, LastLineWithoutCrLfIsAValueButNotARecord) {
    IniDocument d = doc("[S]\r\nA=1\r\nB=2");
    EXPECT_EQ(1, d.recordCount("S"));
    EXPECT_EQ("A=1", recordAt(d, "S", 0));
    EXPECT_EQ("2", d.getString("S", "B", ""));
    // A final CR LF ends the text: the empty rest is no line.
    EXPECT_EQ(2, doc("[S]\r\nA=1\r\nB=2\r\n").recordCount("S"));
}

TEST(IniDocument, LineFeedOnlyFileHasNoRecords) {
    EXPECT_EQ(0, doc("[S]\nA\nB\n").recordCount("S"));
}

TEST(IniDocument, LoadReadsTheWholeFileAndNamesTheBareNameOnFailure) {
    zrtest::TempDir dir;
    const std::string bytes = "[S]\r\nK=v\r\nrecord\r\n";
    zrtest::writeFile(dir.file("a.ini"), bytes);
    IniDocument d;
    d.load(dir.path(), "a.ini");
    EXPECT_EQ(bytes, d.text());
    d.load(dir.path() + kPathSeparator, "a.ini");  // a folder ending in a separator
    EXPECT_EQ(bytes, d.text());

    zrtest::writeFile(dir.file("empty.ini"), "");
    d.load(dir.path(), "empty.ini");
    EXPECT_EQ("", d.text());

    try {
        d.load(dir.path(), "missing.ini");
        FAIL() << "no exception";
    } catch (const FileException& e) {
        EXPECT_EQ("missing.ini", e.fileName());
        EXPECT_EQ(FileException::CannotOpen, e.code());
    }
}

#include "deferred_replace.h"

#include "win_init_cases.h"

#include <gtest/gtest.h>

#include <set>

TEST(BackupName, NumbersTheNameInTheSameFolder) {
    struct Row {
        const char* comment;
        const char* target;
        std::set<std::string> existing;
        const char* backup;
    } rows[] = {
        {"dll becomes the first free number", "C:\\App\\tool.dll", {}, "C:\\App\\tool.001"},
        {"taken numbers are skipped", "C:\\App\\tool.dll", {"C:\\App\\tool.001", "C:\\App\\tool.002"},
         "C:\\App\\tool.003"},
        {"the last dll of the name", "C:\\App\\dll.dll", {}, "C:\\App\\dll.001"},
        {"dll inside the name", "C:\\App\\dllhost.exe", {}, "C:\\App\\001host.exe"},
        {"dll only in a folder: the folder stays", "C:\\dll\\readme.txt", {}, "C:\\dll\\readme.txt.001"},
        {"no dll: a numbered suffix", "C:\\App\\data.txt", {"C:\\App\\data.txt.001"}, "C:\\App\\data.txt.002"},
        {"upper-case DLL is not dll", "C:\\App\\TOOL.DLL", {}, "C:\\App\\TOOL.DLL.001"},
        {"a bare name", "tool.dll", {}, "tool.001"},
    };
    for (const Row& row : rows) {
        auto exists = [&](const std::string& name) { return row.existing.count(name) > 0; };
        EXPECT_EQ(row.backup, backupNameFor(row.target, exists)) << row.comment;
    }
}

TEST(BackupName, AllNumbersTakenGives998) {
    int asked = 0;
    auto everythingExists = [&](const std::string&) { return ++asked > 0; };
    EXPECT_EQ("C:\\App\\tool.998", backupNameFor("C:\\App\\tool.dll", everythingExists));
    EXPECT_EQ(998, asked);
}

TEST(WinInitRenameLine, DestinationEqualsSourceOrNul) {
    EXPECT_EQ("C:\\App\\a.dll=C:\\Temp\\x.tmp\r\n", winInitRenameLine("C:\\Temp\\x.tmp", "C:\\App\\a.dll"));
    EXPECT_EQ("NUL=C:\\App\\old.dll\r\n", winInitRenameLine("C:\\App\\old.dll", nullptr));
}

TEST(InsertRenameLine, EditsTheTextByteForByte) {
    for (const WinInitCase& row : winInitCases()) {
        std::string text = row.before;
        for (const auto& rename : row.renames) {
            std::string line = winInitRenameLine(rename.first, rename.second);
            // As the file mapping does: the old bytes, then room filled with zeros.
            std::string view = text + std::string(line.size() + kWinInitSlack, '\0');
            size_t size = insertRenameLine(&view[0], text.size(), line);
            ASSERT_LE(size, view.size()) << row.comment;
            EXPECT_EQ(std::string(line.size() + kWinInitSlack - (size - text.size()), '\0'), view.substr(size))
                << row.comment << ": nothing written past the new end";
            text = view.substr(0, size);
        }
        EXPECT_EQ(row.after, text) << row.comment;
    }
}

TEST(InsertRenameLine, HundredByteFixtureIsHundredBytes) { EXPECT_EQ(100u, hundredByteWinInit().size()); }

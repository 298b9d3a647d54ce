// The stub's unpacking folder: "zr" and a number in the temporary folder, new
// for every run. The numbers come from a list here instead of rand().
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file.h"
#include "test_support.h"
#include "unpack_folder.h"

using namespace zrtest;

namespace {

// The numbers the next createUnpackFolder call draws, and how many it drew.
std::vector<int> numbers;
size_t drawn = 0;

int nextNumber() {
    int number = drawn < numbers.size() ? numbers[drawn] : 30000 + static_cast<int>(drawn);
    ++drawn;
    return number;
}

void drawFrom(std::vector<int> list) {
    numbers = std::move(list);
    drawn = 0;
}

struct FolderCase {
    const char* what;
    std::vector<std::string> folders;  // made in the temporary folder first
    std::vector<std::string> files;    // likewise
    std::vector<int> numbers;
    const char* expected;  // the new folder's name, or nullptr for a failure
    size_t draws;          // how many numbers were drawn
};

const FolderCase kFolderCases[] = {
    // The first number gives a new folder.
    {"free", {}, {}, {18467}, "zr18467", 1},
    // Two packages started in the same second draw the same number: the second
    // takes the next one instead of sharing the first one's folder.
    {"taken", {"zr41"}, {}, {41, 18467}, "zr18467", 2},
    {"several taken", {"zr0", "zr1", "zr2"}, {}, {0, 1, 2, 3}, "zr3", 4},
    // A file of that name blocks the name just as well.
    {"file in the way", {}, {"zr7"}, {7, 8}, "zr8", 2},
    // Every number of the allowance is taken: the run gives up.
    {"all taken", {"zr5"}, {}, std::vector<int>(kMaxUnpackFolderTries, 5), nullptr, kMaxUnpackFolderTries},
};

}  // namespace

TEST(UnpackFolder, TakesTheFirstNumberWhoseNameIsFree) {
    for (const FolderCase& row : kFolderCases) {
        SCOPED_TRACE(row.what);
        TempDir temp;
        for (const std::string& name : row.folders)
            ASSERT_TRUE(createPath(temp.file(name).c_str()));
        for (const std::string& name : row.files)
            writeFile(temp.file(name), "not a folder");
        drawFrom(row.numbers);

        std::string folder = "unchanged";
        const bool created = createUnpackFolder(temp.path(), nextNumber, &folder);
        EXPECT_EQ(row.draws, drawn);
        if (!row.expected) {
            EXPECT_FALSE(created);
            EXPECT_EQ("unchanged", folder);
            continue;
        }
        ASSERT_TRUE(created);
        EXPECT_EQ(temp.file(row.expected), folder);
        EXPECT_TRUE(exists(folder));
        // What was there before is left alone.
        for (const std::string& name : row.files)
            EXPECT_EQ("not a folder", readFile(temp.file(name)));
    }
}

TEST(UnpackFolder, OneSeparatorAfterATemporaryFolderThatEndsInOne) {
    TempDir temp;
    drawFrom({12});
    std::string folder;
    ASSERT_TRUE(createUnpackFolder(temp.path() + kPathSeparator, nextNumber, &folder));
    EXPECT_EQ(temp.file("zr12"), folder);
}

TEST(UnpackFolder, MissingTemporaryFolderIsCreatedWithItsParents) {
    TempDir temp;
    const std::string missing = joinPath(temp.file("gone"), "deeper");
    drawFrom({3});
    std::string folder;
    ASSERT_TRUE(createUnpackFolder(missing, nextNumber, &folder));
    EXPECT_EQ(joinPath(missing, "zr3"), folder);
    EXPECT_TRUE(exists(folder));
}

TEST(UnpackFolder, FailsWithoutWritingWhenNoFolderCanBeMade) {
    TempDir temp;
    // No temporary folder at all: a relative name would land in the current
    // folder, so nothing is tried.
    drawFrom({1});
    std::string folder = "unchanged";
    EXPECT_FALSE(createUnpackFolder("", nextNumber, &folder));
    EXPECT_EQ(0u, drawn);
    EXPECT_FALSE(exists("zr1"));

    // A temporary folder that is a file: no number can help, so the first
    // failure ends the search.
    writeFile(temp.file("plain"), "a file");
    drawFrom({1, 2, 3});
    EXPECT_FALSE(createUnpackFolder(temp.file("plain"), nextNumber, &folder));
    EXPECT_EQ(1u, drawn);
    EXPECT_EQ("unchanged", folder);
    EXPECT_EQ("a file", readFile(temp.file("plain")));
}

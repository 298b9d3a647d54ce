// File and the path functions on the real file system of the platform, one table
// per behaviour for both platforms (paths are written with '/' and turned into
// the platform's form).
#include "errors.h"
#include "file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace {

#ifdef _WIN32
constexpr uint32_t kNameTooLong = 206;  // ERROR_FILENAME_EXCED_RANGE
#else
constexpr uint32_t kNameTooLong = ENAMETOOLONG;
#endif

std::string native(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = kPathSeparator;
    return path;
}

// The current folder for one test, restored afterwards.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path previous_;
};

class FileTest : public ::testing::Test {
protected:
    // A path inside the test's own folder.
    std::string at(const std::string& relative) const { return dir.path() + kPathSeparator + native(relative); }

    void makeFolder(const std::string& relative) { std::filesystem::create_directories(at(relative)); }

    // A file with the ten bytes "0123456789" unless other content is given.
    std::string makeFile(const std::string& relative, const std::string& content = "0123456789") {
        zrtest::writeFile(at(relative), content);
        return at(relative);
    }

    zrtest::TempDir dir;
};

}  // namespace

TEST_F(FileTest, CreatePath_AnswersByTheLastCreation) {
    struct Row {
        const char* comment;
        std::vector<std::string> existing;
        const char* path;
        bool result;
        bool alreadyExists;  // checked when the result is false
        std::vector<std::string> present;
    } rows[] = {
        {"both levels missing, trailing separator", {}, "A/B/", true, false, {"A", "A/B"}},
        {"three levels, the first present", {"A"}, "A/B/C", true, false, {"A/B", "A/B/C"}},
        {"an existing folder: false with already exists", {"A"}, "A", false, true, {"A"}},
        {"an existing folder, trailing separator", {"A/B"}, "A/B/", false, true, {"A/B"}},
    };
    int n = 0;
    for (const Row& row : rows) {
        std::string base = "row" + std::to_string(++n) + "/";
        makeFolder(base);
        for (const std::string& folder : row.existing)
            makeFolder(base + folder);
        EXPECT_EQ(row.result, createPath(at(base + row.path).c_str())) << row.comment;
        if (!row.result) {
            EXPECT_EQ(row.alreadyExists, lastErrorIsAlreadyExists()) << row.comment;
        }
        for (const std::string& folder : row.present)
            EXPECT_TRUE(zrtest::exists(at(base + folder))) << row.comment << ": " << folder;
    }
}

TEST_F(FileTest, CreatePath_RelativeNames) {
    InFolder inside(dir.path());
    // A bare name is created by the first, whole-path try.
    EXPECT_TRUE(createPath("rel"));
    EXPECT_TRUE(zrtest::exists(at("rel")));
    EXPECT_FALSE(createPath("rel"));
    EXPECT_TRUE(lastErrorIsAlreadyExists());
    // The walk starts after the first separator, so a missing first level of a
    // relative path is never created.
    EXPECT_FALSE(createPath(native("x/y").c_str()));
    EXPECT_FALSE(zrtest::exists(at("x")));
}

TEST_F(FileTest, CreatePath_RefusesLongPathsWithoutCreatingAnything) {
    for (size_t length : {size_t{260}, size_t{300}}) {
        std::string path = at("L/");
        path += std::string(length - path.size(), 'n');
        ASSERT_EQ(length, path.size());
        EXPECT_FALSE(createPath(path.c_str())) << length;
        EXPECT_EQ(kNameTooLong, lastSystemError()) << length;
        EXPECT_FALSE(zrtest::exists(at("L"))) << length;
    }
    EXPECT_FALSE(createPath(nullptr));
}

TEST_F(FileTest, Open_ModesAccessAndCreation) {
    struct Row {
        const char* comment;
        int mode;
        bool fileExists;
        bool opens;
        bool canRead;
        bool canWrite;
        const char* afterwards;  // the file's content after the test; null: no file
    } rows[] = {
        {"Read an existing file", File::Read, true, true, true, false, "0123456789"},
        {"Read a missing file", File::Read, false, false, false, false, nullptr},
        {"ReadWrite an existing file", File::ReadWrite, true, true, true, true, "W123456789"},
        {"ReadWrite a missing file", File::ReadWrite, false, false, false, false, nullptr},
        {"Write keeps the content", File::Write, true, true, false, true, "W123456789"},
        {"Write a missing file", File::Write, false, false, false, false, nullptr},
        {"CreateWrite truncates", File::CreateWrite, true, true, false, true, "W"},
        {"CreateWrite creates", File::CreateWrite, false, true, false, true, "W"},
        {"mode 4 touches nothing", 4, false, false, false, false, nullptr},
        {"mode -1 touches nothing", -1, true, false, false, false, "0123456789"},
    };
    int n = 0;
    for (const Row& row : rows) {
        std::string path = at("f" + std::to_string(++n));
        if (row.fileExists)
            makeFile("f" + std::to_string(n));
        File file;
        EXPECT_EQ(row.opens, file.open(path.c_str(), row.mode)) << row.comment;
        EXPECT_EQ(row.opens, file.isOpen()) << row.comment;
        char byte = 0;
        uint32_t count = 99;
        EXPECT_EQ(row.canRead, file.read(&byte, 1, &count)) << row.comment;
        EXPECT_EQ(row.canRead ? 1u : 0u, count) << row.comment;
        EXPECT_TRUE(file.seek(0, File::FromBegin) || !row.opens) << row.comment;
        EXPECT_EQ(row.canWrite, file.write("W", 1, nullptr)) << row.comment;
        file.close();
        EXPECT_FALSE(file.isOpen());
        if (row.afterwards) {
            EXPECT_EQ(row.afterwards, zrtest::readFile(path)) << row.comment;
        } else {
            EXPECT_FALSE(zrtest::exists(path)) << row.comment;
        }
    }
}

TEST_F(FileTest, Open_JoinsDirectoryAndName) {
    makeFolder("X");
    makeFile("X/a.ini", "in X");
    makeFile("a.ini", "in the current folder");
    InFolder inside(dir.path());
    struct Row {
        const char* comment;
        std::string directory;
        const char* name;
        const char* content;
    } rows[] = {
        {"directory ending in a separator: no doubled separator", at("X/"), "a.ini", "in X"},
        {"directory without the separator", at("X"), "a.ini", "in X"},
        {"empty directory: relative to the current folder", "", "a.ini", "in the current folder"},
        {"empty name: the directory part alone", at("X/a.ini"), "", "in X"},
    };
    for (const Row& row : rows) {
        File file;
        ASSERT_TRUE(file.open(row.directory.c_str(), row.name, File::Read)) << row.comment;
        std::string content(std::string(row.content).size(), '\0');
        EXPECT_TRUE(file.read(&content[0], static_cast<uint32_t>(content.size()), nullptr)) << row.comment;
        EXPECT_EQ(row.content, content) << row.comment;
    }
    File file;
    EXPECT_TRUE(file.open(nullptr, "a.ini", File::Read)) << "a null directory counts as empty";
    EXPECT_EQ(native("C:/X/a.ini"), joinPath(native("C:/X/"), "a.ini"));
    EXPECT_EQ(native("C:/X/a.ini"), joinPath(native("C:/X"), "a.ini"));
}

TEST_F(FileTest, Open_FailureLeavesNoFileOpen) {
    File file;
    ASSERT_TRUE(file.open(makeFile("a").c_str(), File::Read));
    EXPECT_FALSE(file.open(at("missing").c_str(), File::Read));
    EXPECT_FALSE(file.isOpen());
    ASSERT_TRUE(file.open(at("a").c_str(), File::Read));
    EXPECT_FALSE(file.open(at("a").c_str(), 7)) << "an invalid mode closes too";
    EXPECT_FALSE(file.isOpen());
    makeFolder("folder");
    EXPECT_FALSE(file.open(at("folder").c_str(), File::Read)) << "a folder is never opened";
    EXPECT_FALSE(file.isOpen());
}

TEST_F(FileTest, Create_ReadsAndWritesAndTruncates) {
    File file;
    ASSERT_TRUE(file.create(makeFile("c").c_str()));
    uint32_t size = 99;
    EXPECT_TRUE(file.size(&size));
    EXPECT_EQ(0u, size);
    uint32_t written = 0;
    EXPECT_TRUE(file.write("abc", 3, &written));
    EXPECT_EQ(3u, written);
    EXPECT_TRUE(file.seek(0, File::FromBegin));
    char back[3];
    EXPECT_TRUE(file.read(back, 3, nullptr));
    EXPECT_EQ("abc", std::string(back, 3));
}

TEST_F(FileTest, Read_ShortReadIsAFailure) {
    File file;
    ASSERT_TRUE(file.open(makeFile("r", "0123456789ABCDEFGHIJ").c_str(), File::Read));
    ASSERT_TRUE(file.seek(-4, File::FromEnd));
    char buffer[10];
    uint32_t got = 99;
    EXPECT_FALSE(file.read(buffer, 10, &got));
    EXPECT_EQ(4u, got);
    EXPECT_EQ("GHIJ", std::string(buffer, 4));
    EXPECT_FALSE(file.read(buffer, 1, &got)) << "at the end";
    EXPECT_EQ(0u, got);
}

TEST_F(FileTest, Seek_OriginsAndFailures) {
    struct Row {
        const char* comment;
        int32_t distance;
        int origin;
        bool result;
        char next;  // the byte read afterwards
    } rows[] = {
        {"from the beginning", 3, File::FromBegin, true, '3'},
        {"from the current position (2)", 5, File::FromCurrent, true, '7'},
        {"back from the current position", -1, File::FromCurrent, true, '1'},
        {"from the end", -2, File::FromEnd, true, '8'},
        {"origin 3: false, position unchanged", 5, 3, false, '2'},
        {"origin -1: false, position unchanged", 0, -1, false, '2'},
        {"before the beginning: false", -20, File::FromCurrent, false, '2'},
    };
    for (const Row& row : rows) {
        File file;
        ASSERT_TRUE(file.open(makeFile("s").c_str(), File::Read));
        ASSERT_TRUE(file.seek(2, File::FromBegin));
        EXPECT_EQ(row.result, file.seek(row.distance, row.origin)) << row.comment;
        char next = 0;
        EXPECT_TRUE(file.read(&next, 1, nullptr)) << row.comment;
        EXPECT_EQ(row.next, next) << row.comment;
    }
}

TEST_F(FileTest, ClosedFile_EveryOperationFails) {
    File file;
    uint32_t size = 99, count = 99;
    char buffer[4];
    EXPECT_FALSE(file.size(&size));
    EXPECT_EQ(0u, size);
    EXPECT_FALSE(file.size(nullptr));
    EXPECT_FALSE(file.read(buffer, 4, &count));
    EXPECT_EQ(0u, count);
    count = 99;
    EXPECT_FALSE(file.write("abcd", 4, &count));
    EXPECT_EQ(0u, count);
    EXPECT_FALSE(file.seek(0, File::FromBegin));
    file.close();  // closing a closed file does nothing
    EXPECT_FALSE(file.isOpen());
}

TEST_F(FileTest, Size_OfAnOpenFile) {
    File file;
    ASSERT_TRUE(file.open(makeFile("z").c_str(), File::Read));
    uint32_t size = 0;
    EXPECT_TRUE(file.size(&size));
    EXPECT_EQ(10u, size);
    EXPECT_TRUE(file.size(nullptr));
}

TEST_F(FileTest, FileExists_FilesAndFolders) {
    makeFile("file");
    makeFolder("folder");
    struct Row {
        const char* comment;
        std::string path;
        bool exists;
    } rows[] = {
        {"a file", at("file"), true},
        {"a folder", at("folder"), true},
        {"a missing name", at("missing"), false},
        {"the empty path", "", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.exists, fileExists(row.path.c_str())) << row.comment;
    EXPECT_FALSE(fileExists(nullptr));
}

TEST_F(FileTest, DeleteAndRemove) {
    makeFolder("folder");
    makeFile("folder/file");
    EXPECT_FALSE(removeDirectory(at("folder").c_str())) << "not empty";
    EXPECT_TRUE(deleteFile(at("folder/file").c_str()));
    EXPECT_FALSE(deleteFile(at("folder/file").c_str())) << "already gone";
    EXPECT_TRUE(removeDirectory(at("folder").c_str()));
    EXPECT_FALSE(zrtest::exists(at("folder")));
    EXPECT_FALSE(removeDirectory(at("folder").c_str())) << "already gone";
}

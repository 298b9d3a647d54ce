// Shared-file counts on the prefix's registry, and fileIsPresent.
#include "shared_files.h"

#include "holder_process.h"
#include "owners.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const char kSharedDlls[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Each test counts files of its own folder, so values never collide; the key is
// made when the prefix lacks it (the functions only open it), and the test's
// values are removed afterwards.
class SharedCountTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0,
                                                 KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.receive(), nullptr));
    }
    void TearDown() override {
        for (const std::string& name : used)
            RegDeleteValueA(key.get(), name.c_str());
    }

    std::string path(const char* name) {
        used.push_back(dir.file(name));
        return used.back();
    }
    void store(const std::string& name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size));
    }
    // The value's type and data, or type REG_NONE with no data when missing.
    std::pair<DWORD, std::string> stored(const std::string& name) {
        DWORD type = REG_NONE;
        char data[64];
        DWORD size = sizeof data;
        if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            return {REG_NONE, ""};
        return {type, std::string(data, size)};
    }
    static std::string dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

    zrtest::TempDir dir;
    RegKey key;
    std::vector<std::string> used;
};

}  // namespace

TEST_F(SharedCountTest, IncrementThenDecrementToZero) {
    std::string file = path("shared.dll");
    EXPECT_EQ(1, incrementSharedCount(file.c_str()));
    EXPECT_EQ(std::make_pair(DWORD{REG_DWORD}, dword(1)), stored(file));
    EXPECT_EQ(2, incrementSharedCount(file.c_str()));
    EXPECT_EQ(1, decrementSharedCount(file.c_str()));
    EXPECT_EQ(0, decrementSharedCount(file.c_str()));
    EXPECT_EQ(std::make_pair(DWORD{REG_DWORD}, dword(0)), stored(file));
}

TEST_F(SharedCountTest, DecrementOfZeroWritesNothing) {
    // Stored as four binary zero bytes: a write would turn it into a REG_DWORD.
    std::string file = path("zero.dll");
    DWORD zero = 0;
    store(file, REG_BINARY, &zero, 4);
    EXPECT_EQ(0, decrementSharedCount(file.c_str()));
    EXPECT_EQ(std::make_pair(DWORD{REG_BINARY}, dword(0)), stored(file));
}

TEST_F(SharedCountTest, DecrementWithoutValueGivesMinusOne) {
    std::string file = path("unknown.dll");
    EXPECT_EQ(-1, decrementSharedCount(file.c_str()));
    EXPECT_EQ(DWORD{REG_NONE}, stored(file).first) << "no value made";
}

TEST_F(SharedCountTest, DataLongerThanFourBytes) {
    // "abcd" with its terminating zero is five bytes.
    std::string incremented = path("text1.dll");
    store(incremented, REG_SZ, "abcd", 5);
    EXPECT_EQ(1, incrementSharedCount(incremented.c_str()));
    EXPECT_EQ(std::make_pair(DWORD{REG_DWORD}, dword(1)), stored(incremented));

    std::string decremented = path("text2.dll");
    store(decremented, REG_SZ, "abcd", 5);
    EXPECT_EQ(-1, decrementSharedCount(decremented.c_str()));
    EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string("abcd", 5)), stored(decremented)) << "left as it was";
}

TEST_F(SharedCountTest, DeleteRemovesTheValue) {
    std::string file = path("gone.dll");
    incrementSharedCount(file.c_str());
    deleteSharedCount(file.c_str());
    EXPECT_EQ(DWORD{REG_NONE}, stored(file).first);
    deleteSharedCount(file.c_str());  // a missing value is fine
    EXPECT_EQ(-1, decrementSharedCount(file.c_str()));
}

TEST(FileIsPresent, OpenableForReading) {
    zrtest::TempDir dir;
    std::string file = dir.file("present.txt");
    zrtest::writeFile(file, "x");
    std::string locked = dir.file("locked.txt");
    zrtest::writeFile(locked, "x");
    HolderProcess holder(HolderProcess::Locked, locked);
    struct Row {
        const char* comment;
        std::string path;
        bool present;
    } rows[] = {
        {"a file", file, true},
        {"a folder", dir.path(), true},
        {"a missing file", dir.file("missing.txt"), false},
        {"a file locked against readers counts as absent", locked, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.present, fileIsPresent(row.path.c_str())) << row.comment;
    EXPECT_TRUE(zrtest::exists(locked)) << "it is there all the same";
}

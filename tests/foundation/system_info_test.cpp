// The system queries against the real system: Windows versions through Wine's
// emulation of each, registry values written for the test, and the version
// resources of programs the test build makes.
#include "owners.h"
#include "system_info.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char kVersionProbe[] = "windows_version_probe.exe";

std::string probePath(const std::string& name) { return zrtest::binaryPath("tests/foundation/" + name); }

// A key of its own under HKCU, removed with its values afterwards.
class TestKey {
public:
    TestKey() : path_("Software\\ZrTest\\SystemInfo" + std::to_string(GetCurrentProcessId())) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.receive(),
                            nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot create HKCU\\" + path_);
    }
    ~TestKey() {
        for (const std::string& name : names_)
            RegDeleteValueA(key_.get(), name.c_str());
        key_.reset();
        RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    }

    void set(const std::string& name, DWORD type, const void* data, size_t size) {
        names_.push_back(name);
        RegSetValueExA(key_.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    }
    void setText(const std::string& name, DWORD type, const std::string& text) {
        set(name, type, text.c_str(), text.size() + 1);
    }
    // The path that readString takes for one of this key's values.
    std::string valuePath(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
    RegKey key_;
    std::vector<std::string> names_;
};

}  // namespace

TEST(WindowsVersion, PredicatesFollowTheEmulatedVersion) {
    struct Row {
        const char* version;  // Wine's name; "" for its default
        const char* seen;     // the probe's line: platform, major.minor, predicates that hold
    } rows[] = {
        {"win95", "1 4.0 95 9x"},
        {"win98", "1 4.10 98 9x"},
        {"winme", "1 4.90 ME 9x"},
        {"nt40", "2 4.0 NT4 NT"},
        {"win2k", "2 5.0 2000 NT"},
        {"winxp", "2 5.1 XP NT"},
        {"", nullptr},  // a later NT: none of the six named systems
    };
    for (const Row& row : rows) {
        zrtest::setEmulatedVersion(kVersionProbe, row.version);
        zrtest::ProcessResult result = zrtest::runProcess("\"" + probePath(kVersionProbe) + "\"");
        ASSERT_TRUE(result.started) << row.version;
        EXPECT_EQ(0, result.exitCode) << row.version;
        if (row.seen) {
            EXPECT_EQ(row.seen, result.output) << row.version;
        } else {
            ASSERT_GE(result.output.size(), 3u) << result.output;
            EXPECT_EQ("2 ", result.output.substr(0, 2)) << result.output;
            EXPECT_EQ(" NT", result.output.substr(result.output.size() - 3)) << result.output;
            EXPECT_EQ(2u, std::count(result.output.begin(), result.output.end(), ' ')) << result.output;
        }
    }
    zrtest::setEmulatedVersion(kVersionProbe, "");
}

TEST(ReadString, ConvertsByValueType) {
    TestKey key;
    key.setText("Text", REG_SZ, "C:\\Some Folder");
    key.setText("Expand", REG_EXPAND_SZ, "%SystemRoot%\\x");
    DWORD allOnes = 4294967295u, small = 42;
    key.set("AllOnes", REG_DWORD, &allOnes, sizeof allOnes);
    key.set("Small", REG_DWORD, &small, sizeof small);
    const BYTE blob[] = {1, 2, 3};
    key.set("Blob", REG_BINARY, blob, sizeof blob);
    key.set("Multi", REG_MULTI_SZ, "a\0b\0", 5);
    key.setText("Long", REG_SZ, std::string(300, 'L'));
    key.setText("", REG_SZ, "default value");

    struct Row {
        const char* comment;
        std::string path;
        bool result;
        const char* text;  // "unchanged": left as it was
    } rows[] = {
        {"REG_SZ", key.valuePath("Text"), true, "C:\\Some Folder"},
        {"REG_EXPAND_SZ is not expanded", key.valuePath("Expand"), true, "%SystemRoot%\\x"},
        {"REG_DWORD is signed", key.valuePath("AllOnes"), true, "-1"},
        {"REG_DWORD", key.valuePath("Small"), true, "42"},
        {"REG_BINARY", key.valuePath("Blob"), false, "Binary data"},
        {"REG_MULTI_SZ", key.valuePath("Multi"), false, "Can't convert to string"},
        {"missing value", key.valuePath("Missing"), false, "unchanged"},
        {"value over 260 bytes", key.valuePath("Long"), false, "unchanged"},
        {"missing key", "Software\\ZrTest\\NoSuchKey\\Text", false, "unchanged"},
        {"trailing backslash: the key's default value", key.valuePath(""), true, "default value"},
        {"no backslash: a value of the root key", "NoSuchValue", false, "unchanged"},
    };
    for (const Row& row : rows) {
        std::string text = "unchanged";
        EXPECT_EQ(row.result, readString(HKEY_CURRENT_USER, row.path, &text)) << row.comment;
        EXPECT_EQ(row.text, text) << row.comment;
    }
}

TEST(ReadString, SoftwareStringReadsBelowLocalMachineSoftware) {
    std::string text;
    EXPECT_TRUE(readSoftwareString("Microsoft\\Windows\\CurrentVersion\\ProgramFilesDir", &text));
    EXPECT_EQ("C:\\Program Files", text);
}

TEST(FileVersion, ValidOnlyForExecutablesWithAVersionResource) {
    zrtest::TempDir dir;
    zrtest::writeFile(dir.file("notes.txt"), "just text\r\n");
    struct Row {
        const char* comment;
        std::string path;
    } invalid[] = {
        {"text file", dir.file("notes.txt")},
        {"missing file", dir.file("missing.exe")},
        {"executable without version resource", probePath(kVersionProbe)},
    };
    for (const Row& row : invalid)
        EXPECT_FALSE(FileVersion(row.path).valid()) << row.comment;

    FileVersion version(probePath("versioned_program.exe"));
    ASSERT_TRUE(version.valid());
    EXPECT_EQ(0x00010002u, version.fileVersionMS());
    EXPECT_EQ(0x00030004u, version.fileVersionLS());
    EXPECT_EQ(0xFEEF04BDu, version.fixedInfo().dwSignature);
}

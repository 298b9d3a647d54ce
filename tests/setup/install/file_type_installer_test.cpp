// File types on the real HKEY_CLASSES_ROOT of the Wine prefix, through the
// FILE_TYPES processor. Extensions and types are named after the test and
// removed again.
#include "file_type_installer.h"

#include "install_run.h"
#include "owners.h"

#include <gtest/gtest.h>

using installtest::InstallRun;
using Lines = std::vector<std::string>;

namespace {

class FileTypes : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        installtest::deleteKey(HKEY_CLASSES_ROOT, extension);
        installtest::deleteKey(HKEY_CLASSES_ROOT, type);
    }

    // The text of a default value below HKEY_CLASSES_ROOT. The installer leaves
    // the terminating zero out of the size it passes, but the NT registry (Wine's
    // too) stores a string whose caller forgot its zero with the zero, so the value
    // reads back with one; it is not part of the text.
    std::string defaultValue(const std::string& path) {
        std::string bytes;
        DWORD valueType = REG_NONE;
        if (!installtest::readValue(HKEY_CLASSES_ROOT, path, "", &bytes, &valueType))
            return "(none)";
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), valueType) << path;
        if (!bytes.empty() && bytes.back() == '\0')
            bytes.pop_back();
        return bytes;
    }

    void createWithDefault(const std::string& path, const std::string& value) {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, key.receive(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.get(), nullptr, 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>(value.c_str()),
                                                static_cast<DWORD>(value.size() + 1)));
    }

    const std::string extension = ".zrt" + installtest::testName();
    const std::string type = "ZRTest." + installtest::testName();
    std::unique_ptr<InstallRun> run = installtest::newRun();
    RegistryInstaller registry{run->log, run->errors};
    FileTypeInstaller fileTypes{registry};
};

}  // namespace

TEST_F(FileTypes, WritesFourKeysAndLogsThemInOrder) {
    fileTypes.install(extension + "," + type + ",Abc document,C:\\P\\abc.exe %1,C:\\P\\abc.exe,2");
    EXPECT_EQ(type, defaultValue(extension));
    EXPECT_EQ("Abc document", defaultValue(type));
    EXPECT_EQ("C:\\P\\abc.exe %1", defaultValue(type + "\\shell\\open\\command"));
    EXPECT_EQ("C:\\P\\abc.exe,2", defaultValue(type + "\\DefaultIcon"));
    EXPECT_EQ((Lines{"HKCR," + extension, "HKCR," + type, "HKCR," + type + "\\shell\\open\\command",
                     "HKCR," + type + "\\DefaultIcon"}),
              run->registryKeys());
    EXPECT_EQ(Lines{}, run->errors.lines());
}

TEST_F(FileTypes, IconIsOptionalAndItsIndexToo) {
    struct Row {
        const char* iconFields;
        const char* defaultIcon;  // "(none)": no DefaultIcon key
        size_t logged;
    } rows[] = {
        {"C:\\P\\abc.exe,", "C:\\P\\abc.exe", 4},  // no index: the icon file alone
        {"C:\\P\\abc.exe,0", "C:\\P\\abc.exe,0", 4},
        {",2", "(none)", 3},                        // no icon file: three keys, whatever the index
        {"", "(none)", 3},                          // the fields are missing
    };
    for (const Row& row : rows) {
        TearDown();
        InstallRun own;
        RegistryInstaller writer(own.log, own.errors);
        EXPECT_TRUE(writer.installFileType(extension + "," + type + ",Doc,open," + row.iconFields)) << row.iconFields;
        EXPECT_EQ(row.defaultIcon, defaultValue(type + "\\DefaultIcon")) << row.iconFields;
        EXPECT_EQ(row.logged, own.registryKeys().size()) << row.iconFields;
    }
}

TEST_F(FileTypes, RegisteredExtensionIsLeftCompletelyAlone) {
    createWithDefault(extension, "Other.Type");
    EXPECT_FALSE(registry.installFileType(extension + "," + type + ",Doc,open,icon,1"));
    EXPECT_EQ("Other.Type", defaultValue(extension));
    EXPECT_FALSE(installtest::keyExists(HKEY_CLASSES_ROOT, type));
    EXPECT_EQ(Lines{}, run->registryKeys());
}

TEST_F(FileTypes, ExistingTypeIsReusedOverwrittenAndLogged) {
    createWithDefault(type, "old description");
    fileTypes.install(extension + "," + type + ",new description,open");
    EXPECT_EQ("new description", defaultValue(type));
    EXPECT_EQ((Lines{"HKCR," + extension, "HKCR," + type, "HKCR," + type + "\\shell\\open\\command"}),
              run->registryKeys());
}

TEST_F(FileTypes, EmptyExtensionOrTypeWritesNothing) {
    // Either would put the type's keys straight into HKEY_CLASSES_ROOT.
    EXPECT_FALSE(registry.installFileType("," + type + ",Doc,open"));
    EXPECT_FALSE(registry.installFileType(extension + ",,Doc,open"));
    EXPECT_FALSE(installtest::keyExists(HKEY_CLASSES_ROOT, extension));
    EXPECT_FALSE(installtest::keyExists(HKEY_CLASSES_ROOT, type));
    EXPECT_EQ(Lines{}, run->registryKeys());
    EXPECT_EQ(Lines{}, run->errors.lines());
}

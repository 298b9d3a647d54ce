#include "registry_record.h"

#include <gtest/gtest.h>

TEST(RegistryRoot, OnlyTheFourTextsExactly) {
    struct Row {
        const char* text;
        RegistryRoot expected;
    } rows[] = {
        {"HKCR", RegistryRoot::ClassesRoot},
        {"HKCU", RegistryRoot::CurrentUser},
        {"HKLM", RegistryRoot::LocalMachine},
        {"HKU", RegistryRoot::Users},
        {"hklm", RegistryRoot::None},                // case counts
        {"HKEY_LOCAL_MACHINE", RegistryRoot::None},  // no long names
        {"HKLM ", RegistryRoot::None},               // no trimming
        {"", RegistryRoot::None},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, registryRoot(row.text)) << '"' << row.text << '"';
}

bool operator==(const FileTypeKey& a, const FileTypeKey& b) { return a.path == b.path && a.value == b.value; }
std::ostream& operator<<(std::ostream& out, const FileTypeKey& key) {
    return out << key.path << " = " << key.value;
}

TEST(FileTypeKeys, FourKeysInWritingOrder) {
    using Keys = std::vector<FileTypeKey>;
    struct Row {
        const char* record;
        Keys expected;
    } rows[] = {
        // every field: the icon with its index
        {".abc,Abc.Document,Abc document,C:\\P\\abc.exe %1,C:\\P\\abc.exe,2",
         {{".abc", "Abc.Document"},
          {"Abc.Document", "Abc document"},
          {"Abc.Document\\shell\\open\\command", "C:\\P\\abc.exe %1"},
          {"Abc.Document\\DefaultIcon", "C:\\P\\abc.exe,2"}}},
        // an empty index: the icon file alone
        {".abc,T,D,C,I,", {{".abc", "T"}, {"T", "D"}, {"T\\shell\\open\\command", "C"}, {"T\\DefaultIcon", "I"}}},
        // no icon file: three keys, whatever the index
        {".abc,T,D,C,,3", {{".abc", "T"}, {"T", "D"}, {"T\\shell\\open\\command", "C"}}},
        // missing fields are empty; quotes stay
        {".abc,T", {{".abc", "T"}, {"T", ""}, {"T\\shell\\open\\command", ""}}},
        {".abc,T,D,\"C:\\P\\a.exe\" \"%1\"", {{".abc", "T"}, {"T", "D"}, {"T\\shell\\open\\command", "\"C:\\P\\a.exe\" \"%1\""}}},
        // fields after the sixth are ignored
        {".abc,T,D,C,I,0,extra", {{".abc", "T"}, {"T", "D"}, {"T\\shell\\open\\command", "C"}, {"T\\DefaultIcon", "I,0"}}},
        // no extension or no type: nothing, rather than keys in HKEY_CLASSES_ROOT itself
        {",T,D,C,I,0", {}},
        {".abc,,D,C,I,0", {}},
        {"", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, fileTypeKeys(row.record)) << row.record;
}

TEST(ProductRecordKeys, ThreeLevelsBelowThePrefix) {
    EXPECT_EQ((std::vector<std::string>{"SOFTWARE\\Hevra Software\\Velmora\\UserData\\C",
                                        "SOFTWARE\\Hevra Software\\Velmora\\UserData\\C\\P",
                                        "SOFTWARE\\Hevra Software\\Velmora\\UserData\\C\\P\\1.0"}),
              productRecordKeys("C", "P", "1.0"));
}

// The registry installer on the real registry of the Wine prefix: what REGISTRY_ENTRIES
// records write, log and report. Each test works below keys named after it and
// removes them again, since the test programs share one registry.
#include "registry_installer.h"

#include "install_run.h"
#include "owners.h"

#include <gtest/gtest.h>

using installtest::InstallRun;
using installtest::readValue;
using Lines = std::vector<std::string>;

namespace {

std::string dword(uint32_t n) {
    return std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                       static_cast<char>(n >> 24)};
}

class RegistryRecords : public ::testing::Test {
protected:
    void SetUp() override {
        installtest::deleteKey(HKEY_CURRENT_USER, userKey);
        installtest::deleteKey(HKEY_LOCAL_MACHINE, machineKey);
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, userKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, key.receive(), nullptr));
    }
    void TearDown() override {
        installtest::deleteKey(HKEY_CURRENT_USER, userKey);
        installtest::deleteKey(HKEY_LOCAL_MACHINE, machineKey);
    }

    // The error lines that install added.
    Lines install(const std::string& record) {
        size_t before = run->errors.lines().size();
        registry.install(record);
        return Lines(run->errors.lines().begin() + static_cast<std::ptrdiff_t>(before), run->errors.lines().end());
    }

    const std::string userKey = "Software\\ZRTest\\" + installtest::testName();  // exists from SetUp
    const std::string machineKey = "SOFTWARE\\ZRTest\\" + installtest::testName();
    std::unique_ptr<InstallRun> run = installtest::newRun();
    RegistryInstaller registry{run->log, run->errors};
};

}  // namespace

TEST_F(RegistryRecords, ValuesStoreTheirConvertedData) {
    struct Row {
        const char* name;
        const char* type;
        std::string data;
        DWORD registryType;
        std::string stored;
    } rows[] = {
        {"Text", "String", "abc", REG_SZ, std::string("abc", 4)},  // any word beginning with s; the zero is stored
        {"Lower", "s", "x y", REG_SZ, std::string("x y", 4)},
        {"Ten", "dword", "10", REG_DWORD, dword(16)},              // DWORD data is hexadecimal
        {"Prefixed", "D", "0x10", REG_DWORD, dword(16)},
        {"NoDigits", "D", "zz", REG_DWORD, dword(0)},
        {"Huge", "D", "123456789", REG_DWORD, dword(0xFFFFFFFF)},  // beyond 32 bits: the largest
        {"Bytes", "Binary", "01 ff 7F", REG_BINARY, "\x01\xFF\x7F"},
        {"LowByte", "b", "1FF", REG_BINARY, "\xFF"},               // each token keeps its low 8 bits
        {"LongToken", "b", std::string(300, 'F') + " 02", REG_BINARY, "\xFF\x02"},  // read whole, no overrun
        {"Separators", "b", " \t", REG_BINARY, ""},                // no tokens: an empty value
        {"Quoted", "S", "\"C:\\P\\a.exe\" -x", REG_SZ, std::string("\"C:\\P\\a.exe\" -x", 16)},  // quotes stay
    };
    for (const Row& row : rows)
        EXPECT_EQ(Lines{}, install("value,HKCU," + userKey + "," + row.name + "," + row.type + "," + row.data))
            << row.name;
    for (const Row& row : rows) {
        std::string stored;
        DWORD type = REG_NONE;
        ASSERT_TRUE(readValue(HKEY_CURRENT_USER, userKey, row.name, &stored, &type)) << row.name;
        EXPECT_EQ(row.registryType, type) << row.name;
        EXPECT_EQ(row.stored, stored) << row.name;
    }
    EXPECT_EQ(Lines{}, run->registryKeys());  // values are never logged
}

TEST_F(RegistryRecords, DataEndsAtTheNextComma) {
    EXPECT_EQ(Lines{}, install("value,HKCU," + userKey + ",Path,S,C:\\A,B"));
    std::string stored;
    ASSERT_TRUE(readValue(HKEY_CURRENT_USER, userKey, "Path", &stored));
    EXPECT_EQ(std::string("C:\\A", 5), stored);
}

TEST_F(RegistryRecords, EmptyNameTypeOrDataWritesNothingAndSaysNothing) {
    const std::string rows[] = {
        "value,HKCU," + userKey + ",,S,abc",     // the default value cannot be set
        "value,HKCU," + userKey + ",Name,S,",    // empty data
        "value,HKCU," + userKey + ",Name,,abc",  // empty type
        "value,HKCU," + userKey + ",Name",       // both missing
    };
    for (const std::string& record : rows)
        EXPECT_EQ(Lines{}, install(record)) << record;
    EXPECT_EQ(0, installtest::valueCount(HKEY_CURRENT_USER, userKey));
}

TEST_F(RegistryRecords, FailuresBecomeTheirErrorLines) {
    const std::string missing = userKey + "\\Missing";
    const std::string tooLong = userKey + "\\" + std::string(300, 'k');
    struct Row {
        std::string record;
        Lines lines;
    } rows[] = {
        // roots are compared case included
        {"key,hklm," + machineKey, {"Invalid major key:hklm"}},
        {"value,HKEY_CURRENT_USER," + userKey + ",N,S,a", {"Invalid major key:HKEY_CURRENT_USER"}},
        // a single word: no root at all
        {"key", {"Invalid major key:"}},
        // record types are compared case included, after the root
        {"Key,HKCU," + userKey, {"Invalid record type(need key or value):Key"}},
        {",HKCU," + userKey, {"Invalid record type(need key or value):"}},
        // an unknown value type, every field as the record had it
        {"value,HKCU," + userKey + ",N,x,1", {"Cannot create value:key='" + userKey + "' value name='N' value type='x' value='1"}},
        // a value record never creates its key
        {"value,HKCU," + missing + ",N,S,abc", {"Cannot create value:key='" + missing + "' value name='N' value type='S' value='abc"}},
        // the registry refuses a key name of 300 characters
        {"key,HKCU," + tooLong, {"Cannot create key:" + tooLong}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.lines, install(row.record)) << row.record;
    EXPECT_FALSE(installtest::keyExists(HKEY_CURRENT_USER, missing));
    EXPECT_FALSE(installtest::keyExists(HKEY_LOCAL_MACHINE, machineKey));
    EXPECT_EQ(0, installtest::valueCount(HKEY_CURRENT_USER, userKey));
    EXPECT_EQ(Lines{}, run->registryKeys());
}

TEST_F(RegistryRecords, NewKeyIsCreatedAndLoggedOnlyByTheFirstInstallation) {
    const std::string product = machineKey + "\\Vendor\\Product";
    EXPECT_EQ(Lines{}, install("key,HKLM," + product));
    EXPECT_TRUE(installtest::keyExists(HKEY_LOCAL_MACHINE, product));
    EXPECT_EQ(Lines{"HKLM," + product}, run->registryKeys());  // the record's key only, not its new parents

    // A second installation over it: the key exists, nothing is logged or reported.
    InstallRun second;
    RegistryInstaller again(second.log, second.errors);
    again.install("key,HKLM," + product);
    EXPECT_EQ(Lines{}, second.registryKeys());
    EXPECT_EQ(Lines{}, second.errors.lines());

    // A value record into the key made by the key record before it.
    EXPECT_EQ(Lines{}, install("value,HKLM," + product + ",InstallPath,S,C:\\P"));
    std::string stored;
    EXPECT_TRUE(readValue(HKEY_LOCAL_MACHINE, product, "InstallPath", &stored));
    EXPECT_EQ(std::string("C:\\P", 5), stored);
}

TEST_F(RegistryRecords, KeyThatExistsEverywhereIsLeftAlone) {
    EXPECT_EQ(Lines{}, install("key,HKCU,Software"));
    EXPECT_FALSE(registry.createKey(HKEY_CURRENT_USER, "Software"));
    EXPECT_EQ(Lines{}, run->registryKeys());
}

TEST_F(RegistryRecords, ErrorLinesReachErrorLogInOrder) {
    zrtest::TempDir productDir;
    InstallLog log(productDir.path(), false);
    const std::string path = productDir.file("error.log");
    {
        ErrorLog errors(path, log);
        RegistryInstaller writer(log, errors);
        writer.install("key,hklm,SOFTWARE\\X");
        writer.install("value,HKCU," + userKey + "\\Missing,N,S,abc");
    }  // the end of the run writes error.log
    EXPECT_EQ("Invalid major key:hklm\r\nCannot create value:key='" + userKey +
                  "\\Missing' value name='N' value type='S' value='abc\r\n",
              zrtest::readFile(path));
}

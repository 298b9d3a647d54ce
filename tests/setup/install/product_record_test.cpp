// The product registration record on the real HKEY_LOCAL_MACHINE of the Wine
// prefix. Each test uses a company named after it and removes it again.
#include "registry_installer.h"

#include "install_run.h"
#include "setup_model.h"

#include <gtest/gtest.h>

using installtest::InstallRun;
using Lines = std::vector<std::string>;

namespace {

const std::string kPrefix = "SOFTWARE\\Hevra Software\\Velmora\\UserData\\";

std::string lower(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

class ProductRecord : public ::testing::Test {
protected:
    void SetUp() override {
        installtest::deleteKey(HKEY_LOCAL_MACHINE, companyKey);
        model.setVariable("CompanyName", company);
        model.setVariable("ProductName", "Tool");
        model.setVariable("ProductVersion", "1.0");
        model.setAppDir("C:\\Program Files\\Tool");
        model.setVariable("AppSCFolder", "C:\\Menu\\Tool");
    }
    void TearDown() override { installtest::deleteKey(HKEY_LOCAL_MACHINE, companyKey); }

    // Writes the record in a run of its own and returns the keys it logged.
    Lines install() {
        InstallRun run;
        RegistryInstaller registry(run.log, run.errors);
        registry.writeProductRecord(model);
        EXPECT_EQ(Lines{}, run.errors.lines());
        return run.registryKeys();
    }

    // The text of a REG_SZ value of the version key, "(none)" when missing.
    std::string value(const std::string& version, const std::string& name) {
        std::string bytes;
        DWORD type = REG_NONE;
        if (!installtest::readValue(HKEY_LOCAL_MACHINE, companyKey + "\\Tool\\" + version, name, &bytes, &type))
            return "(none)";
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << name;
        if (!bytes.empty() && bytes.back() == '\0')
            bytes.pop_back();
        return bytes;
    }

    const std::string company = "ZRTest " + installtest::testName();
    const std::string companyKey = kPrefix + company;
    std::unique_ptr<SetupModel> owned = std::make_unique<SetupModel>(installtest::fixtureFolders());
    SetupModel& model = *owned;
};

}  // namespace

TEST_F(ProductRecord, FirstInstallationCreatesAndLogsThreeKeysWithFourValues) {
    EXPECT_EQ((Lines{"HKLM," + companyKey, "HKLM," + companyKey + "\\Tool", "HKLM," + companyKey + "\\Tool\\1.0"}),
              install());
    EXPECT_EQ(4, installtest::valueCount(HKEY_LOCAL_MACHINE, companyKey + "\\Tool\\1.0"));
    EXPECT_EQ("C:\\Program Files\\Tool", value("1.0", "AppDir"));
    EXPECT_EQ("C:\\Menu\\Tool", value("1.0", "AppShortcutFolder"));
    // The folder of the running program, without a trailing backslash.
    EXPECT_EQ(lower(zrtest::binaryPath("tests/setup/install")), lower(value("1.0", "InstallSource")));
    EXPECT_EQ("1.1", value("1.0", "InstallerVersion"));
}

TEST_F(ProductRecord, SecondInstallationLogsNothingAndOverwritesTheValues) {
    install();
    model.setAppDir("D:\\Elsewhere");
    EXPECT_EQ(Lines{}, install());
    EXPECT_EQ("D:\\Elsewhere", value("1.0", "AppDir"));
}

TEST_F(ProductRecord, NewVersionLogsOnlyItsVersionKey) {
    install();
    model.setVariable("ProductVersion", "2.0");
    EXPECT_EQ(Lines{"HKLM," + companyKey + "\\Tool\\2.0"}, install());
    EXPECT_EQ("1.1", value("2.0", "InstallerVersion"));
    EXPECT_EQ("1.1", value("1.0", "InstallerVersion"));  // the older version stays
}

TEST_F(ProductRecord, NoProgramFolderWritesNoShortcutFolderValue) {
    model.setVariable("AppSCFolder", "");
    install();
    EXPECT_EQ("(none)", value("1.0", "AppShortcutFolder"));
    EXPECT_EQ(3, installtest::valueCount(HKEY_LOCAL_MACHINE, companyKey + "\\Tool\\1.0"));
}

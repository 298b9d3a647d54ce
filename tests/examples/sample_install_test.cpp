// The sample product (examples/sample) installed by setup.exe from its package
// folder, as a user would: the robot only presses Finish. Everything the script
// asks for is checked where it lands: files, shared and system files, registry
// keys and values of all three types, the file type, the component's
// self-registration, the shortcuts and the install log.
#include "owners.h"
#include "package_writer.h"
#include "robot.h"
#include "setup_package.h"
#include "system_info.h"
#include "test_support.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

std::string registryText(HKEY root, const std::string& key, const std::string& value) {
    std::string text;
    return readString(root, key + "\\" + value, &text) ? text : "<missing>";
}

std::string registryBytes(HKEY root, const std::string& key, const std::string& value) {
    RegKey handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.receive()) != ERROR_SUCCESS)
        return "<missing>";
    BYTE data[64];
    DWORD size = sizeof data, type = 0;
    if (RegQueryValueExA(handle.get(), value.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    return std::string(reinterpret_cast<char*>(data), size);
}

std::string folderOf(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

}  // namespace

TEST(SampleProduct, InstallsEverythingItsScriptNames) {
    std::string package = zrtest::binaryPath("sample-package");
    robot::Robot robot;
    std::string error;
    ASSERT_TRUE(robot.start(package + "\\setup.exe", package, &error)) << error;
    HWND finish = setuptest::waitWindow(robot, "Setup Complete", 60000);
    ASSERT_TRUE(finish);
    setuptest::clickAndWaitGone(finish, 1018);
    ASSERT_EQ(0, setuptest::exitCode(robot));

    const std::string appDir = folderOf(CSIDL_PROGRAM_FILES) + "\\Example Works\\Sample Tool";
    const std::string common = folderOf(CSIDL_PROGRAM_FILES_COMMON) + "\\Example Works";
    const std::string programs = folderOf(CSIDL_PROGRAMS) + "\\Sample Tool";

    // Application files, with the program's version resource intact.
    for (const char* name : {"readme.txt", "licence.txt", "settings.ini", "Docs\\guide.txt"})
        EXPECT_TRUE(zrtest::exists(appDir + "\\" + name)) << name;
    FileVersion tool(appDir + "\\tool.exe");
    ASSERT_TRUE(tool.valid());
    EXPECT_EQ(0x00010000u, tool.fileVersionMS());

    // The shared component: counted, and registered by its own DllRegisterServer.
    const std::string core = common + "\\samplecore.dll";
    EXPECT_TRUE(zrtest::exists(core));
    // The value's name is the file's path, backslashes and all.
    EXPECT_EQ(std::string("\x01\0\0\0", 4),
              registryBytes(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", core));
    EXPECT_EQ(core, registryText(HKEY_CLASSES_ROOT,
                                 "CLSID\\{6D3C1F0A-52A1-4C55-9E0B-5A52C0DE0001}\\InprocServer32", ""));
    EXPECT_TRUE(zrtest::exists(folderOf(CSIDL_SYSTEM) + "\\exworks.txt"));

    // Registry values of the three types, and the Add/Remove Programs entry.
    const std::string product = "SOFTWARE\\Example Works\\Sample Tool";
    EXPECT_EQ(appDir, registryText(HKEY_LOCAL_MACHINE, product, "InstallPath"));
    EXPECT_EQ("280", registryText(HKEY_LOCAL_MACHINE, product, "WindowWidth"));
    EXPECT_EQ(std::string("\x5A\x52\x01\x00", 4), registryBytes(HKEY_LOCAL_MACHINE, product, "Signature"));
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample Tool";
    EXPECT_EQ("Sample Tool 1.0", registryText(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"));
    EXPECT_EQ(appDir + "\\uninstall.exe", registryText(HKEY_LOCAL_MACHINE, uninstall, "UninstallString"));

    // The document type: "%1" survives expansion because nothing follows it.
    EXPECT_EQ("SampleTool.Document", registryText(HKEY_CLASSES_ROOT, ".smp", ""));
    EXPECT_EQ("\"" + appDir + "\\tool.exe\" \"%1\"",
              registryText(HKEY_CLASSES_ROOT, "SampleTool.Document\\shell\\open\\command", ""));
    EXPECT_EQ("1.1", registryText(HKEY_LOCAL_MACHINE,
                                  "SOFTWARE\\Hevra Software\\Velmora\\UserData\\Example Works\\Sample Tool\\1.0",
                                  "InstallerVersion"));

    for (const char* name : {"Sample Tool.lnk", "Read Me.lnk", "Sample Tool on the Web.url"})
        EXPECT_TRUE(zrtest::exists(programs + "\\" + name)) << name;

    // The log the uninstaller will work from; no record failed.
    std::string log = zrtest::readFile(appDir + "\\setup.log");
    for (const std::string& line : std::vector<std::string>{"Application_Name=Sample Tool", "[SHAREDFILES]\r\n" + core,
                                    appDir + "\\tool.exe", "HKLM," + uninstall, "HKCR,.smp"})
        EXPECT_NE(std::string::npos, log.find(line + "\r\n")) << line;
    EXPECT_FALSE(zrtest::exists(appDir + "\\error.log")) << zrtest::readFile(appDir + "\\error.log");
}

// The same product as its users get it: one package file that unpacks itself
// into the temporary folder, runs setup.exe there and removes what it unpacked
// once setup has ended (setup's image and current folder are let go a moment
// after its end).
TEST(SampleProduct, InstallsFromItsPackageAndCleansUp) {
    zrtest::TempDir work;
    const std::string staged = zrtest::binaryPath("sample-package");
    std::vector<package::CarriedFile> files;
    for (const std::string& name : zrtest::listTree(staged))
        files.push_back({name, staged + "\\" + name});
    const std::string packagePath = work.file("SampleToolSetup.exe");
    std::string error;
    ASSERT_TRUE(package::writePackage(zrtest::distPath("selfextract.exe"), files, "setup.exe", packagePath, &error))
        << error;

    const std::string temp = work.file("temp");
    ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr));
    SetEnvironmentVariableA("TMP", temp.c_str());
    SetEnvironmentVariableA("TEMP", temp.c_str());
    robot::Robot robot;
    ASSERT_TRUE(robot.start("\"" + packagePath + "\"", work.path(), &error)) << error;
    ASSERT_TRUE(robot.child("setup.exe", 60000, &error)) << error;
    HWND finish = setuptest::waitWindow(robot, "Setup Complete", 60000);
    ASSERT_TRUE(finish);
    setuptest::clickAndWaitGone(finish, 1018);
    EXPECT_EQ(0, setuptest::exitCode(robot));
    ASSERT_TRUE(robot.parent(&error)) << error;
    EXPECT_EQ(0, setuptest::exitCode(robot));

    const std::string appDir = folderOf(CSIDL_PROGRAM_FILES) + "\\Example Works\\Sample Tool";
    EXPECT_TRUE(zrtest::exists(appDir + "\\tool.exe"));
    EXPECT_EQ(std::vector<std::string>{}, zrtest::listTree(temp)) << "the unpacking folder and its files are gone";
}

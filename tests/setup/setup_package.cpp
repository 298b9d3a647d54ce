#include "setup_package.h"

#include "test_support.h"
#include "zip_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace setuptest {

const char kProductHere[] = "[SETUP_INFO]\r\nDefaultInstallationPath=%SetupDir%\\Product\r\n";

namespace {

// Every package folder lives as long as the test program, so that a setup
// process a failed test left running never loses its folder under it.
zrtest::TempDir& packageRoot() {
    static zrtest::TempDir root;
    return root;
}

}  // namespace

PackageFolder::PackageFolder(const std::string& exeName) {
    static int count = 0;
    dir_ = packageRoot().file("package" + std::to_string(++count));
    CreateDirectoryA(dir_.c_str(), nullptr);
    exe_ = file(exeName);
    EXPECT_TRUE(CopyFileA(zrtest::distPath("setup.exe").c_str(), exe_.c_str(), FALSE));
}

PackageFolder& PackageFolder::script(const std::string& text) {
    zrtest::writeFile(file("Setup.ini"), text);
    return *this;
}

PackageFolder& PackageFolder::language(const std::string& name, const std::string& text) {
    zrtest::writeFile(file(name), text);
    return *this;
}

PackageFolder& PackageFolder::archive(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<ziptest::Entry> zipEntries;
    for (const auto& entry : entries)
        zipEntries.push_back({entry.first, entry.second, ziptest::dosTime(2004, 5, 6, 7, 8, 10)});
    ziptest::writeZip(file("setup.zip"), zipEntries);
    return *this;
}

PackageFolder& PackageFolder::copy(const std::string& from, const std::string& name) {
    EXPECT_TRUE(CopyFileA(from.c_str(), file(name).c_str(), FALSE)) << from;
    return *this;
}

std::string PackageFolder::file(const std::string& name) const { return dir_ + "\\" + name; }

const std::string& PackageFolder::path() const { return dir_; }

HWND waitWindow(robot::Robot& robot, const std::string& caption, int timeoutMs) {
    std::string error;
    HWND window = robot.waitWindow({std::nullopt, caption}, timeoutMs, &error);
    if (!window)
        ADD_FAILURE() << "no window \"" << caption << "\": " << error;
    return window;
}

void clickAndWaitGone(HWND window, unsigned id) {
    std::string error;
    EXPECT_TRUE(robot::click(window, id, &error)) << error;
    EXPECT_TRUE(robot::waitGone(window, kSetupTimeoutMs, &error)) << error;
}

std::string controlText(HWND window, unsigned id) {
    std::string text, error;
    return robot::controlText(window, id, &text, &error) ? text : "<missing>";
}

const robot::ControlInfo* findControl(const std::vector<robot::ControlInfo>& controls, unsigned id) {
    for (const robot::ControlInfo& control : controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

bool startSetup(robot::Robot& robot, const PackageFolder& package, const std::string& arguments) {
    std::string error;
    if (robot.start(package.exe() + arguments, package.path(), &error))
        return true;
    ADD_FAILURE() << error;
    return false;
}

int exitCode(robot::Robot& robot, int timeoutMs) {
    int code = 0;
    std::string error;
    if (!robot.waitExit(timeoutMs, &code, &error)) {
        ADD_FAILURE() << error;
        return 9999;
    }
    return code;
}

}  // namespace setuptest

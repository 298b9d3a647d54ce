#include "install_run.h"

#include "owners.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

namespace installtest {

std::vector<std::string> InstallRun::files() const {
    const std::vector<std::string>& all = log.lines(InstallLog::AppFileList);
    return std::vector<std::string>(all.begin() + 1, all.end());
}

SystemFolders fixtureFolders() {
    SystemFolders folders = querySystemFolders();
    folders.setupDir = zrtest::sourcePath("tests/setup/install/fixtures/model");
    return folders;
}

std::string testName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

bool keyExists(HKEY root, const std::string& path) {
    RegKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

bool readValue(HKEY root, const std::string& path, const std::string& name, std::string* bytes, DWORD* type) {
    RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return false;
    const char* valueName = name.empty() ? nullptr : name.c_str();
    DWORD size = 0;
    DWORD valueType = REG_NONE;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &valueType, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::string data(size + 2, '\0');  // room for a zero the registry may add
    DWORD got = static_cast<DWORD>(data.size());
    if (RegQueryValueExA(key.get(), valueName, nullptr, &valueType, reinterpret_cast<BYTE*>(&data[0]), &got) !=
        ERROR_SUCCESS)
        return false;
    data.resize(got);
    *bytes = data;
    if (type)
        *type = valueType;
    return true;
}

int valueCount(HKEY root, const std::string& path) {
    RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return -1;
    DWORD values = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return -1;
    return static_cast<int>(values);
}

void deleteKey(HKEY root, const std::string& path) {
    SHDeleteKeyA(root, path.c_str());
}

}  // namespace installtest

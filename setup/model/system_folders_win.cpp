#include "system_folders.h"

#include "owners.h"
#include "system_info.h"

#include <shlobj.h>

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// A folder of the current user's shell, or the empty text when the shell cannot
// supply it (no such folder on this system, no profile).
std::string shellFolder(int csidl) {
    CoTaskMem itemList;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, reinterpret_cast<LPITEMIDLIST*>(itemList.receive()))) ||
        !itemList)
        return std::string();
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(static_cast<LPCITEMIDLIST>(itemList.get()), path))
        return std::string();
    return path;
}

// CommonFilesDir is read as text whatever type the value has.
std::string commonFilesFolder() {
    const char* fallback = "C:\\Program Files\\Common Files";
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return fallback;
    char data[MAX_PATH + 1] = {};  // one spare zero ends a text stored without one
    DWORD size = MAX_PATH;
    if (RegQueryValueExA(key.get(), "CommonFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return fallback;
    return data;
}

// The answer of GetWindowsDirectoryA and its like; the empty text when the call
// fails or the folder does not fit.
template <typename Query>
std::string systemFolder(Query query) {
    char path[MAX_PATH] = {};
    UINT length = query(path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
}

}  // namespace

SystemFolders querySystemFolders() {
    SystemFolders folders;

    if (!readSoftwareString("Microsoft\\Windows\\CurrentVersion\\ProgramFilesDir", &folders.programFiles))
        folders.programFiles = "C:\\Program Files";

    char module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string modulePath(module, length < MAX_PATH ? length : 0);
    size_t lastBackslash = modulePath.rfind('\\');
    folders.setupDir = lastBackslash == std::string::npos ? std::string() : modulePath.substr(0, lastBackslash);

    folders.winDir = systemFolder(GetWindowsDirectoryA);
    folders.winSysDir = systemFolder(GetSystemDirectoryA);

    folders.desktop = shellFolder(CSIDL_DESKTOP);
    folders.startUp = shellFolder(CSIDL_STARTUP);
    folders.startMenu = shellFolder(CSIDL_STARTMENU);
    folders.startMenuPrograms = shellFolder(CSIDL_PROGRAMS);

    folders.commonFiles = commonFilesFolder();
    return folders;
}

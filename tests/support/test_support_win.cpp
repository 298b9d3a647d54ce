#include "test_support.h"

#include "owners.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zrtest {

TempDir::TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        wsprintfA(name, "%szrtest%lu_%u", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary folder");
    }
}

void removeTree(const std::string& path) {
    if (path.empty())
        return;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..")
                removeTree(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

ProcessResult runProcess(const std::string& commandLine, const std::string& workingDir, int timeoutMs) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return result;
    }
    result.started = true;

    // Drain the pipe while waiting, so that a chatty child never blocks on it.
    DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
    for (;;) {
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD got = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0)
                break;
            result.output.append(buffer, got);
        }
        DWORD wait = WaitForSingleObject(process.hProcess, 20);
        if (wait == WAIT_OBJECT_0)
            break;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) {
            TerminateProcess(process.hProcess, 255);
            WaitForSingleObject(process.hProcess, 5000);
            result.timedOut = true;
            break;
        }
    }
    // Only what is already there: a grandchild that inherited the pipe may keep it
    // open long after the child ended.
    DWORD available = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0)
            break;
        result.output.append(buffer, got);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = static_cast<int>(code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(readEnd);
    return result;
}

std::vector<std::string> pendingFileRenames() {
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE,
                      key.receive()) != ERROR_SUCCESS)
        return {};
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::string data(size, '\0');
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
        return {};
    data.resize(size);
    std::vector<std::string> strings;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\0') {
            strings.push_back(data.substr(start, i - start));
            start = i + 1;
        }
    }
    // The list ends with an empty string after the last pair.
    if (strings.size() % 2 == 1 && strings.back().empty())
        strings.pop_back();
    return strings;
}
void setEmulatedVersion(
const std::string& exeName, const std::string& version) {
    std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open " + key);
    if (version.empty())
        RegDeleteValueA(handle, "Version");
    else
        RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                       static_cast<DWORD>(version.size() + 1));
    RegCloseKey(handle);
}

namespace {

void listInto(const std::string& root, const std::string& prefix, std::vector<std::string>* entries) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            entries->push_back(prefix + name + "\\");
            listInto(root + "\\" + name, prefix + name + "\\", entries);
        } else {
            entries->push_back(prefix + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

std::vector<std::string> listTree(const std::string& root) {
    std::vector<std::string> entries;
    listInto(root, "", &entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace zrtest

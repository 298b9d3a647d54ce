#include "restart.h"

#include "owners.h"

#include <windows.h>

#include <cstdlib>

namespace {

void enableShutdownPrivilege() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive()))
        return;  // Windows 95/98/ME have no tokens and need no privilege
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace

void restartWindows() {
    if (const char* record = std::getenv("ZR_FAKE_RESTART")) {
        HANDLE file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written;
            WriteFile(file, "restart\r\n", 9, &written, nullptr);
            CloseHandle(file);
        }
        return;
    }
    enableShutdownPrivilege();
    ExitWindowsEx(EWX_REBOOT, 0);
}

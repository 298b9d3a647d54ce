// The program a test package names as its run entry. The stub starts it in the
// unpacking folder; it records what it finds there and what the stub's dialog
// shows at that moment, in a report whose path the test passes in the
// environment (the stub gives its program no arguments):
//
//   ZR_PROBE_REPORT  the report file (required); written whole under a
//                    temporary name and then renamed, so a reader never sees
//                    half of it
//   ZR_PROBE_LEAVE   a file name the probe creates in its current folder
//   ZR_PROBE_HOLD    a path; after the report the probe waits (at most a minute)
//                    until something exists there, so that two runs overlap
//
// Report lines, fields separated by a tab:
//   folder <current folder>
//   file <name> <size>     each file in the current folder
//   dialog <n>             how many "Unpacking..." dialogs the parent process has
//   visible <0|1>          whether the first one is visible
//   range <low> <high>     its progress bar's range
//   position <n>           its progress bar's position
//   module <path>          each module loaded in the parent process
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <string>

namespace {

std::string environment(const char* name) {
    char value[MAX_PATH * 2];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

DWORD parentProcessId() {
    DWORD parent = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == GetCurrentProcessId())
            parent = entry.th32ParentProcessID;
    CloseHandle(snapshot);
    return parent;
}

struct DialogSearch {
    DWORD processId;
    std::string caption;
    HWND first = nullptr;
    int count = 0;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM context) {
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (owner == search.processId && search.caption == caption) {
        if (!search.first)
            search.first = window;
        ++search.count;
    }
    return TRUE;
}

// A value from another process's window; -1 when it does not answer in time.
long long ask(HWND window, UINT message, WPARAM wparam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wparam, 0, SMTO_ABORTIFHUNG, 5000, &result))
        return -1;
    return static_cast<long long>(static_cast<int>(result));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string reportPath = environment("ZR_PROBE_REPORT");
    if (reportPath.empty())
        return 2;
    std::string report;
    auto line = [&report](const std::string& key, const std::string& value) {
        report += key + "\t" + value + "\n";
    };

    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    line("folder", folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(folder) + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                line("file", std::string(found.cFileName) + "\t" + std::to_string(found.nFileSizeLow));
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    const DWORD parent = parentProcessId();
    DialogSearch dialogs{parent, "Unpacking..."};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&dialogs));
    line("dialog", std::to_string(dialogs.count));
    if (dialogs.first) {
        HWND progress = GetDlgItem(dialogs.first, 1000);
        line("visible", IsWindowVisible(dialogs.first) ? "1" : "0");
        line("range", std::to_string(ask(progress, PBM_GETRANGE, TRUE)) + "\t" +
                          std::to_string(ask(progress, PBM_GETRANGE, FALSE)));
        line("position", std::to_string(ask(progress, PBM_GETPOS, 0)));
    }

    HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, parent);
    if (modules != INVALID_HANDLE_VALUE) {
        MODULEENTRY32 module = {};
        module.dwSize = sizeof module;
        for (BOOL more = Module32First(modules, &module); more; more = Module32Next(modules, &module))
            line("module", module.szExePath);
        CloseHandle(modules);
    }

    const std::string leave = environment("ZR_PROBE_LEAVE");
    if (!leave.empty()) {
        HANDLE file = CreateFileA(leave.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }

    const std::string partial = reportPath + ".partial";
    HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
    if (!MoveFileExA(partial.c_str(), reportPath.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 4;

    const std::string hold = environment("ZR_PROBE_HOLD");
    if (!hold.empty()) {
        // A deadline, so that a failed test never leaves the probe behind.
        const DWORD start = GetTickCount();
        while (GetFileAttributesA(hold.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 60000)
            Sleep(20);
    }
    return 0;
}

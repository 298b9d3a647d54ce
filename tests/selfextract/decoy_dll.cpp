// A DLL planted beside a package under the name of a DLL that Windows would
// look for in the program's folder (comctl32.dll, uxtheme.dll): if a process
// loads it, it leaves "<its file name>.loaded" beside itself, holding the
// loading program's path. It exports what the control program calls, so that
// the control really runs with it.
#include <windows.h>

namespace {

void leaveMarker(HINSTANCE self) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH - 8);
    if (length == 0 || length >= MAX_PATH - 8)
        return;
    lstrcatA(path, ".loaded");
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    HANDLE marker = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(marker, program, lstrlenA(program), &written, nullptr);
    WriteFile(marker, "\r\n", 2, &written, nullptr);
    CloseHandle(marker);
}

}  // namespace

extern "C" __declspec(dllexport) void WINAPI InitCommonControls() {}

extern "C" __declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*) { return TRUE; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        leaveMarker(instance);
    return TRUE;
}

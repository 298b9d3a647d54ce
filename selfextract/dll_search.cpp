#include "dll_search.h"

#include "file.h"

#include <string>

namespace {

// The loader functions of newer systems, looked up at run time: the stub must
// start on Windows 95, whose kernel32 has neither.
FARPROC kernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

template <typename Function>
Function as(FARPROC found) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

void restrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
    if (FARPROC found = kernelFunction("SetDefaultDllDirectories"))
        as<SetDefaultDllDirectoriesFunction>(found)(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // "" removes the current folder from the search of LoadLibrary.
    if (FARPROC found = kernelFunction("SetDllDirectoryA"))
        as<SetDllDirectoryFunction>(found)("");
}

HMODULE loadSystemLibrary(const char* name) {
    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    // With a full path the program's folder is never searched for the DLL, and
    // the altered search looks for its dependencies in the system folder first.
    return LoadLibraryExA(joinPath(system, name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

#pragma once
// The stub runs from wherever the user saved the package, typically a download
// folder that may hold any DLL a web page pushed there. Windows looks for a DLL
// in the program's folder (and, on old systems, in the current folder) before
// the system folder, unless the DLL is one of the system's known DLLs. So the
// stub imports only known DLLs (kernel32, user32, ole32, msvcrt) and loads every
// other DLL itself, by its full path in the system folder. Windows only.

#include <windows.h>

// Takes the program's folder and the current folder out of the DLL search for
// the rest of the process where the system can (SetDefaultDllDirectories from
// Windows 8 and updated Vista/7, SetDllDirectoryA from XP SP1). Older systems
// lack both; there the full paths below are what protects the stub. Call it
// first thing, before anything can load a DLL.
void restrictDllSearch();

// Loads the DLL name from the system folder (GetSystemDirectoryA), with the
// DLL's own folder searched first for its dependencies. Null when it cannot be
// loaded; the caller owns the module.
HMODULE loadSystemLibrary(const char* name);

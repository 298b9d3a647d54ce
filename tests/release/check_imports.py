#!/usr/bin/env python3
"""check_imports.py DIST_DIR: the release programs must start on Windows 95 to XP.

Windows refuses to start a program that imports a function its DLLs lack, before
any of the program's code runs, so one import from a newer Windows (often pulled
in by the compiler's runtime, not by our code) makes a program dead there. This
reads each program's import table and fails on any function of the list below:
functions that Windows 95 (and NT4 or 2000, for the later ones) does not export
at all. Functions the kit needs only where they exist are looked up at run time
with GetProcAddress and so never appear here.
"""
import os
import re
import subprocess
import sys

ABSENT_BEFORE_XP = {
    # kernel32
    "AddVectoredExceptionHandler", "RemoveVectoredExceptionHandler", "GetModuleHandleExA",
    "GetModuleHandleExW", "GetTickCount64", "InitializeCriticalSectionAndSpinCount",
    "TryEnterCriticalSection", "IsDebuggerPresent", "GetHandleInformation", "SetHandleInformation",
    "SetDllDirectoryA", "SetDllDirectoryW", "SetDefaultDllDirectories", "AddDllDirectory",
    "GetFileSizeEx", "SetFilePointerEx", "GetDiskFreeSpaceExA", "GetDiskFreeSpaceExW",
    "InitializeSListHead", "InterlockedPushEntrySList", "InterlockedPopEntrySList",
    "FlsAlloc", "FlsGetValue", "FlsSetValue", "FlsFree", "IsWow64Process",
    "GetSystemWow64DirectoryA", "CreateHardLinkA", "GetLongPathNameA", "OpenThread",
    "SwitchToThread", "GetNativeSystemInfo", "AttachConsole", "GetConsoleWindow",
    "InitOnceExecuteOnce", "InitializeSRWLock", "AcquireSRWLockExclusive",
    "InitializeConditionVariable", "SleepConditionVariableCS", "GetCurrentProcessorNumber",
    "CreateSymbolicLinkA", "GetFinalPathNameByHandleA", "GetErrorMode", "SetThreadErrorMode",
    "VerSetConditionMask", "VerifyVersionInfoA",
    "GlobalMemoryStatusEx", "GetProcessId", "GetThreadId", "CheckRemoteDebuggerPresent",
    # user32
    "GetWindowInfo", "GetLayeredWindowAttributes", "SetLayeredWindowAttributes",
    "PrintWindow", "GetAncestor", "RealGetWindowClassA", "GetRawInputData", "SetThreadDpiAwarenessContext",
    "SetProcessDPIAware", "ChangeWindowMessageFilter", "LockSetForegroundWindow", "AllowSetForegroundWindow",
    # advapi32
    "RegGetValueA", "RegDeleteKeyExA", "RegDeleteTreeA", "RegOpenCurrentUser", "RegDisablePredefinedCache",
    "RegCopyTreeA", "RegSetKeyValueA",
    # shell32
    "SHGetFolderPathA", "SHGetKnownFolderPath", "SHCreateDirectoryExA",
}

PROGRAMS = ["setup.exe", "selfextract.exe", "uninstall.exe"]

# The package stub starts in the user's download folder: beside the system's
# known DLLs it may import nothing, or a DLL planted there would be loaded.
STUB_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "advapi32.dll", "msvcrt.dll",
             "shell32.dll"}


def imports(path):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], check=True,
                         capture_output=True, text=True).stdout
    dll, found = None, {}
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
            found.setdefault(dll, [])
            continue
        m = re.match(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)", line)
        if m and dll:
            found[dll].append(m.group(1))
    return found


def main():
    dist = sys.argv[1]
    failures, checked = [], 0
    for name in PROGRAMS:
        path = os.path.join(dist, name)
        if not os.path.exists(path):
            if name != "uninstall.exe":  # not built yet
                failures.append(f"{path}: missing; build the release programs first (make win32)")
            continue
        checked += 1
        table = imports(path)
        if not table:
            failures.append(f"{path}: no import table found")
        for dll, functions in sorted(table.items()):
            for function in functions:
                if function in ABSENT_BEFORE_XP:
                    failures.append(f"{name}: imports {dll}!{function}, which older Windows lacks")
            if name == "selfextract.exe" and dll not in STUB_DLLS:
                failures.append(f"{name}: imports {dll}, which is not a known DLL of the system")
        print(f"{name}: " + ", ".join(f"{dll} ({len(f)})" for dll, f in sorted(table.items())))
    for failure in failures:
        print("FAIL " + failure)
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())

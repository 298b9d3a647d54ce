#pragma once
// Queries of the running system: the Windows version, a registry value as text,
// and a file's fixed version information. Windows only.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The version of the running Windows, as GetVersionExA reports it. Throws
// WinException("Couldn't check Windows version") when the query fails.
class WindowsVersion {
public:
    WindowsVersion();

    bool isWindows95() const { return is9x() && major() == 4 && minor() == 0; }
    bool isWindows98() const { return is9x() && major() == 4 && minor() == 10; }  // also Second Edition
    bool isWindowsME() const { return is9x() && major() == 4 && minor() == 90; }
    bool isWindowsNT4() const { return isNT() && major() <= 4; }  // NT 3.x counts too
    bool isWindows2000() const { return isNT() && major() == 5 && minor() == 0; }
    bool isWindowsXP() const { return isNT() && major() == 5 && minor() == 1; }
    bool is9x() const { return info_.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS; }
    bool isNT() const { return info_.dwPlatformId == VER_PLATFORM_WIN32_NT; }

    uint32_t platform() const { return info_.dwPlatformId; }
    uint32_t major() const { return info_.dwMajorVersion; }
    uint32_t minor() const { return info_.dwMinorVersion; }

private:
    OSVERSIONINFOEXA info_;
};

// Reads the value named by the last part of path (after its last backslash) in
// the key named by the rest, under root. A path without a backslash names a value
// of root itself. REG_SZ and REG_EXPAND_SZ give their text (not expanded), REG_DWORD
// its signed decimal: true. REG_BINARY sets text to "Binary data" and any other
// type to "Can't convert to string": false. A missing key or value, or data over
// 260 bytes, gives false and leaves text unchanged.
bool readString(HKEY root, const std::string& path, std::string* text);

// The same under HKEY_LOCAL_MACHINE\Software: path is below "Software\".
bool readSoftwareString(const std::string& path, std::string* text);

// The fixed version information of an executable file; not valid for a file
// that is no executable image, that cannot be loaded, or that has no version
// resource.
class FileVersion {
public:
    explicit FileVersion(const std::string& path);

    bool valid() const { return valid_; }
    uint32_t fileVersionMS() const { return fixed_.dwFileVersionMS; }
    uint32_t fileVersionLS() const { return fixed_.dwFileVersionLS; }
    const VS_FIXEDFILEINFO& fixedInfo() const { return fixed_; }

private:
    bool valid_ = false;
    VS_FIXEDFILEINFO fixed_ = {};
    std::vector<char> data_;  // the whole version resource
};

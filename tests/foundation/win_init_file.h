#pragma once
// WinInit.ini in the Windows folder of the prefix, removed for one test and
// restored afterwards. The tests that edit it all live in one test program, so
// that no two of them run at once.

#include "test_support.h"

#include <windows.h>

#include <string>

class WinInitFile {
public:
    WinInitFile() {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        path_ = std::string(windows) + "\\WinInit.Ini";
        existed_ = zrtest::exists(path_);
        saved_ = zrtest::readFile(path_);
        DeleteFileA(path_.c_str());
    }
    ~WinInitFile() {
        if (existed_)
            zrtest::writeFile(path_, saved_);
        else
            DeleteFileA(path_.c_str());
    }
    WinInitFile(const WinInitFile&) = delete;
    WinInitFile& operator=(const WinInitFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool existed_;
    std::string saved_;
};

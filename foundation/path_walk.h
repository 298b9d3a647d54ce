#pragma once
// The walk of createPath, shared by file_win.cpp and file_posix.cpp. It is a
// template over the folder maker so that a test can record which folders the
// walk tries without touching any file system.

#include "file.h"

#include <string>

namespace detail {

// makeFolder creates one folder and answers whether it was created. separator is
// the platform's, except in tests that walk Windows paths on any platform.
// The caller has checked the length (the walk works on a copy, never a buffer).
template <typename MakeFolder>
bool walkCreatePath(std::string path, MakeFolder makeFolder, char separator = kPathSeparator) {
    if (!path.empty() && path.back() == separator)
        path.pop_back();  // one separator only
    if (makeFolder(path))
        return true;

    // Where the first folder that may need creating begins: after the drive (or
    // the root), or after the server and share of a UNC path, which can never be
    // created and must not be tried.
    size_t start;
    if (path.size() >= 2 && path[0] == separator && path[1] == separator) {
        size_t server = path.find(separator, 2);
        if (server == std::string::npos)
            return false;
        start = path.find(separator, server + 1);
    } else {
        start = path.find(separator);
    }
    if (start == std::string::npos)
        return false;

    // Each prefix that ends before a separator, then the whole path. Only the
    // last creation counts; the ones before may fail because the folder exists.
    bool created = false;
    size_t pos = start + 1;
    for (;;) {
        size_t next = path.find(separator, pos);
        if (next == std::string::npos) {
            created = makeFolder(path);
            break;
        }
        created = makeFolder(path.substr(0, next));
        pos = next + 1;
        if (pos >= path.size())
            break;
    }
    return created;
}

}  // namespace detail

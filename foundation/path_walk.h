#pragma once
// Internal to file_win.cpp and file_posix.cpp.

#include "file.h"

#include <string>

namespace detail {

// The walk of createPath, shared by both platforms: makeFolder creates one
// folder and answers whether it was created.
template <typename MakeFolder>
bool walkCreatePath(std::string path, MakeFolder makeFolder) {
    if (!path.empty() && path.back() == kPathSeparator)
        path.pop_back();  // one separator only
    if (makeFolder(path))
        return true;

    // Where the first folder that may need creating begins: after the drive (or
    // the root), or after the server and share of a UNC path.
    size_t start;
    if (path.size() >= 2 && path[0] == kPathSeparator && path[1] == kPathSeparator) {
        size_t server = path.find(kPathSeparator, 2);
        if (server == std::string::npos)
            return false;
        start = path.find(kPathSeparator, server + 1);
    } else {
        start = path.find(kPathSeparator);
    }
    if (start == std::string::npos)
        return false;

    // Each prefix that ends before a separator, then the whole path. Only the
    // last creation counts; the ones before may fail because the folder exists.
    bool created = false;
    size_t pos = start + 1;
    for (;;) {
        size_t next = path.find(kPathSeparator, pos);
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

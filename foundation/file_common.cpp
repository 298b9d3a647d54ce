#include "file.h"

std::string joinPath(const std::string& directory, const std::string& name) {
    std::string path = directory;
    if (!name.empty()) {
        if (!path.empty() && path.back() != kPathSeparator)
            path += kPathSeparator;
        path += name;
    }
    return path;
}

bool File::open(const char* directory, const char* name, int mode) {
    return open(joinPath(directory ? directory : "", name ? name : "").c_str(), mode);
}

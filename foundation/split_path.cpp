#include "split_path.h"

void splitPath(const std::string& path, std::string* folder, std::string* name) {
    size_t last = path.rfind('\\');
    if (last == std::string::npos) {
        if (folder)
            folder->clear();
        if (name)
            *name = path;
        return;
    }
    // Compute both before assigning: path may be one of the outputs.
    std::string before = path.substr(0, last);
    std::string after = path.substr(last + 1);
    if (folder)
        *folder = std::move(before);
    if (name)
        *name = std::move(after);
}

#include "work_folder.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// The paths of the live folder, kept where a signal handler can read them
// without allocating. A build has one work folder at a time.
char gFolder[PATH_MAX];
char gFiles[WorkFolder::kMaxFiles][PATH_MAX];
volatile sig_atomic_t gFileCount = 0;
volatile sig_atomic_t gActive = 0;

void copyPath(char* target, const std::string& path) {
    std::strncpy(target, path.c_str(), PATH_MAX - 1);
    target[PATH_MAX - 1] = '\0';
}

}  // namespace

WorkFolder::~WorkFolder() { remove(); }

bool WorkFolder::create(const std::string& parent, std::string* error) {
    remove();
    std::string pattern = (parent.empty() ? std::string(".") : parent) + "/.zrpack-XXXXXX";
    if (pattern.size() >= PATH_MAX - 64) {
        *error = "the output folder's path is too long";
        return false;
    }
    if (!mkdtemp(&pattern[0])) {
        *error = "cannot create a work folder in " + (parent.empty() ? std::string(".") : parent) + " (" +
                 std::strerror(errno) + ")";
        return false;
    }
    path_ = pattern;
    copyPath(gFolder, path_);
    gFileCount = 0;
    gActive = 1;
    return true;
}

std::string WorkFolder::file(const std::string& name) {
    std::string path = path_ + "/" + name;
    if (fileCount_ < kMaxFiles) {
        files_[fileCount_] = path;
        copyPath(gFiles[fileCount_], path);
        gFileCount = ++fileCount_;
    }
    return path;
}

void WorkFolder::remove() {
    if (path_.empty())
        return;
    gActive = 0;
    for (int i = 0; i < fileCount_; ++i)
        ::unlink(files_[i].c_str());
    ::rmdir(path_.c_str());
    path_.clear();
    fileCount_ = 0;
}

void removeWorkFolderOnSignal() {
    if (!gActive)
        return;
    for (int i = 0; i < gFileCount; ++i)
        ::unlink(gFiles[i]);
    ::rmdir(gFolder);
    gActive = 0;
}

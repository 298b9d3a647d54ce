#pragma once
// The folder a build works in: a fresh hidden folder beside the package being
// written, so that the finished package moves into place with one rename on
// the same file system and a failed build leaves nothing behind. Whatever the
// folder holds when its owner goes is removed, the folder too.

#include <string>

class WorkFolder {
public:
    WorkFolder() = default;
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Creates ".zrpack-XXXXXX" in parent. False with a reason in *error.
    bool create(const std::string& parent, std::string* error);
    // A path inside the folder, removed with it (at most kMaxFiles of them).
    std::string file(const std::string& name);
    // Removes the files and the folder now.
    void remove();

    static constexpr int kMaxFiles = 4;

private:
    std::string path_;
    std::string files_[kMaxFiles];
    int fileCount_ = 0;
};

// For a signal handler: removes what the live WorkFolder holds with
// async-signal-safe calls only. An interrupted build then leaves nothing.
void removeWorkFolderOnSignal();

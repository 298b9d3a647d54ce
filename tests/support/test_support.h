#pragma once
// Helpers for the test programs. Paths are in the form the running platform
// takes: under Wine the Unix root is drive Z:, so a source file is "Z:\...".

#include <string>
#include <vector>

namespace zrtest {

// A file or folder of the source tree or of the test program's build tree;
// relative uses '/' and may be empty.
std::string sourcePath(const std::string& relative);
std::string binaryPath(const std::string& relative);
// A program of the kit as the build leaves it (dist/win64 or dist/bin).
std::string distPath(const std::string& name);

// Unix form to platform form ('/' to '\' with the Z: drive under Windows).
std::string platformPath(const std::string& unixPath);

std::string readFile(const std::string& path);  // whole file, bytes as stored; "" if missing
void writeFile(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);

// A fresh, empty folder in the system's temporary folder, removed with all its
// content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() joined with name by the platform's separator.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Removes a file or a whole folder tree; missing paths are fine.
void removeTree(const std::string& path);

#ifdef _WIN32
struct ProcessResult {
    bool started = false;
    bool timedOut = false;  // the process was killed at the deadline
    int exitCode = 0;
    std::string output;     // what it wrote to standard output and error
};

// Runs a command line with workingDir as its current folder ("" keeps ours) and
// waits at most timeoutMs.
ProcessResult runProcess(const std::string& commandLine, const std::string& workingDir = "",
                         int timeoutMs = 30000);

// The moves Windows NT carries out at its next start
// (PendingFileRenameOperations): pairs of source and destination as NT paths
// (\??\C:\...), where an empty destination deletes and a leading "!" replaces.
std::vector<std::string> pendingFileRenames();

// Every file and folder below root, as relative paths (folders end in a
// backslash), sorted; empty when root is missing.
std::vector<std::string> listTree(const std::string& root);

// Makes Wine report version (win95, win98, winme, nt40, win2k, winxp) to every
// program named exeName from its next start; "" removes the setting.
void setEmulatedVersion(const std::string& exeName, const std::string& version);
#endif

}  // namespace zrtest

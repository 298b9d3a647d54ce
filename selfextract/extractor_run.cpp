#include "extractor_run.h"

#include "file.h"
#include "package_format.h"
#include "resource.h"
#include "unpack_folder.h"

#include <commctrl.h>

#include <cstdlib>
#include <ctime>

namespace {

const char kCorrupted[] =
    "This self-extracting executable file has been corrupted. The installation will be terminated.";

void showWarning(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_ICONWARNING);
}

// The user's temporary folder as the system names it, or "" when it gives none.
std::string temporaryFolder() {
    char path[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    return std::string(path, length);
}

// Deletes the carried files and then the folder when it goes, whatever ended
// the run. Only the carried names are deleted: a folder in which the started
// program left files of its own stays, with those files.
class UnpackedFiles {
    static constexpr int kCleanUpAttempts = 30;  // 3 seconds at the most

public:
    UnpackedFiles(const PackageDirectory& package, std::string folder)
        : package_(package), folder_(std::move(folder)) {}
    ~UnpackedFiles() {
        // The program that just ended may still hold its image or the folder (its
        // current folder) for a moment after its end was signalled, so a failure
        // other than "not empty" is tried again for a while.
        for (int attempt = 0;; ++attempt) {
            bool carriedLeft = false;
            for (uint32_t i = 0; i < package_.fileCount(); ++i) {
                const std::string& name = package_.file(i).name;
                if (name.empty())
                    continue;
                const std::string path = joinPath(folder_, name);
                if (!DeleteFileA(path.c_str()) && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
                    carriedLeft = true;
            }
            if (RemoveDirectoryA(folder_.c_str()))
                return;
            const DWORD error = GetLastError();
            if (GetFileAttributesA(folder_.c_str()) == INVALID_FILE_ATTRIBUTES)
                return;
            // Only files of the started program's own are left: the folder stays.
            if ((!carriedLeft && error == ERROR_DIR_NOT_EMPTY) || attempt == kCleanUpAttempts)
                return;
            Sleep(100);
        }
    }
    UnpackedFiles(const UnpackedFiles&) = delete;
    UnpackedFiles& operator=(const UnpackedFiles&) = delete;

private:
    const PackageDirectory& package_;
    std::string folder_;
};

}  // namespace

ExtractorControls::ExtractorControls(HWND dialog)
    : dialog(dialog), status(GetDlgItem(dialog, IDC_STATUS)), progressBar(GetDlgItem(dialog, IDC_PROGRESS_BAR)) {}

ExtractorRun::ExtractorRun(PackageDirectory& package, const ExtractorControls& controls)
    : package_(package), controls_(controls) {}

void ExtractorRun::run() {
    // After ended_ is set the user-interface thread may be waiting for this
    // thread, so posting is all that is left to do.
    struct Ending {
        ExtractorRun& run;
        ~Ending() {
            run.ended_ = true;
            PostMessageA(run.controls_.dialog, WM_CLOSE, 0, 0);
        }
    } ending{*this};
    unpackAndStart();
}

void ExtractorRun::unpackAndStart() {
    char packagePath[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, packagePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        packagePath[0] = '\0';  // cannot be read: reported as damaged below

    // Nothing is written before the whole package has been checked: its
    // checksum, then a directory that holds together.
    if (!checksumMatches(packagePath)) {
        if (!stop_)
            showWarning(kCorrupted, "Error");
        return;
    }
    if (package_.load(packagePath) != package::kSuccess) {
        showWarning(kCorrupted, "Error");
        return;
    }
    if (stop_)
        return;
    SendMessageA(controls_.progressBar, PBM_SETRANGE, 0, MAKELPARAM(0, package_.fileCount()));

    // rand() keeps its seed per thread, so the seed is planted on this one.
    srand(static_cast<unsigned>(time(nullptr)));
    std::string folder;
    if (!createUnpackFolder(temporaryFolder(), rand, &folder)) {
        showWarning("Can not create a temporary folder.", "Error");
        return;
    }
    UnpackedFiles unpacked(package_, folder);
    // A file that cannot be written is simply missing; the program still starts.
    package_.extractAll(packagePath, folder, onFileDone, this, &stop_);
    if (stop_)
        return;
    ShowWindow(controls_.dialog, SW_HIDE);
    startProgram(folder);
}

bool ExtractorRun::checksumMatches(const char* packagePath) const {
    uint32_t computed = 0;
    unsigned char stored[package::kCheckBlockSize];
    return package_.computeCrc(packagePath, &computed, &stop_) &&
           package_.readStoredCrc(packagePath, stored, sizeof stored) && package::readLE32(stored) == computed;
}

void ExtractorRun::startProgram(const std::string& folder) const {
    // A package without a program to run has been unpacked for nothing; its
    // files go again at once.
    if (package_.runEntryCount() == 0 || !package::isPlainFileName(package_.runEntry(0).name))
        return;
    std::string program = joinPath(folder, package_.runEntry(0).name);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
}

void ExtractorRun::onFileDone(uint32_t done, const PackedFile&, void* self) {
    const ExtractorRun& run = *static_cast<const ExtractorRun*>(self);
    SendMessageA(run.controls_.progressBar, PBM_SETPOS, done + 1, 0);
}

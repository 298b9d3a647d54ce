#include "file_installer.h"

#include "errors.h"
#include "file.h"
#include "install_log.h"
#include "owners.h"
#include "system_info.h"

namespace {

// The packaged copy that modes 1 to 6 compare with the installed file: an empty
// file made in the temporary folder, deleted when the comparison is over -
// unless it became the source of a replacement at the next start, or an
// exception leaves the comparison first.
class TempCopy {
public:
    TempCopy() {
        char folder[MAX_PATH];
        DWORD length = GetTempPathA(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH)
            return;
        if (GetTempFileNameA(folder, "tmp", 0, path_))
            made_ = true;
    }
    ~TempCopy() {
        if (made_ && !kept_)
            DeleteFileA(path_);
    }
    TempCopy(const TempCopy&) = delete;
    TempCopy& operator=(const TempCopy&) = delete;

    bool made() const { return made_; }
    const char* path() const { return path_; }
    void keep() { kept_ = true; }

private:
    char path_[MAX_PATH] = {};
    bool made_ = false;
    bool kept_ = false;
};

VersionStamp versionOf(const std::string& path) {
    FileVersion version(path);
    VersionStamp stamp;
    stamp.valid = version.valid();
    if (stamp.valid) {
        stamp.ms = version.fileVersionMS();
        stamp.ls = version.fileVersionLS();
    }
    return stamp;
}

bool lastWriteTime(const char* path, FILETIME* time) {
    UniqueHandle file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && GetFileTime(file.get(), nullptr, nullptr, time);
}

}  // namespace

FileInstaller::FileInstaller(InstallLog& log, HWND label) : log_(log), label_(label) {
    if (!archive_.open("setup.zip"))
        throw FileException("setup.zip", FileException::NotFound);
}

void FileInstaller::setLabel(const std::string& text) {
    if (label_)
        SendMessageA(label_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void FileInstaller::installFile(const std::string& record) {
    FileRecord file;
    if (!parseFileRecord(record, &file))
        return;
    setLabel(file.targetPath);
    // The folder is made for the file, not recorded: the uninstaller removes only
    // the folders of the folder sections.
    if (!createPath(targetFolder(file.targetPath).c_str()) && !lastErrorIsAlreadyExists())
        return;

    bool installed = false;
    if (!fileExists(file.targetPath.c_str())) {
        installed = extractTo(file.entryName, file.targetPath);
    } else {
        switch (existingTarget(file.mode)) {
        case ExistingTarget::Overwrite: installed = extractTo(file.entryName, file.targetPath); break;
        case ExistingTarget::Compare: installed = compareAndReplace(file); break;
        case ExistingTarget::Keep: installed = true; break;
        }
    }
    if (!installed)
        return;

    if (!(file.flags & NotLoggedFlag))
        log_.addFile(file.targetPath);
    if (file.flags & SharedFileFlag)
        incrementSharedCount(file.targetPath.c_str());
    if (file.flags & RegisterServerFlag)
        registerComponent(file.targetPath.c_str());
}

bool FileInstaller::extractTo(const std::string& entryName, const std::string& path) {
    // The entry is looked up first, so that a record whose entry is missing
    // leaves an existing file exactly as it was, attributes included.
    if (!archive_.locate(entryName.c_str()))
        return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return archive_.extractCurrent(path.c_str());
}

bool FileInstaller::compareAndReplace(const FileRecord& file) {
    TempCopy packaged;
    if (!packaged.made() || !extractTo(file.entryName, packaged.path()))
        return false;

    bool replace = false;
    if (comparesVersions(file.mode))
        replace = versionReplaces(file.mode, versionOf(packaged.path()), versionOf(file.targetPath));
    if (!replace && comparesTimes(file.mode)) {
        FILETIME packagedTime, installedTime;
        if (lastWriteTime(file.targetPath.c_str(), &installedTime) && lastWriteTime(packaged.path(), &packagedTime))
            replace = timeReplaces(file.mode, CompareFileTime(&packagedTime, &installedTime));
    }
    // The outcome of the replacement does not change the record: an existing
    // file that could not be replaced still counts as installed.
    if (replace && replacer_.replaceFile(packaged.path(), file.targetPath.c_str()) == FileReplacer::Deferred)
        packaged.keep();  // the pending move at the next start takes it from there
    return true;
}

void FileInstaller::installFolder(const std::string& record) {
    std::string folder = record.substr(0, record.find(','));
    // False with "already exists" is a folder that was there before: the
    // uninstaller must not remove it, so it is not logged.
    if (createPath(folder.c_str()))
        log_.addFolder(folder);
}

bool registerComponent(const char* path) {
    // Only an executable image maps as a data file: anything else is never run.
    HMODULE image = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (reinterpret_cast<uintptr_t>(image) <= 32)
        return false;
    FreeLibrary(image);

    Module module(LoadLibraryA(path));
    if (reinterpret_cast<uintptr_t>(module.get()) < 32)
        return false;
    FARPROC entry = GetProcAddress(module.get(), "DllRegisterServer");
    if (!entry)
        return false;
    using RegisterServer = HRESULT(STDAPICALLTYPE*)();
    reinterpret_cast<RegisterServer>(reinterpret_cast<void*>(entry))();
    return true;
}

uint32_t freeDiskSpaceKB(const char* path) {
    std::string root = diskSpaceRoot(path ? path : "");
    // Windows 95 before OSR2 lacks the Ex function, and its older sibling cannot
    // count past 2 GB, so the newer one is used wherever it exists.
    using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "GetDiskFreeSpaceExA") : nullptr;
    uint64_t bytes = 0;
    if (found) {
        auto getDiskFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExFunction>(reinterpret_cast<void*>(found));
        ULARGE_INTEGER available, total, free;
        if (!getDiskFreeSpaceEx(root.c_str(), &available, &total, &free))
            return 0;
        bytes = available.QuadPart;
    } else {
        DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
        if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
            return 0;
        bytes = uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
    }
    return kilobytesOf(bytes);
}

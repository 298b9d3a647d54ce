#pragma once
// The processors of the file and folder sections (APPLICATION_, SHARED_ and
// SYSTEM_FILES and _FOLDERS): files come out of setup.zip, an existing file is
// replaced or kept by the record's overwrite mode, files in use are replaced at
// the next start of Windows, and what was installed goes into the install log
// under the category the driver selected. Every failure is silent: the record
// is then not logged, counted or registered. Windows only.

#include "archive_reader.h"
#include "file_record.h"
#include "record_installer.h"
#include "shared_files.h"

#include <windows.h>

#include <cstdint>
#include <string>

class InstallLog;

class FileInstaller : public RecordInstaller {
public:
    // Opens "setup.zip" in the current folder (the folder setup runs in); throws
    // FileException("setup.zip", 1) when it cannot. log must outlive the
    // installer. label is the Progress page's status line, which shows the
    // target of each file record; it may be null.
    FileInstaller(InstallLog& log, HWND label);

    FileInstaller(const FileInstaller&) = delete;
    FileInstaller& operator=(const FileInstaller&) = delete;

    // A file record (see file_record.h).
    void install(const std::string& record) override { installFile(record); }

    // (ignored),entry,target,flags,mode. The target's folder is created as
    // needed (and not logged). A missing target is extracted; an existing one
    // is overwritten (mode 0), compared through a temporary copy (modes 1 to 6)
    // or kept (other modes; the record still counts as installed). Installed:
    // logged unless flag 8, counted under SharedDLLs with flag 4, registered
    // with flag 2.
    void installFile(const std::string& record);

    // A folder record: its first field is a folder, created with its missing
    // parents and logged only when it did not exist before.
    void installFolder(const std::string& record);

    // Set once a file in use could only be replaced at the next start of Windows.
    bool restartNeeded() const { return replacer_.restartNeeded(); }

private:
    // The entry written to path; a read-only path is made writable first.
    bool extractTo(const std::string& entryName, const std::string& path);
    // Modes 1 to 6 over an existing target: true when the record counts as
    // installed, whether or not the target was replaced.
    bool compareAndReplace(const FileRecord& file);
    void setLabel(const std::string& text);

    InstallLog& log_;
    HWND label_;
    ArchiveReader archive_;
    FileReplacer replacer_;
};

// The folder sections' processor: hands each record to the file installer.
class FolderInstaller : public RecordInstaller {
public:
    explicit FolderInstaller(FileInstaller& files) : files_(files) {}
    void install(const std::string& record) override { files_.installFolder(record); }

private:
    FileInstaller& files_;
};

// Calls the DllRegisterServer of the DLL at path. False when the file is no
// executable image, cannot be loaded or exports no DllRegisterServer; the
// function's own result is not looked at.
bool registerComponent(const char* path);

// Free space available to the caller on the drive of path, in units of 1024
// bytes: for a path with a drive letter its root is asked, any other path (UNC)
// is asked as given. 0 on failure; UINT32_MAX for more than 32 bits' worth.
uint32_t freeDiskSpaceKB(const char* path);

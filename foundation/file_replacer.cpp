#include "shared_files.h"

#include "deferred_replace.h"
#include "system_info.h"

#include <string>

namespace {

// The errors of a copy onto a file that is in use: a running program's image or
// a file another process holds open (ERROR_SHARING_VIOLATION), or one the system
// keeps from being written (ERROR_ACCESS_DENIED).
bool isInUse(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

}  // namespace

FileReplacer::Result FileReplacer::replaceFile(const char* source, const char* target) {
    if (CopyFileA(source, target, FALSE))
        return Replaced;
    if (!isInUse(GetLastError()))
        return Failed;

    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // A folder refuses the copy the same way; it is never moved aside.
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return Failed;
        if (attributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(target, attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (CopyFileA(source, target, FALSE))
        return Replaced;
    DWORD error = GetLastError();

    WindowsVersion version;
    if (version.isNT()) {
        if (!isInUse(error))
            return Failed;
        restartNeeded_ = true;
        return replaceInUseNT(source, target);
    }
    if (version.is9x()) {
        // WININIT deletes the old file and renames the new one at the next start.
        restartNeeded_ = true;
        addWinInitRename(source, target);
        return Deferred;
    }
    return Failed;
}

// The NT family lets a file in use, even a loaded module, be renamed: the old
// file moves aside, the new one is copied in at once, and the old one is deleted
// at the next start.
FileReplacer::Result FileReplacer::replaceInUseNT(const char* source, const char* target) {
    std::string backup = backupNameFor(target, [](const std::string& name) {
        return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    if (MoveFileExA(target, backup.c_str(), MOVEFILE_COPY_ALLOWED)) {
        if (CopyFileA(source, target, TRUE)) {
            if (MoveFileExA(backup.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
                return Replaced;
        } else {
            // The target must not stay missing until the next start: put the old
            // file back (over whatever the failed copy left).
            MoveFileExA(backup.c_str(), target, MOVEFILE_REPLACE_EXISTING);
        }
    }
    // The new file moves in at the next start. The old one is usually still
    // there, so the move must be allowed to replace it; without that flag the
    // system would refuse the move at boot and keep the old file.
    if (MoveFileExA(source, target, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING))
        return Deferred;
    return Failed;
}

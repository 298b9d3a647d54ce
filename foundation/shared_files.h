#pragma once
// Shared-file reference counts and the replacement of files that are in use.
// Windows only (the pure parts live in deferred_replace.h). Nothing here shows a
// message; failures come back as results.
//
// Counts live in the system's list of shared files, the key
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs: one
// REG_DWORD per file, named by the file's full path exactly as given (no case
// folding, no normalisation). The functions open that key, never create it,
// and close it again on every path.

#include <cstdint>

// Adds one to the path's count (a missing value, or one whose data is longer than
// 4 bytes, becomes 1) and returns the new count; -1 when the key cannot be opened.
int32_t incrementSharedCount(const char* path);

// Takes one from the path's count and returns the new count; a count of 0 stays
// 0 and is not written. -1 when the key cannot be opened or the value cannot be
// read (missing, or longer than 4 bytes), which leaves the value as it was.
int32_t decrementSharedCount(const char* path);

// Removes the path's count; failures are ignored.
void deleteSharedCount(const char* path);

// True when the path can be opened for reading (a folder too); a file that is
// locked against readers counts as absent.
bool fileIsPresent(const char* path);

// Puts the line "destination=source" (or "NUL=source" when destination is null,
// which deletes source) at the top of the [Rename] section of WinInit.ini in the
// Windows folder, which Windows 95, 98 and ME carry out at their next start. The
// section is appended when the file has none; the rest of the file is kept byte
// for byte. False when the file could not be opened or mapped (it is then left
// as it was) or when the line would be longer than 1024 characters (a cut line
// would spoil the section); callers may ignore the answer.
bool addWinInitRename(const char* source, const char* destination);

// Copies new files over old ones and, for an old one that is in use, arranges
// the replacement for the next start of Windows. One per installation.
class FileReplacer {
public:
    enum Result {
        Replaced,  // the target holds the new content; the source may be deleted
        Deferred,  // the source moves onto the target at the next start; keep the source
        Failed,    // nothing was done or scheduled
    };

    // source is the new file, target the file to overwrite (never a folder).
    // Throws WinException("Couldn't check Windows version") when the target is in
    // use and the system cannot be identified.
    Result replaceFile(const char* source, const char* target);

    // Set once a replacement had to involve the next start of Windows (on the NT
    // family also when the old file could be moved aside and only its deletion
    // waits); never cleared.
    bool restartNeeded() const { return restartNeeded_; }

private:
    Result replaceInUseNT(const char* source, const char* target);

    bool restartNeeded_ = false;
};

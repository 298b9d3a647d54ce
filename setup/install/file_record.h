#pragma once
// The parts of file installation that need no Windows: the file record, the
// decision of the overwrite modes, the DOS date and time of archive entries and
// the free-space arithmetic.
//
// File record: (ignored),entry name,target path,flags,overwrite mode
// The entry name is a path inside setup.zip with backslashes; the target path is
// the full path of the installed file, variables already expanded.

#include <cstdint>
#include <string>

struct FileRecord {
    std::string entryName;
    std::string targetPath;
    int flags = 0;
    int mode = 0;
};

// Bits of the flags field; other bits have no effect.
enum FileFlags : int {
    RegisterServerFlag = 2,  // call the installed file's DllRegisterServer
    SharedFileFlag = 4,      // count the file under SharedDLLs
    NotLoggedFlag = 8,       // keep the file out of the install log
};

// False for a record with fewer than three fields, which is ignored. The first
// field means nothing to installation and is dropped; fields after the fifth
// are ignored. Flags and mode follow atoi: leading digits, 0 when there are none.
bool parseFileRecord(const std::string& record, FileRecord* file);

// The part of a target path before its last backslash; "" without one.
std::string targetFolder(const std::string& targetPath);

// What an install does with a target that exists already.
enum class ExistingTarget {
    Overwrite,  // mode 0: extracted straight over it
    Compare,    // modes 1 to 6: a packaged copy is compared with it first
    Keep,       // any other mode: left alone, and the record counts as installed
};
ExistingTarget existingTarget(int mode);

// A file's fixed version as the pair of 32-bit halves; valid is false for a
// file without version information.
struct VersionStamp {
    bool valid = false;
    uint32_t ms = 0;
    uint32_t ls = 0;
};

// Modes 1, 2, 5 and 6 compare versions; modes 3, 4, 5 and 6 compare last-write
// times, the mixed modes only when the versions did not decide for replacement.
bool comparesVersions(int mode);
bool comparesTimes(int mode);

// True when both files carry a version and the packaged one is the same or
// higher (modes 1 and 5) or higher (modes 2 and 6); false for any other mode.
bool versionReplaces(int mode, const VersionStamp& packaged, const VersionStamp& installed);

// comparison: the packaged file's last-write time against the installed one's,
// -1 earlier, 0 the same, 1 later (CompareFileTime). Modes 3 and 5 replace on 0
// or 1, modes 4 and 6 on 1 only; any other mode never.
bool timeReplaces(int mode, int comparison);

// A DOS date (high 16 bits) and time (low 16 bits), as zip entries store the
// last-write time: local time in two-second steps from 1980 to 2107.
struct DosDateTime {
    int year = 1980;
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;  // even
};
DosDateTime unpackDosDateTime(uint32_t packed);
// Odd seconds are rounded down; fields out of range are masked to their bits.
uint32_t packDosDateTime(const DosDateTime& time);
// The fields name a real moment: month 1 to 12, day within the month, hour,
// minute and second within their ranges.
bool isValidDosDateTime(const DosDateTime& time);

// The path whose drive the free-space query asks about: for a path whose
// second character is a colon the drive's root ("C:\"), any other path (a UNC
// path, a relative one) as given.
std::string diskSpaceRoot(const std::string& path);

// A byte count in units of 1024 bytes, as the 32-bit answer of freeDiskSpaceKB.
// Counts beyond 32 bits stay at the largest value rather than wrap round to a
// small one.
uint32_t kilobytesOf(uint64_t bytes);

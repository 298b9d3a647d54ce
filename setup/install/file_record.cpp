#include "file_record.h"

#include "record_fields.h"

#include <vector>

bool parseFileRecord(const std::string& record, FileRecord* file) {
    if (fieldCount(record) < 3)
        return false;
    std::vector<std::string> fields = splitRecord(record, 5);
    file->entryName = fields[1];
    file->targetPath = fields[2];
    file->flags = parseDecimal(fields[3]);
    file->mode = parseDecimal(fields[4]);
    return true;
}

std::string targetFolder(const std::string& targetPath) {
    size_t slash = targetPath.rfind('\\');
    return slash == std::string::npos ? std::string() : targetPath.substr(0, slash);
}

ExistingTarget existingTarget(int mode) {
    if (mode == 0)
        return ExistingTarget::Overwrite;
    if (mode >= 1 && mode <= 6)
        return ExistingTarget::Compare;
    return ExistingTarget::Keep;
}

bool comparesVersions(int mode) { return mode == 1 || mode == 2 || mode == 5 || mode == 6; }

bool comparesTimes(int mode) { return mode >= 3 && mode <= 6; }

bool versionReplaces(int mode, const VersionStamp& packaged, const VersionStamp& installed) {
    if (!comparesVersions(mode) || !packaged.valid || !installed.valid)
        return false;
    uint64_t newer = (uint64_t{packaged.ms} << 32) | packaged.ls;
    uint64_t older = (uint64_t{installed.ms} << 32) | installed.ls;
    bool sameCounts = mode == 1 || mode == 5;
    return sameCounts ? newer >= older : newer > older;
}

bool timeReplaces(int mode, int comparison) {
    if (!comparesTimes(mode))
        return false;
    bool sameCounts = mode == 3 || mode == 5;
    return comparison > 0 || (sameCounts && comparison == 0);
}

DosDateTime unpackDosDateTime(uint32_t packed) {
    uint32_t date = packed >> 16;
    uint32_t time = packed & 0xFFFF;
    DosDateTime t;
    t.year = 1980 + static_cast<int>(date >> 9);
    t.month = static_cast<int>((date >> 5) & 0x0F);
    t.day = static_cast<int>(date & 0x1F);
    t.hour = static_cast<int>(time >> 11);
    t.minute = static_cast<int>((time >> 5) & 0x3F);
    t.second = static_cast<int>(time & 0x1F) * 2;
    return t;
}

uint32_t packDosDateTime(const DosDateTime& t) {
    uint32_t date = ((static_cast<uint32_t>(t.year - 1980) & 0x7F) << 9) | ((static_cast<uint32_t>(t.month) & 0x0F) << 5) |
                    (static_cast<uint32_t>(t.day) & 0x1F);
    uint32_t time = ((static_cast<uint32_t>(t.hour) & 0x1F) << 11) | ((static_cast<uint32_t>(t.minute) & 0x3F) << 5) |
                    ((static_cast<uint32_t>(t.second) / 2) & 0x1F);
    return (date << 16) | time;
}

bool isValidDosDateTime(const DosDateTime& t) {
    static const int daysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1980 || t.year > 2107 || t.month < 1 || t.month > 12)
        return false;
    bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    int days = t.month == 2 && !leap ? 28 : daysIn[t.month - 1];
    return t.day >= 1 && t.day <= days && t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 &&
           t.second >= 0 && t.second < 60;
}

std::string diskSpaceRoot(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':')
        return std::string{path[0], ':', '\\'};
    return path;
}

uint32_t kilobytesOf(uint64_t bytes) {
    uint64_t kilobytes = bytes >> 10;
    return kilobytes > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(kilobytes);
}

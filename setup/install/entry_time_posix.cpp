// The entry's time on the extracted file, for the portable core's native build:
// the DOS stamp is local time, so mktime turns it into the file's time.
#include "archive_reader.h"

#include "file_record.h"

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

bool setFileDosTime(const char* path, uint32_t dosDateTime) {
    DosDateTime t = unpackDosDateTime(dosDateTime);
    if (!isValidDosDateTime(t))
        return false;
    std::tm local = {};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    local.tm_isdst = -1;
    std::time_t stamp = std::mktime(&local);
    if (stamp == static_cast<std::time_t>(-1))
        return false;
    struct timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;  // the last access stays
    times[1].tv_sec = stamp;
    return utimensat(AT_FDCWD, path, times, 0) == 0;
}

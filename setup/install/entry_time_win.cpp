// The entry's time on the extracted file, through the Win32 file-time calls.
#include "archive_reader.h"

#include "owners.h"

bool setFileDosTime(const char* path, uint32_t dosDateTime) {
    UniqueHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    FILETIME creation, access, write;
    if (!GetFileTime(file.get(), &creation, &access, &write))
        return false;
    FILETIME local, stamp;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime & 0xFFFF), &local) ||
        !LocalFileTimeToFileTime(&local, &stamp))
        return false;
    return SetFileTime(file.get(), &stamp, &access, &stamp) != 0;
}

#include "zip_fixture.h"

#include "file_record.h"

#include <stdexcept>

#include "zip.h"

namespace ziptest {

void writeZip(const std::string& path, const std::vector<Entry>& entries) {
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        throw std::runtime_error("cannot create " + path);
    for (const Entry& entry : entries) {
        zip_fileinfo info = {};
        info.dosDate = entry.dosDateTime;
        int method = entry.stored ? 0 : Z_DEFLATED;
        int level = entry.stored ? 0 : Z_DEFAULT_COMPRESSION;
        bool ok = zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level) ==
                      ZIP_OK &&
                  (entry.data.empty() ||
                   zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) == ZIP_OK) &&
                  zipCloseFileInZip(zip) == ZIP_OK;
        if (!ok) {
            zipClose(zip, nullptr);
            throw std::runtime_error("cannot write " + entry.name + " into " + path);
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK)
        throw std::runtime_error("cannot finish " + path);
}

uint32_t dosTime(int year, int month, int day, int hour, int minute, int second) {
    DosDateTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return packDosDateTime(time);
}

std::string noise(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;  // a plain linear congruential sequence
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

}  // namespace ziptest

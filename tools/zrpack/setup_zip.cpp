#include "setup_zip.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include <zlib.h>

#include "file_record.h"
#include "zip.h"

namespace {

constexpr size_t kPieceSize = 64 * 1024;

// Closes the archive on every way out; close() reports whether the central
// directory was written.
class ZipHandle {
public:
    explicit ZipHandle(const std::string& path) : zip_(zipOpen(path.c_str(), APPEND_STATUS_CREATE)) {}
    ~ZipHandle() {
        if (zip_)
            zipClose(zip_, nullptr);
    }
    ZipHandle(const ZipHandle&) = delete;
    ZipHandle& operator=(const ZipHandle&) = delete;

    zipFile get() const { return zip_; }
    bool close() {
        int result = zipClose(zip_, nullptr);
        zip_ = nullptr;
        return result == ZIP_OK;
    }

private:
    zipFile zip_;
};

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

bool addEntry(zipFile zip, const PayloadFile& entry, unsigned char* piece, std::string* error) {
    std::unique_ptr<FILE, FileCloser> input(std::fopen(entry.path.c_str(), "rb"));
    if (!input) {
        *error = "cannot read " + entry.path + " (" + std::strerror(errno) + ")";
        return false;
    }
    zip_fileinfo info;
    std::memset(&info, 0, sizeof info);
    info.dosDate = dosStampOf(entry.modified);
    if (zipOpenNewFileInZip3(zip, entry.entryName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                             Z_DEFLATED, Z_BEST_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                             Z_DEFAULT_STRATEGY, nullptr, 0) != ZIP_OK) {
        *error = "cannot add " + entry.entryName + " to setup.zip";
        return false;
    }
    for (;;) {
        size_t got = std::fread(piece, 1, kPieceSize, input.get());
        if (got > 0 && zipWriteInFileInZip(zip, piece, static_cast<unsigned>(got)) != ZIP_OK) {
            *error = "cannot write setup.zip (disk full?)";
            return false;
        }
        if (got < kPieceSize) {
            if (std::ferror(input.get())) {
                *error = "cannot read " + entry.path;
                return false;
            }
            break;
        }
    }
    if (zipCloseFileInZip(zip) != ZIP_OK) {
        *error = "cannot write setup.zip (disk full?)";
        return false;
    }
    return true;
}

}  // namespace

uint32_t dosStampOf(int64_t secondsSince1970) {
    DosDateTime first;  // 1 January 1980, 0:00:00
    DosDateTime last;
    last.year = 2107;
    last.month = 12;
    last.day = 31;
    last.hour = 23;
    last.minute = 59;
    last.second = 58;

    const time_t moment = static_cast<time_t>(secondsSince1970);
    struct tm local;
    if (localtime_r(&moment, &local) == nullptr)
        return packDosDateTime(first);
    if (local.tm_year < 80)
        return packDosDateTime(first);
    if (local.tm_year > 207)
        return packDosDateTime(last);
    DosDateTime stamp;
    stamp.year = local.tm_year + 1900;
    stamp.month = local.tm_mon + 1;
    stamp.day = local.tm_mday;
    stamp.hour = local.tm_hour;
    stamp.minute = local.tm_min;
    stamp.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second
    return packDosDateTime(stamp);
}

bool writeSetupZip(const std::vector<PayloadFile>& entries, const std::string& outPath,
                   std::string* error, const ZipProgress& progress) {
    // localtime_r need not look at TZ again by itself.
    tzset();
    ZipHandle zip(outPath);
    if (!zip.get()) {
        *error = "cannot create " + outPath;
        return false;
    }
    std::unique_ptr<unsigned char[]> piece(new unsigned char[kPieceSize]);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!addEntry(zip.get(), entries[i], piece.get(), error))
            return false;
        if (progress)
            progress(i + 1, entries[i]);
    }
    if (!zip.close()) {
        *error = "cannot write setup.zip (disk full?)";
        return false;
    }
    return true;
}

#include "archive_reader.h"

#include <cstdio>
#include <new>

#include "unzip.h"

bool ArchiveReader::open(const char* path) {
    close();
    buffer_.reset(new (std::nothrow) char[kBufferSize]);
    if (!buffer_) {
        result_ = kReaderFailure;
        return false;
    }
    archive_ = unzOpen(path);
    if (!archive_) {
        // unzOpen has no code of its own to give.
        buffer_.reset();
        result_ = kReaderFailure;
        return false;
    }
    result_ = UNZ_OK;
    return true;
}

bool ArchiveReader::locate(const char* entryName) {
    if (!archive_) {
        result_ = kReaderFailure;
        return false;
    }
    result_ = unzLocateFile(archive_, entryName, 0);
    return result_ == UNZ_OK;
}

bool ArchiveReader::extractCurrent(const char* path) {
    if (!archive_) {
        result_ = kReaderFailure;
        return false;
    }
    unz_file_info info;
    result_ = unzGetCurrentFileInfo(archive_, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (result_ != UNZ_OK)
        return false;

    // Tried twice before the entry counts as unwritable: a program that glances
    // at new files (a virus scanner) may hold this one for an instant.
    FILE* output = std::fopen(path, "wb");
    if (!output)
        output = std::fopen(path, "wb");
    if (!output) {
        result_ = kReaderFailure;
        return false;
    }

    result_ = unzOpenCurrentFile(archive_);
    if (result_ != UNZ_OK) {
        std::fclose(output);
        std::remove(path);
        return false;
    }

    bool written = true;
    uint64_t total = 0;
    for (;;) {
        int count = unzReadCurrentFile(archive_, buffer_.get(), kBufferSize);
        if (count < 0) {
            result_ = count;
            written = false;
            break;
        }
        if (count == 0)
            break;
        if (std::fwrite(buffer_.get(), static_cast<size_t>(count), 1, output) != 1) {
            result_ = kReaderFailure;
            written = false;
            break;
        }
        total += static_cast<uint64_t>(count);
    }
    // The library checks the CRC only when the entry delivered every byte its
    // header promised; a deflate stream that ends early would pass as whole.
    if (written && total != info.uncompressed_size) {
        result_ = kReaderFailure;
        written = false;
    }
    // The last buffered bytes reach the disk only now; a failure here is as
    // much a short file as a failed write.
    if (std::fclose(output) != 0 && written) {
        result_ = kReaderFailure;
        written = false;
    }

    if (written)
        setFileDosTime(path, static_cast<uint32_t>(info.dosDate));  // a stamp that cannot be set is no failure

    // Closing checks the entry's CRC once all of it was read.
    int closed = unzCloseCurrentFile(archive_);
    if (written) {
        result_ = closed;
        written = closed == UNZ_OK;
    }
    if (!written)
        std::remove(path);
    return written;
}

bool ArchiveReader::close() {
    if (!archive_)
        return true;
    result_ = unzClose(archive_);
    archive_ = nullptr;
    buffer_.reset();
    return result_ == UNZ_OK;
}

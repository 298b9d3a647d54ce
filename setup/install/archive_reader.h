#pragma once
// The product archive setup.zip, read through minizip's unzip interface: one
// entry at a time is located and written to a file, streamed through one buffer
// of kBufferSize bytes, so that no entry is ever held in memory whole.
//
// Portable: the output is written with the C library's streams, and only the
// entry's time stamp goes through the platform (setFileDosTime).

#include <cstdint>
#include <memory>

class ArchiveReader {
public:
    static constexpr unsigned kBufferSize = 16384;
    // lastResult() after a failure of the reader itself rather than of the library.
    static constexpr int kReaderFailure = -1;

    ArchiveReader() = default;
    ~ArchiveReader() { close(); }
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // Opens the archive at path (relative to the current folder unless full),
    // closing any archive held first, and allocates the buffer. False when the
    // archive cannot be opened or the buffer cannot be had.
    bool open(const char* path);
    // Makes the entry named entryName the current one. Names are compared the
    // library's default way: without regard to the case of a to z on Windows,
    // exactly elsewhere. False when there is no such entry or no archive.
    bool locate(const char* entryName);
    // Writes the current entry to path, creating or truncating the file, and
    // gives the file the entry's date and time as its last-write (and, on
    // Windows, creation) time. False when the entry cannot be read whole or the
    // file cannot be written; a file this call created or truncated is then
    // removed again, so a half-written file never stays behind.
    bool extractCurrent(const char* path);
    // Closes the archive and frees the buffer; true when nothing was open.
    bool close();

    bool isOpen() const { return archive_ != nullptr; }
    // The code of the last operation: 0 for success, kReaderFailure, or the
    // library's own (negative) code.
    int lastResult() const { return result_; }

private:
    void* archive_ = nullptr;  // unzFile
    std::unique_ptr<char[]> buffer_;
    int result_ = 0;
};

// Sets path's last-write time, and on Windows its creation time, to a DOS date
// (high 16 bits) and time (low 16 bits) read as local time; the last-access time
// stays. False when the file cannot be opened or the stamp names no real moment.
bool setFileDosTime(const char* path, uint32_t dosDateTime);

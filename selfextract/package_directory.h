#pragma once
// Reads a package's directory from the end of the file, checks its checksum and
// unpacks the carried files. A package is untrusted input: the reader refuses
// anything that does not hold together (counts beyond its tables, names that
// are not plain file names, data that runs past the file) before a single byte
// is written, so nothing lands outside the target folder.
//
// Portable: all file access goes through File and createPath, so the stub uses
// it on Windows and the package builder on Linux.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "file.h"
#include "package_format.h"

struct PackedFile {
    std::string name;
    uint32_t size = 0;
    uint32_t offset = 0;
};

struct RunEntry {
    std::string name;
    uint32_t parameter = 0;
};

// Called after each file extractAll handled, written or not: done counts the
// files before this one (0 for the first).
using ExtractCallback = void (*)(uint32_t done, const PackedFile& file, void* value);

class PackageDirectory {
public:
    // The checksum over the whole package with the check block counted as zeros.
    // False when the package cannot be read, its check block is not 4 bytes long
    // or stop was raised while reading.
    bool computeCrc(const char* path, uint32_t* crc,
                    const std::atomic<bool>* stop = nullptr) const;
    // Copies the stored check block into buffer; false when there is none or it
    // is not 4 bytes long, or capacity is less than 4.
    bool readStoredCrc(const char* path, void* buffer, uint32_t capacity) const;

    // Fills the tables; kSuccess at once when they are already loaded. On any
    // other result the tables stay empty.
    int load(const char* path);

    // One file into folder (created if missing). The output never stays behind
    // half written: a read or write failure removes it.
    int extractFile(File& package, uint32_t index, const std::string& folder);

    // Every file, the last record first; a file that cannot be written is skipped.
    // With stop raised, ends before the next file (still kSuccess: the caller
    // knows its own request).
    int extractAll(const char* path, const std::string& folder, ExtractCallback callback,
                   void* value, const std::atomic<bool>* stop = nullptr);

    bool loaded() const { return loaded_; }
    uint32_t fileCount() const { return static_cast<uint32_t>(files_.size()); }
    const PackedFile& file(uint32_t index) const { return files_[index]; }
    uint32_t runEntryCount() const { return static_cast<uint32_t>(runEntries_.size()); }
    const RunEntry& runEntry(uint32_t index) const { return runEntries_[index]; }

private:
    std::vector<PackedFile> files_;
    std::vector<RunEntry> runEntries_;
    bool loaded_ = false;
};

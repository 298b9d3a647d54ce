#pragma once
// Zip archives made by the tests themselves, with minizip's zip interface: the
// entries' names, contents, DOS times and compression are whatever a test needs.

#include <cstdint>
#include <string>
#include <vector>

namespace ziptest {

struct Entry {
    std::string name;      // as stored, e.g. "AppDir\\tool.exe"
    std::string data;
    uint32_t dosDateTime;  // packDosDateTime
    bool stored = false;   // kept uncompressed, so that its bytes appear in the archive as they are
};

// Writes the archive to path, replacing any file there; throws
// std::runtime_error when it cannot.
void writeZip(const std::string& path, const std::vector<Entry>& entries);

// The DOS stamp of a local date and time (seconds are rounded down to even).
uint32_t dosTime(int year, int month, int day, int hour, int minute, int second);

// size bytes that do not compress, the same for the same seed.
std::string noise(size_t size, uint32_t seed);

}  // namespace ziptest

#pragma once
// The byte layout of a package, shared by the stub that reads it and the builder
// that writes it. A package is the stub executable followed by the carried files,
// their directory, one run entry, the check block and the marker; every length
// field stands after the bytes it measures, because the reader walks the file
// from its end:
//
//   stub | file data | directory records | file count | run entry |
//   run entry count | check block | check block length | "<ZR_SEA>"
//
//   directory record: offset(4) size(4) name(k) k(4)
//   run entry:        name(k) k(4) parameter(4)
//
// All integers are 32-bit little-endian. Pure logic: no <windows.h>.

#include <cstddef>
#include <cstdint>
#include <string>

namespace package {

constexpr char kMarker[] = "<ZR_SEA>";
constexpr uint32_t kMarkerSize = 8;
constexpr uint32_t kCheckBlockSize = 4;
constexpr uint32_t kRunParameter = 1000;  // what writers put into the run entry

// The reader's tables. Names are read into a 1024-byte buffer with its
// terminator, so a name may have at most 1023 bytes.
constexpr uint32_t kMaxFiles = 1024;
constexpr uint32_t kMaxRunEntries = 256;
constexpr uint32_t kMaxNameLength = 1023;

// Result codes of the reader and the extractor.
enum Result : int {
    kCannotOpen = 1000,         // the package cannot be opened (directory load)
    kNoMarker = 1001,           // no marker, or a directory that does not hold together
    kSuccess = 1002,
    kNoFiles = 1004,            // a file count of 0, or more than the tables hold
    kCannotCreate = 1005,       // an output file cannot be created or written
    kCannotOpenPackage = 1006,  // the package cannot be opened or read (extraction)
};

// The package checksum: CRC-32 with the reflected polynomial 0xEDB88320, but
// started from 0 and not inverted at the end (the ZIP CRC starts from all ones
// and inverts). "abc" gives 0xCA6598D0. Feed the pieces of a file in order,
// passing the previous result as crc.
uint32_t updateCrc(uint32_t crc, const void* data, size_t size);

// A name that may be written into the unpacking folder: not empty, not "." or
// "..", no folder separator, drive colon, wildcard or control character, and not
// a device name such as CON or LPT1 (with or without an extension), which
// Windows would open instead of a file in the folder.
bool isPlainFileName(const std::string& name);

// Little-endian fields.
inline uint32_t readLE32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void writeLE32(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

}  // namespace package

#pragma once
// Lays out a package: the stub, the carried files, their directory, the run
// entry and the check block, sealed with its checksum. Used by the package
// builder and by the tests that need packages, good and hostile.

#include <cstdint>
#include <string>
#include <vector>

namespace package {

struct CarriedFile {
    std::string name;  // the name in the directory (a plain file name)
    std::string path;  // where its bytes come from
};

// Called after each carried file was appended.
using WriteProgress = void (*)(size_t done, size_t total, const CarriedFile& file, void* value);

// Writes the package to outPath (created or replaced). On failure returns false
// with a one-line reason in *error; what was written of outPath is then
// incomplete and the caller removes it. The files must have plain, distinct
// names and runName must be one of them.
bool writePackage(const std::string& stubPath, const std::vector<CarriedFile>& files,
                  const std::string& runName, const std::string& outPath, std::string* error,
                  WriteProgress progress = nullptr, void* value = nullptr);

// The same layout in memory, without checks, so that tests can make packages
// that no builder would write. seal() computes the checksum over the bytes and
// stores it into the check block (the 4 bytes before the last 12).
struct MemoryFile {
    std::string name;
    std::string data;
};
std::string layOutPackage(const std::string& stub, const std::vector<MemoryFile>& files,
                          const std::string& runName, uint32_t parameter = 1000);
void seal(std::string* package);

}  // namespace package

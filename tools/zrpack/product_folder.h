#pragma once
// A product folder as a product team keeps it: the files at its top travel
// beside setup.exe (Setup.ini, the language files, licence, readme, splash
// picture...), and the tree under payload/ becomes setup.zip, each file an
// entry named by its path under payload/ with backslashes
// (payload/AppDir/tool.exe is the entry AppDir\tool.exe). Other folders at the
// top (sources, notes) are not carried. Names that begin with a dot
// (.gitattributes, .DS_Store) are the tools' business, not the product's, and
// are left out at every level.

#include <cstdint>
#include <string>
#include <vector>

#include "problem_list.h"

struct TopFile {
    std::string name;  // as it will be carried
    std::string path;
    uint64_t size = 0;
};

struct PayloadFile {
    std::string entryName;  // AppDir\tool.exe
    std::string path;
    uint64_t size = 0;
    int64_t modified = 0;  // seconds since 1970, UTC
};

struct ProductFolder {
    std::string path;
    std::vector<TopFile> files;        // sorted by name, byte for byte
    bool hasPayload = false;
    std::vector<PayloadFile> payload;  // sorted by entry name, byte for byte
};

// Reads the folder. Problems (a folder that cannot be read, payload files that
// are no regular files or whose names would not make sound entries) go to
// problems; what could be read is in *folder either way.
void scanProductFolder(const std::string& path, ProductFolder* folder, ProblemList* problems);

// Upper case of a to z only: how Windows file names and setup's archive lookup
// compare without regard to case.
std::string foldCase(const std::string& name);

// The top-level file that Windows would open for name, or nullptr.
const TopFile* findTopFile(const ProductFolder& folder, const std::string& name);

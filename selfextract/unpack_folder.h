#pragma once
// The folder a package is unpacked into: "zr" and a number, in the user's
// temporary folder. It must be new for every run: a folder that exists may
// belong to another package started in the same second (same seed, same first
// number) or be left over by an earlier run, and unpacking into it would mix
// our files with theirs and later delete theirs. Pure logic over File's path
// helpers: no <windows.h>.

#include <string>

// How many numbers are tried before the run gives up.
constexpr int kMaxUnpackFolderTries = 1000;

// Creates temporaryFolder + "zr" + nextNumber() (one separator between them),
// taking the next number while that name exists, at most maxTries times. A
// temporary folder that does not exist yet is created with its parents. On
// success *folder receives the new folder's path, without a trailing separator.
// False when temporaryFolder is empty, every number tried was taken, or a
// folder cannot be created for another reason.
bool createUnpackFolder(const std::string& temporaryFolder, int (*nextNumber)(), std::string* folder,
                        int maxTries = kMaxUnpackFolderTries);

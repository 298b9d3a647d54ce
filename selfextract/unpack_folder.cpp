#include "unpack_folder.h"

#include "file.h"

bool createUnpackFolder(const std::string& temporaryFolder, int (*nextNumber)(), std::string* folder,
                        int maxTries) {
    // An empty temporary folder would make a relative name, in whatever folder
    // is current.
    if (temporaryFolder.empty())
        return false;
    for (int tries = 0; tries < maxTries; ++tries) {
        std::string candidate = joinPath(temporaryFolder, "zr" + std::to_string(nextNumber()));
        // createPath answers for the last folder only: true when the candidate
        // itself was made here, missing parents included.
        if (createPath(candidate.c_str())) {
            *folder = candidate;
            return true;
        }
        if (!lastErrorIsAlreadyExists())
            return false;
    }
    return false;
}

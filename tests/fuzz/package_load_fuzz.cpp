// The package reader over arbitrary bytes: a package is untrusted input. Every
// input either loads and extracts only plain names into the scratch folder, or
// is refused; nothing reads past a buffer or loops.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <dirent.h>
#include <unistd.h>

#include "package_directory.h"

namespace {

std::string scratch() {
    static std::string folder = [] {
        char pattern[] = "/tmp/package_load_fuzz.XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made == nullptr)
            abort();
        return std::string(made);
    }();
    return folder;
}

void emptyFolder(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string package = scratch() + "/package.exe", out = scratch() + "/out";
    FILE* file = std::fopen(package.c_str(), "wb");
    if (file == nullptr)
        abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    PackageDirectory reader;
    uint32_t crc = 0;
    unsigned char block[4];
    reader.computeCrc(package.c_str(), &crc);
    reader.readStoredCrc(package.c_str(), block, sizeof block);
    if (reader.load(package.c_str()) == package::kSuccess) {
        for (uint32_t i = 0; i < reader.fileCount(); ++i) {
            const std::string& name = reader.file(i).name;
            if (!name.empty() && !package::isPlainFileName(name))
                abort();
        }
        reader.extractAll(package.c_str(), out, nullptr, nullptr);
        emptyFolder(out);
    }
    return 0;
}

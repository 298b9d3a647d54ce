// Figures for the package's check and unpack, each phase in its own process so
// that its peak memory is its own:
//   package_bench make DIR MB                 mixed payload files of about MB megabytes
//   package_bench pack STUB DIR RUN OUT       a package of DIR's files plus RUN (the run entry)
//   package_bench crc PACKAGE                 the checksum alone
//   package_bench unpack PACKAGE OUT          check and unpack, as the stub does
//   package_bench copy FILE OUT               a plain copy of the same bytes: the limit
// Every phase but make prints: seconds=S bytes=B peak_kb=K
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "file.h"
#include "package_directory.h"
#include "package_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

int usage() {
    std::fprintf(stderr, "usage: package_bench make DIR MB | pack STUB DIR RUN OUT | crc PACKAGE |"
                         " unpack PACKAGE OUT | copy FILE OUT\n");
    return 2;
}

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

uint64_t fileSize(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

void report(Clock::time_point start, uint64_t bytes) {
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("seconds=%.3f bytes=%llu peak_kb=%ld\n", seconds, static_cast<unsigned long long>(bytes), peakKb());
}

bool writeAll(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// About half text that compresses well and half bytes that do not, in many
// small files, some of a few megabytes and a few large ones, as products have.
int makePayload(const std::string& dir, uint64_t megabytes) {
    createPath(dir.c_str());
    std::mt19937 random(20261211);
    static const char* const words[] = {"install", "setup", "window", "folder", "registry", "value",
                                        "shortcut", "archive", "product", "version", "the", "a"};
    const uint64_t total = megabytes << 20;
    uint64_t made = 0;
    for (int index = 0; made < total && index < 1000; ++index) {
        uint64_t size;
        if (index % 40 == 39)
            size = (16u << 20) + random() % (16u << 20);
        else if (index % 8 == 7)
            size = (1u << 20) + random() % (4u << 20);
        else
            size = 1024 + random() % (64u << 10);
        size = std::min(size, total - made);
        std::string bytes;
        bytes.reserve(size);
        const bool text = index % 2 == 0;
        while (bytes.size() < size) {
            if (text) {
                bytes += words[random() % 12];
                bytes += random() % 9 == 0 ? "\r\n" : " ";
            } else {
                uint32_t r = static_cast<uint32_t>(random());
                bytes.append(reinterpret_cast<const char*>(&r), 4);
            }
        }
        bytes.resize(size);
        char name[32];
        std::snprintf(name, sizeof name, "file%04d.%s", index, text ? "txt" : "bin");
        if (!writeAll(dir + "/" + name, bytes)) {
            std::fprintf(stderr, "package_bench: cannot write %s/%s\n", dir.c_str(), name);
            return 1;
        }
        made += size;
    }
    std::printf("payload: %llu bytes in %s\n", static_cast<unsigned long long>(made), dir.c_str());
    return 0;
}

int pack(const std::string& stub, const std::string& dir, const std::string& run, const std::string& out) {
    std::vector<package::CarriedFile> files;
    DIR* folder = opendir(dir.c_str());
    if (folder == nullptr)
        return 1;
    while (dirent* entry = readdir(folder))
        if (entry->d_name[0] != '.')
            files.push_back({entry->d_name, dir + "/" + entry->d_name});
    closedir(folder);
    std::sort(files.begin(), files.end(),
              [](const package::CarriedFile& a, const package::CarriedFile& b) { return a.name < b.name; });
    const std::string runName = run.substr(run.find_last_of('/') + 1);
    files.push_back({runName, run});
    std::string error;
    auto start = Clock::now();
    if (!package::writePackage(stub, files, runName, out, &error)) {
        std::fprintf(stderr, "package_bench: %s\n", error.c_str());
        return 1;
    }
    report(start, fileSize(out));
    return 0;
}

int crc(const std::string& path) {
    auto start = Clock::now();
    uint32_t value = 0;
    if (!PackageDirectory().computeCrc(path.c_str(), &value))
        return 1;
    report(start, fileSize(path));
    return 0;
}

int unpack(const std::string& path, const std::string& out) {
    auto start = Clock::now();
    PackageDirectory reader;
    uint32_t computed = 0;
    unsigned char stored[4];
    if (!reader.computeCrc(path.c_str(), &computed) || !reader.readStoredCrc(path.c_str(), stored, 4) ||
        package::readLE32(stored) != computed) {
        std::fprintf(stderr, "package_bench: %s is damaged\n", path.c_str());
        return 1;
    }
    if (reader.extractAll(path.c_str(), out, nullptr, nullptr) != package::kSuccess)
        return 1;
    report(start, fileSize(path));
    return 0;
}

int copy(const std::string& from, const std::string& to) {
    auto start = Clock::now();
    File input, output;
    uint32_t size = 0;
    if (!input.open(from.c_str(), File::Read) || !input.size(&size) || !output.create(to.c_str()))
        return 1;
    std::vector<unsigned char> piece(64 * 1024);
    for (uint32_t left = size; left > 0;) {
        uint32_t want = std::min<uint32_t>(left, static_cast<uint32_t>(piece.size())), got = 0, written = 0;
        if (!input.read(piece.data(), want, &got) || !output.write(piece.data(), got, &written))
            return 1;
        left -= got;
    }
    output.close();
    report(start, size);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "make")
        return makePayload(args[1], std::strtoull(args[2].c_str(), nullptr, 10));
    if (args.size() == 5 && args[0] == "pack")
        return pack(args[1], args[2], args[3], args[4]);
    if (args.size() == 2 && args[0] == "crc")
        return crc(args[1]);
    if (args.size() == 3 && args[0] == "unpack")
        return unpack(args[1], args[2]);
    if (args.size() == 3 && args[0] == "copy")
        return copy(args[1], args[2]);
    return usage();
}

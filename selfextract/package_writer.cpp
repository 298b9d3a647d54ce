#include "package_writer.h"

#include <cctype>
#include <cstring>
#include <memory>
#include <set>

#include "file.h"
#include "package_format.h"

namespace package {

namespace {

constexpr uint32_t kPieceSize = 64 * 1024;

std::string le32(uint32_t value) {
    unsigned char raw[4];
    writeLE32(raw, value);
    return std::string(reinterpret_cast<char*>(raw), 4);
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The directory, the run entry and the trailer with a zero check block: all
// that follows the file data.
std::string layOutTail(const std::vector<std::pair<std::string, std::pair<uint32_t, uint32_t>>>& records,
                       const std::string& runName, uint32_t parameter) {
    std::string tail;
    for (const auto& record : records)
        tail += le32(record.second.first) + le32(record.second.second) + record.first +
                le32(static_cast<uint32_t>(record.first.size()));
    tail += le32(static_cast<uint32_t>(records.size()));
    tail += runName + le32(static_cast<uint32_t>(runName.size())) + le32(parameter) + le32(1);
    tail += le32(0) + le32(kCheckBlockSize);
    tail.append(kMarker, kMarkerSize);
    return tail;
}

// Appends to the package while keeping its checksum and size.
class Sink {
public:
    explicit Sink(File& file) : file_(file) {}
    bool write(const void* data, uint32_t count) {
        uint32_t written = 0;
        if (count > UINT32_MAX - size_ || !file_.write(data, count, &written) || written != count)
            return false;
        crc_ = updateCrc(crc_, data, count);
        size_ += count;
        return true;
    }
    uint32_t size() const { return size_; }
    uint32_t crc() const { return crc_; }

private:
    File& file_;
    uint32_t size_ = 0;
    uint32_t crc_ = 0;
};

// Copies a whole file; *size receives its length. The message names what failed.
bool copyInto(Sink& sink, const std::string& path, uint32_t* size, std::string* error) {
    File input;
    uint32_t length = 0;
    if (!input.open(path.c_str(), File::Read) || !input.size(&length)) {
        *error = "cannot read " + path;
        return false;
    }
    std::unique_ptr<unsigned char[]> piece(new unsigned char[kPieceSize]);
    for (uint32_t left = length; left > 0;) {
        uint32_t want = left < kPieceSize ? left : kPieceSize, got = 0;
        if (!input.read(piece.get(), want, &got)) {
            *error = "cannot read " + path + " (it changed while being read?)";
            return false;
        }
        if (!sink.write(piece.get(), got)) {
            *error = "cannot write the package (disk full, or over 4 GB)";
            return false;
        }
        left -= got;
    }
    // File::size gives the low 32 bits only: a file of 4 GB or more would be
    // carried cut short, so anything left to read refuses it.
    unsigned char probe;
    uint32_t extra = 0;
    input.read(&probe, 1, &extra);
    if (extra != 0) {
        *error = path + " is too large to carry (4 GB or more), or grew while being read";
        return false;
    }
    *size = length;
    return true;
}

}  // namespace

bool writePackage(const std::string& stubPath, const std::vector<CarriedFile>& files,
                  const std::string& runName, const std::string& outPath, std::string* error,
                  WriteProgress progress, void* value) {
    if (files.empty() || files.size() > kMaxFiles) {
        *error = "a package carries 1 to " + std::to_string(kMaxFiles) + " files, not " +
                 std::to_string(files.size());
        return false;
    }
    std::set<std::string> names;
    for (const CarriedFile& file : files) {
        if (!isPlainFileName(file.name) || file.name.size() > kMaxNameLength) {
            *error = "\"" + file.name + "\" cannot be carried: not a plain file name";
            return false;
        }
        // Windows compares file names without regard to case.
        if (!names.insert(upper(file.name)).second) {
            *error = "\"" + file.name + "\" is carried twice";
            return false;
        }
    }
    if (names.count(upper(runName)) == 0) {
        *error = "the program to run, \"" + runName + "\", is not carried";
        return false;
    }

    File out;
    if (!out.create(outPath.c_str())) {
        *error = "cannot create " + outPath;
        return false;
    }
    Sink sink(out);
    uint32_t stubSize = 0;
    if (!copyInto(sink, stubPath, &stubSize, error))
        return false;
    std::vector<std::pair<std::string, std::pair<uint32_t, uint32_t>>> records;
    for (size_t i = 0; i < files.size(); ++i) {
        uint32_t offset = sink.size(), size = 0;
        if (!copyInto(sink, files[i].path, &size, error))
            return false;
        records.push_back({files[i].name, {offset, size}});
        if (progress != nullptr)
            progress(i + 1, files.size(), files[i], value);
    }
    const std::string tail = layOutTail(records, runName, kRunParameter);
    if (!sink.write(tail.data(), static_cast<uint32_t>(tail.size()))) {
        *error = "cannot write the package (disk full, or over 4 GB)";
        return false;
    }
    // The checksum was taken with the check block as zeros; now it goes there.
    unsigned char crc[4];
    writeLE32(crc, sink.crc());
    uint32_t written = 0;
    if (!out.seek(-16, File::FromEnd) || !out.write(crc, 4, &written) || written != 4) {
        *error = "cannot write the package's checksum";
        return false;
    }
    out.close();
    return true;
}

std::string layOutPackage(const std::string& stub, const std::vector<MemoryFile>& files,
                          const std::string& runName, uint32_t parameter) {
    std::string bytes = stub;
    std::vector<std::pair<std::string, std::pair<uint32_t, uint32_t>>> records;
    for (const MemoryFile& file : files) {
        records.push_back({file.name, {static_cast<uint32_t>(bytes.size()),
                                       static_cast<uint32_t>(file.data.size())}});
        bytes += file.data;
    }
    return bytes + layOutTail(records, runName, parameter);
}

void seal(std::string* package) {
    if (package->size() < 16)
        return;
    unsigned char* block = reinterpret_cast<unsigned char*>(&(*package)[package->size() - 16]);
    writeLE32(block, 0);
    writeLE32(block, updateCrc(0, package->data(), package->size()));
}

}  // namespace package

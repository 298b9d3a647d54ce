#include "package_directory.h"

#include <climits>
#include <cstring>
#include <memory>

namespace {

// Pieces of this size keep the two passes over the package fast without
// holding more than one piece in memory.
constexpr uint32_t kPieceSize = 64 * 1024;

// File::seek takes a signed 32-bit distance; packages may use the whole
// unsigned range.
bool seekTo(File& file, uint32_t position) {
    if (position <= INT32_MAX)
        return file.seek(static_cast<int32_t>(position), File::FromBegin);
    return file.seek(INT32_MAX, File::FromBegin) &&
           file.seek(static_cast<int32_t>(position - INT32_MAX), File::FromCurrent);
}

// Reads fields by their distance from the end of the file, refusing any that
// would lie before its start.
class TailReader {
public:
    TailReader(File& file, uint32_t size) : file_(file), size_(size) {}

    bool bytes(uint32_t distance, void* buffer, uint32_t count) {
        if (distance > size_ || count > distance)
            return false;
        uint32_t got = 0;
        return seekTo(file_, size_ - distance) && file_.read(buffer, count, &got);
    }
    bool field(uint32_t distance, uint32_t* value) {
        unsigned char raw[4];
        if (!bytes(distance, raw, 4))
            return false;
        *value = package::readLE32(raw);
        return true;
    }

private:
    File& file_;
    uint32_t size_;
};

// d += step, refusing to run past the start of the file (and any wrap).
bool advance(uint32_t* distance, uint32_t step, uint32_t size) {
    if (step > size || *distance > size - step)
        return false;
    *distance += step;
    return true;
}

// With d already advanced past it, a name of length k occupies the k bytes
// that start at end minus d.
bool readName(TailReader& tail, uint32_t distance, uint32_t length, std::string* name) {
    name->assign(length, '\0');
    return length == 0 || tail.bytes(distance, &(*name)[0], length);
}

// Names that cannot be written into the unpacking folder are refused when the
// directory is read; an empty name is kept (it is simply never written).
bool acceptableName(const std::string& name) {
    return name.empty() || package::isPlainFileName(name);
}

}  // namespace

bool PackageDirectory::computeCrc(const char* path, uint32_t* crc,
                                  const std::atomic<bool>* stop) const {
    File package;
    uint32_t size = 0, blockLength = 0;
    if (!package.open(path, File::Read) || !package.size(&size))
        return false;
    TailReader tail(package, size);
    if (!tail.field(12, &blockLength) || blockLength != package::kCheckBlockSize ||
        size < blockLength + 12)
        return false;
    // The check block counts as zeros: it cannot cover its own checksum.
    const uint32_t blockStart = size - 12 - blockLength, blockEnd = size - 12;
    if (!seekTo(package, 0))
        return false;

    std::unique_ptr<unsigned char[]> piece(new unsigned char[kPieceSize]);
    uint32_t reg = 0;
    for (uint32_t position = 0; position < size;) {
        if (stop != nullptr && stop->load())
            return false;
        uint32_t count = size - position < kPieceSize ? size - position : kPieceSize, got = 0;
        if (!package.read(piece.get(), count, &got))
            return false;
        uint32_t from = blockStart > position ? blockStart : position;
        uint32_t to = blockEnd < position + count ? blockEnd : position + count;
        if (from < to)
            std::memset(piece.get() + (from - position), 0, to - from);
        reg = package::updateCrc(reg, piece.get(), count);
        position += count;
    }
    *crc = reg;
    return true;
}

bool PackageDirectory::readStoredCrc(const char* path, void* buffer, uint32_t capacity) const {
    File package;
    uint32_t size = 0, blockLength = 0;
    if (capacity < package::kCheckBlockSize || !package.open(path, File::Read) ||
        !package.size(&size))
        return false;
    TailReader tail(package, size);
    // Writers always use 4 bytes; a block of another length is not one we can
    // compare, so the package counts as damaged.
    return tail.field(12, &blockLength) && blockLength == package::kCheckBlockSize &&
           tail.bytes(blockLength + 12, buffer, blockLength);
}

int PackageDirectory::load(const char* path) {
    if (loaded_)
        return package::kSuccess;
    files_.clear();
    runEntries_.clear();

    File package;
    uint32_t size = 0;
    if (!package.open(path, File::Read) || !package.size(&size))
        return package::kCannotOpen;
    TailReader tail(package, size);

    char marker[package::kMarkerSize];
    if (!tail.bytes(package::kMarkerSize, marker, package::kMarkerSize) ||
        std::memcmp(marker, package::kMarker, package::kMarkerSize) != 0)
        return package::kNoMarker;

    uint32_t blockLength = 0, runCount = 0, d = 0;
    if (!tail.field(12, &blockLength) || blockLength != package::kCheckBlockSize)
        return package::kNoMarker;
    d = blockLength + 16;
    if (!tail.field(d, &runCount))
        return package::kNoMarker;
    // Writers put exactly one run entry; none means there is nothing to start.
    // More would need a layout no writer produces, so such a package is refused.
    if (runCount > 1)
        return package::kNoMarker;

    std::vector<RunEntry> runEntries(runCount);
    if (runCount == 0 && !advance(&d, 4, size))
        return package::kNoMarker;
    for (uint32_t i = runCount; i-- > 0;) {
        RunEntry& entry = runEntries[i];
        uint32_t length = 0;
        if (!advance(&d, 4, size) || !tail.field(d, &entry.parameter) ||
            !advance(&d, 4, size) || !tail.field(d, &length) ||
            length > package::kMaxNameLength || !advance(&d, length, size) ||
            !readName(tail, d, length, &entry.name) || !acceptableName(entry.name) ||
            !advance(&d, 4, size))
            return package::kNoMarker;
    }

    uint32_t fileCount = 0;
    if (!tail.field(d, &fileCount))
        return package::kNoMarker;
    if (fileCount == 0 || fileCount > package::kMaxFiles)
        return package::kNoFiles;

    std::vector<PackedFile> files(fileCount);
    for (uint32_t i = fileCount; i-- > 0;) {
        PackedFile& file = files[i];
        uint32_t length = 0;
        if (!advance(&d, 4, size) || !tail.field(d, &length) ||
            length > package::kMaxNameLength || !advance(&d, length, size) ||
            !readName(tail, d, length, &file.name) || !acceptableName(file.name) ||
            !advance(&d, 4, size) || !tail.field(d, &file.size) ||
            !advance(&d, 4, size) || !tail.field(d, &file.offset))
            return package::kNoMarker;
    }
    // Every file's data must lie before the directory.
    const uint32_t dataEnd = size - d;
    for (const PackedFile& file : files)
        if (file.offset > dataEnd || file.size > dataEnd - file.offset)
            return package::kNoMarker;

    files_ = std::move(files);
    runEntries_ = std::move(runEntries);
    loaded_ = true;
    return package::kSuccess;
}

int PackageDirectory::extractFile(File& package, uint32_t index, const std::string& folder) {
    if (!loaded_ || index >= files_.size())
        return package::kNoMarker;
    const PackedFile& entry = files_[index];
    createPath(folder.c_str());  // false when it already exists
    if (!package::isPlainFileName(entry.name))
        return package::kCannotCreate;

    const std::string target = joinPath(folder, entry.name);
    File output;
    if (!output.create(target.c_str()))
        return package::kCannotCreate;
    auto fail = [&](int result) {
        output.close();
        deleteFile(target.c_str());
        return result;
    };
    if (!seekTo(package, entry.offset))
        return fail(package::kCannotOpenPackage);

    std::unique_ptr<unsigned char[]> piece(new unsigned char[kPieceSize]);
    for (uint32_t left = entry.size; left > 0;) {
        uint32_t want = left < kPieceSize ? left : kPieceSize, got = 0, written = 0;
        package.read(piece.get(), want, &got);
        // A record whose data runs past the end of the package would otherwise
        // wait for bytes that never come.
        if (got == 0)
            return fail(package::kCannotOpenPackage);
        if (!output.write(piece.get(), got, &written) || written != got)
            return fail(package::kCannotCreate);
        left -= got;
    }
    output.close();
    return package::kSuccess;
}

int PackageDirectory::extractAll(const char* path, const std::string& folder,
                                 ExtractCallback callback, void* value,
                                 const std::atomic<bool>* stop) {
    std::string target = folder;
    if (target.empty() || target.back() != kPathSeparator)
        target += kPathSeparator;
    int result = load(path);
    if (result != package::kSuccess)
        return result;
    File package;
    if (!package.open(path, File::Read))
        return package::kCannotOpenPackage;
    uint32_t done = 0;
    for (uint32_t i = fileCount(); i-- > 0; ++done) {
        if (stop != nullptr && stop->load())
            break;
        extractFile(package, i, target);
        if (callback != nullptr)
            callback(done, files_[i], value);
    }
    return package::kSuccess;
}

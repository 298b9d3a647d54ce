// The package layout, its checksum, the reader and the extractor, over packages
// laid out in memory (good and hostile ones) and written by the writer.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "package_directory.h"
#include "package_writer.h"
#include "test_support.h"

using namespace zrtest;
using package::MemoryFile;

namespace {

const std::string kStub = "MZ stub bytes standing in for the program";

std::vector<MemoryFile> sampleFiles() {
    return {{"Setup.ini", "[SETUP_INFO]\r\n"}, {"setup.zip", std::string(300, 'z')},
            {"English.dat", "[Texts]\r\n"},   {"empty.txt", ""},
            {"setup.exe", "MZ setup"}};
}

std::string sealedPackage(const std::vector<MemoryFile>& files = sampleFiles(),
                          const std::string& runName = "setup.exe") {
    std::string bytes = package::layOutPackage(kStub, files, runName);
    package::seal(&bytes);
    return bytes;
}

uint32_t crcOf(const std::string& path) {
    uint32_t crc = 0;
    EXPECT_TRUE(PackageDirectory().computeCrc(path.c_str(), &crc));
    return crc;
}

uint32_t storedCrcOf(const std::string& path) {
    unsigned char block[4] = {};
    EXPECT_TRUE(PackageDirectory().readStoredCrc(path.c_str(), block, sizeof block));
    return package::readLE32(block);
}

// Entries in the order the extractor reported them.
struct Seen {
    std::vector<uint32_t> counters;
    std::vector<std::string> names;
};
void record(uint32_t done, const PackedFile& file, void* value) {
    static_cast<Seen*>(value)->counters.push_back(done);
    static_cast<Seen*>(value)->names.push_back(file.name);
}

}  // namespace

TEST(PackageCrc, KnownValueAndRegisterChaining) {
    EXPECT_EQ(0xCA6598D0u, package::updateCrc(0, "abc", 3));
    EXPECT_EQ(0u, package::updateCrc(0, "", 0));
    // Feeding pieces gives the same as feeding the whole.
    EXPECT_EQ(package::updateCrc(0, "abc", 3), package::updateCrc(package::updateCrc(0, "a", 1), "bc", 2));
}

TEST(PackageCrc, EveryByteCountsExceptTheCheckBlock) {
    TempDir dir;
    const std::string path = dir.file("p.exe");
    const std::string original = sealedPackage();
    writeFile(path, original);
    const uint32_t crc = crcOf(path);
    EXPECT_EQ(crc, storedCrcOf(path));

    const size_t blockStart = original.size() - 16, lengthStart = original.size() - 12;
    for (size_t i = 0; i < original.size(); ++i) {
        std::string changed = original;
        changed[i] = static_cast<char>(changed[i] ^ 0x5A);
        writeFile(path, changed);
        uint32_t changedCrc = 0;
        const bool computed = PackageDirectory().computeCrc(path.c_str(), &changedCrc);
        if (i >= blockStart && i < blockStart + 4) {
            EXPECT_TRUE(computed && changedCrc == crc) << "check block byte " << i;
        } else if (i >= lengthStart && i < lengthStart + 4) {
            // A check block length other than 4 makes the package unreadable.
            EXPECT_FALSE(computed) << "length byte " << i;
        } else {
            ASSERT_TRUE(computed && changedCrc != crc) << "byte " << i;
        }
    }
}

TEST(PackageCrc, CheckBlockOfAnotherLengthIsRefused) {
    TempDir dir;
    std::string bytes = sealedPackage();
    package::writeLE32(reinterpret_cast<unsigned char*>(&bytes[bytes.size() - 12]), 8);
    writeFile(dir.file("p.exe"), bytes);
    uint32_t crc = 0;
    unsigned char block[16];
    PackageDirectory reader;
    EXPECT_FALSE(reader.computeCrc(dir.file("p.exe").c_str(), &crc));
    EXPECT_FALSE(reader.readStoredCrc(dir.file("p.exe").c_str(), block, sizeof block));
    EXPECT_EQ(package::kNoMarker, reader.load(dir.file("p.exe").c_str()));
}

TEST(PackageCrc, StopRequestEndsTheComputation) {
    TempDir dir;
    writeFile(dir.file("p.exe"), sealedPackage());
    std::atomic<bool> stop{true};
    uint32_t crc = 0;
    EXPECT_FALSE(PackageDirectory().computeCrc(dir.file("p.exe").c_str(), &crc, &stop));
}

TEST(PackageLoad, ReadsTheDirectoryFromTheEnd) {
    TempDir dir;
    writeFile(dir.file("p.exe"), sealedPackage());
    PackageDirectory reader;
    ASSERT_EQ(package::kSuccess, reader.load(dir.file("p.exe").c_str()));
    const auto files = sampleFiles();
    ASSERT_EQ(files.size(), reader.fileCount());
    uint32_t offset = static_cast<uint32_t>(kStub.size());  // data follows the stub at once
    for (uint32_t i = 0; i < reader.fileCount(); ++i) {
        EXPECT_EQ(files[i].name, reader.file(i).name);
        EXPECT_EQ(files[i].data.size(), reader.file(i).size);
        EXPECT_EQ(offset, reader.file(i).offset);
        offset += reader.file(i).size;
    }
    ASSERT_EQ(1u, reader.runEntryCount());
    EXPECT_EQ("setup.exe", reader.runEntry(0).name);
    EXPECT_EQ(package::kRunParameter, reader.runEntry(0).parameter);
}

TEST(PackageLoad, SecondLoadAnswersAtOnceWithoutReading) {
    TempDir dir;
    writeFile(dir.file("p.exe"), sealedPackage());
    PackageDirectory reader;
    ASSERT_EQ(package::kSuccess, reader.load(dir.file("p.exe").c_str()));
    removeTree(dir.file("p.exe"));
    EXPECT_EQ(package::kSuccess, reader.load(dir.file("p.exe").c_str()));
    EXPECT_EQ(5u, reader.fileCount());
}

TEST(PackageLoad, EmptyNameIsReadButNeverWritten) {
    TempDir dir;
    writeFile(dir.file("p.exe"), sealedPackage({{"", "nameless"}, {"setup.exe", "MZ"}}));
    PackageDirectory reader;
    ASSERT_EQ(package::kSuccess, reader.load(dir.file("p.exe").c_str()));
    EXPECT_EQ("", reader.file(0).name);
    EXPECT_EQ(8u, reader.file(0).size);
    File input;
    ASSERT_TRUE(input.open(dir.file("p.exe").c_str(), File::Read));
    EXPECT_EQ(package::kCannotCreate, reader.extractFile(input, 0, dir.file("out")));
}

// Packages that must not load; the tables stay empty.
TEST(PackageLoad, RefusesWhatDoesNotHoldTogether) {
    auto field = [](std::string* bytes, size_t distance, uint32_t value) {
        package::writeLE32(reinterpret_cast<unsigned char*>(&(*bytes)[bytes->size() - distance]), value);
    };
    const std::string good = sealedPackage({{"a.txt", "AAAA"}, {"setup.exe", "MZ"}});
    // Tail of good, from the end: marker 8, L 4, block 4, g 4, parameter 4,
    // k 4, "setup.exe" 9, n 4, then the last record: k 4, "setup.exe" 9, size 4, offset 4.
    const size_t kRunCount = 20, kFileCount = 41, kLastNameLength = 45, kLastSize = 58, kLastOffset = 62;
    struct Case {
        const char* what;
        std::string bytes;
        int expected;
    };
    std::vector<Case> cases;
    cases.push_back({"no marker", good.substr(0, good.size() - 1) + "X", package::kNoMarker});
    cases.push_back({"shorter than a marker", "<ZR_SEA", package::kNoMarker});
    cases.push_back({"only a marker", "<ZR_SEA>", package::kNoMarker});
    std::string bytes = good;
    field(&bytes, kFileCount, 0);
    cases.push_back({"file count 0", bytes, package::kNoFiles});
    bytes = good;
    field(&bytes, kFileCount, 1025);
    cases.push_back({"file count beyond the table", bytes, package::kNoFiles});
    bytes = good;
    field(&bytes, kFileCount, 0xFFFFFFFF);
    cases.push_back({"file count that would wrap", bytes, package::kNoFiles});
    bytes = good;
    field(&bytes, kFileCount, 3);
    cases.push_back({"more records than the file holds", bytes, package::kNoMarker});
    bytes = good;
    field(&bytes, kRunCount, 2);
    cases.push_back({"two run entries", bytes, package::kNoMarker});
    bytes = good;
    field(&bytes, kRunCount, 300);
    cases.push_back({"run entries beyond the table", bytes, package::kNoMarker});
    bytes = good;
    field(&bytes, kLastNameLength, 1024);
    cases.push_back({"name longer than the buffer", bytes, package::kNoMarker});
    bytes = good;
    field(&bytes, kLastNameLength, 0x7FFFFFF0);
    cases.push_back({"name length past the start", bytes, package::kNoMarker});
    bytes = good;
    field(&bytes, kLastSize, 1000);
    cases.push_back({"data running into the directory", bytes, package::kNoMarker});
    bytes = good;
    field(&bytes, kLastOffset, 0xFFFFFFF0);
    cases.push_back({"offset past the end", bytes, package::kNoMarker});
    cases.push_back({"truncated at the front", good.substr(good.size() - 50), package::kNoMarker});
    for (const char* name : {"..", ".", "..\\evil.txt", "../evil.txt", "C:evil.txt", "sub\\a.txt",
                             "CON", "nul.txt", "lpt1", "a?b", "tab\tname"})
        cases.push_back({name, sealedPackage({{name, "x"}, {"setup.exe", "MZ"}}), package::kNoMarker});
    cases.push_back({"hostile run entry name",
                     sealedPackage({{"setup.exe", "MZ"}}, "..\\setup.exe"), package::kNoMarker});

    TempDir dir;
    for (const Case& c : cases) {
        writeFile(dir.file("p.exe"), c.bytes);
        PackageDirectory reader;
        EXPECT_EQ(c.expected, reader.load(dir.file("p.exe").c_str())) << c.what;
        EXPECT_FALSE(reader.loaded()) << c.what;
        EXPECT_EQ(0u, reader.fileCount()) << c.what;
        EXPECT_EQ(0u, reader.runEntryCount()) << c.what;
        EXPECT_EQ(c.expected, reader.extractAll(dir.file("p.exe").c_str(), dir.file("out"), nullptr, nullptr))
            << c.what;
        EXPECT_FALSE(exists(dir.file("out"))) << c.what;
    }
}

TEST(PackageLoad, MissingPackage) {
    TempDir dir;
    PackageDirectory reader;
    EXPECT_EQ(package::kCannotOpen, reader.load(dir.file("none.exe").c_str()));
    EXPECT_EQ(package::kCannotOpen, reader.extractAll(dir.file("none.exe").c_str(), dir.path(), nullptr, nullptr));
}

TEST(PackageLoad, NoRunEntryIsAccepted) {
    const std::string withRun = sealedPackage({{"a.txt", "A"}});
    // Without a run entry the file count stands right before the run entry count.
    std::string bytes = package::layOutPackage(kStub, {{"a.txt", "A"}}, "");
    const size_t runStart = bytes.size() - 20 - 8;  // k and parameter of the empty name
    bytes.erase(runStart, 8);
    package::writeLE32(reinterpret_cast<unsigned char*>(&bytes[bytes.size() - 20]), 0);
    package::seal(&bytes);
    TempDir dir;
    writeFile(dir.file("p.exe"), bytes);
    PackageDirectory reader;
    ASSERT_EQ(package::kSuccess, reader.load(dir.file("p.exe").c_str()));
    EXPECT_EQ(0u, reader.runEntryCount());
    EXPECT_EQ("a.txt", reader.file(0).name);
}

TEST(PackageExtract, LastRecordFirstAndExistingFilesReplaced) {
    TempDir dir;
    writeFile(dir.file("p.exe"), sealedPackage());
    const std::string out = dir.file("out");
    ASSERT_TRUE(createPath(out.c_str()));
    writeFile(joinPath(out, "Setup.ini"), "an older, longer file that must be replaced whole");

    PackageDirectory reader;
    Seen seen;
    ASSERT_EQ(package::kSuccess, reader.extractAll(dir.file("p.exe").c_str(), out, record, &seen));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4}), seen.counters);
    EXPECT_EQ((std::vector<std::string>{"setup.exe", "empty.txt", "English.dat", "setup.zip", "Setup.ini"}),
              seen.names);
    for (const MemoryFile& file : sampleFiles()) {
        EXPECT_TRUE(exists(joinPath(out, file.name))) << file.name;
        EXPECT_EQ(file.data, readFile(joinPath(out, file.name))) << file.name;
    }
}

TEST(PackageExtract, StopRequestEndsBeforeTheNextFile) {
    TempDir dir;
    writeFile(dir.file("p.exe"), sealedPackage());
    struct Stopper {
        std::atomic<bool> stop{false};
        int calls = 0;
    } stopper;
    auto stopAfterTwo = [](uint32_t, const PackedFile&, void* value) {
        Stopper* s = static_cast<Stopper*>(value);
        if (++s->calls == 2)
            s->stop = true;
    };
    PackageDirectory reader;
    EXPECT_EQ(package::kSuccess,
              reader.extractAll(dir.file("p.exe").c_str(), dir.file("out"), stopAfterTwo, &stopper, &stopper.stop));
    EXPECT_EQ(2, stopper.calls);
    EXPECT_TRUE(exists(joinPath(dir.file("out"), "setup.exe")));
    EXPECT_TRUE(exists(joinPath(dir.file("out"), "empty.txt")));
    EXPECT_FALSE(exists(joinPath(dir.file("out"), "English.dat")));
}

TEST(PackageExtract, DataCutShortLeavesNoHalfFile) {
    TempDir dir;
    writeFile(dir.file("p.exe"), sealedPackage());
    PackageDirectory reader;
    ASSERT_EQ(package::kSuccess, reader.load(dir.file("p.exe").c_str()));
    // The package shrinks after its directory was read: setup.zip's data is gone.
    writeFile(dir.file("p.exe"), kStub + "[SETUP_INFO]\r\n" + std::string(100, 'z'));
    File input;
    ASSERT_TRUE(input.open(dir.file("p.exe").c_str(), File::Read));
    EXPECT_EQ(package::kCannotOpenPackage, reader.extractFile(input, 1, dir.path()));
    EXPECT_FALSE(exists(dir.file("setup.zip")));
    EXPECT_EQ(package::kSuccess, reader.extractFile(input, 0, dir.path()));
    EXPECT_EQ("[SETUP_INFO]\r\n", readFile(dir.file("Setup.ini")));
}

TEST(PackageWriter, WritesWhatTheReaderReads) {
    TempDir dir;
    writeFile(dir.file("stub.exe"), kStub);
    std::vector<package::CarriedFile> carried;
    for (const MemoryFile& file : sampleFiles()) {
        writeFile(dir.file("src-" + file.name), file.data);
        carried.push_back({file.name, dir.file("src-" + file.name)});
    }
    std::string error;
    ASSERT_TRUE(package::writePackage(dir.file("stub.exe"), carried, "setup.exe", dir.file("p.exe"), &error)) << error;
    // The same bytes as the in-memory layout, checksum included.
    EXPECT_EQ(sealedPackage(), readFile(dir.file("p.exe")));
    EXPECT_EQ(crcOf(dir.file("p.exe")), storedCrcOf(dir.file("p.exe")));
}

TEST(PackageWriter, RefusesWhatTheReaderWouldNot) {
    TempDir dir;
    writeFile(dir.file("stub.exe"), kStub);
    writeFile(dir.file("a"), "A");
    struct Case {
        const char* what;
        std::vector<package::CarriedFile> files;
        std::string run;
    } cases[] = {
        {"no files", {}, "setup.exe"},
        {"path in a name", {{"sub\\a.txt", dir.file("a")}}, "sub\\a.txt"},
        {"names differing in case", {{"a.txt", dir.file("a")}, {"A.TXT", dir.file("a")}}, "a.txt"},
        {"run entry not carried", {{"a.txt", dir.file("a")}}, "setup.exe"},
        {"missing source", {{"a.txt", dir.file("none")}}, "a.txt"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(package::writePackage(dir.file("stub.exe"), c.files, c.run, dir.file("p.exe"), &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    std::vector<package::CarriedFile> tooMany(package::kMaxFiles + 1, {"x", dir.file("a")});
    std::string error;
    EXPECT_FALSE(package::writePackage(dir.file("stub.exe"), tooMany, "x", dir.file("p.exe"), &error));
}

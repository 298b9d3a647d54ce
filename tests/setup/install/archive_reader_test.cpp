// The archive reader over archives the test writes with minizip: entries of any
// size stream to their files, and broken entries or unwritable outputs fail
// without leaving a file behind.
#include "archive_reader.h"

#include "file.h"
#include "test_support.h"
#include "zip_fixture.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sys/stat.h>

#include "unzip.h"

using ziptest::Entry;

namespace {

const uint32_t kStamp = ziptest::dosTime(2006, 5, 5, 13, 25, 58);

class ArchiveReaderTest : public ::testing::Test {
protected:
    std::string archive(const std::vector<Entry>& entries, const char* name = "setup.zip") {
        std::string path = dir.file(name);
        ziptest::writeZip(path, entries);
        return path;
    }

    zrtest::TempDir dir;
    ArchiveReader reader;
};

uint32_t le32(const std::string& bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
           static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

void putLe32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// Ways to spoil the single entry of an archive.
enum class Damage {
    FlipStoredByte,     // a byte of a stored entry's data: the CRC no longer matches
    GarbleDeflate,      // the middle of a deflate stream: inflate gives up
    OverstateSize,      // both headers promise more bytes than the stream holds
};

std::string damaged(std::string zip, Damage damage, const std::string& data) {
    switch (damage) {
    case Damage::FlipStoredByte:
        zip[zip.find(data) + data.size() / 2] ^= 0x55;
        break;
    case Damage::GarbleDeflate: {
        // Local header: 30 bytes, then the name and the extra field.
        size_t start = 30 + (static_cast<uint8_t>(zip[26]) | static_cast<uint8_t>(zip[27]) << 8) +
                       (static_cast<uint8_t>(zip[28]) | static_cast<uint8_t>(zip[29]) << 8);
        size_t compressed = le32(zip, 18);
        for (size_t i = start + compressed / 3; i < start + compressed / 2; ++i)
            zip[i] = static_cast<char>(0xFF);
        break;
    }
    case Damage::OverstateSize: {
        size_t central = zip.find("PK\x01\x02");
        putLe32(zip, 22, le32(zip, 22) + 1000);
        putLe32(zip, central + 24, le32(zip, central + 24) + 1000);
        break;
    }
    }
    return zip;
}

}  // namespace

TEST_F(ArchiveReaderTest, Extract_EntriesOfAnySizeStreamToTheirFiles) {
    std::vector<Entry> entries = {
        {"AppDir\\empty.txt", "", kStamp},                                        // nothing to write
        {"AppDir\\Readme.txt", "Read me.\r\n", kStamp},                           // one short read
        {"AppDir\\exact.bin", ziptest::noise(ArchiveReader::kBufferSize, 1), kStamp},  // exactly one buffer
        {"AppDir\\noise.bin", ziptest::noise(100000, 2), kStamp},                 // many buffers, incompressible
        {"AppDir\\text.txt", std::string(300000, 'z'), kStamp},                   // many buffers from a tiny stream
        {"AppDir\\stored.bin", ziptest::noise(40000, 3), kStamp, true},           // stored, not deflated
    };
    ASSERT_TRUE(reader.open(archive(entries).c_str()));
    for (const Entry& entry : entries) {
        std::string out = dir.file("out.bin");
        ASSERT_TRUE(reader.locate(entry.name.c_str())) << entry.name;
        ASSERT_TRUE(reader.extractCurrent(out.c_str())) << entry.name << ": " << reader.lastResult();
        EXPECT_EQ(0, reader.lastResult()) << entry.name;
        EXPECT_TRUE(zrtest::readFile(out) == entry.data) << entry.name;
    }
    EXPECT_TRUE(reader.close());
    EXPECT_FALSE(reader.isOpen());
}

TEST_F(ArchiveReaderTest, Locate_UnknownNameFails) {
    ASSERT_TRUE(reader.open(archive({{"AppDir\\a.txt", "a", kStamp}}).c_str()));
    EXPECT_FALSE(reader.locate("AppDir\\b.txt"));
    EXPECT_EQ(UNZ_END_OF_LIST_OF_FILE, reader.lastResult());
    EXPECT_FALSE(reader.locate("a.txt")) << "the folder is part of the name";
    EXPECT_TRUE(reader.locate("AppDir\\a.txt"));
}

TEST_F(ArchiveReaderTest, Extract_BrokenEntryLeavesNoFile) {
    const int kAnyInflateError = 1;
    std::string noise = ziptest::noise(50000, 4);
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "line " + std::to_string(i) + " of the readme\r\n";
    struct Row {
        Damage damage;
        const std::string& data;
        bool stored;
        int result;  // what lastResult() tells; kAnyInflateError: whichever zlib finds first
    } rows[] = {
        {Damage::FlipStoredByte, noise, true, UNZ_CRCERROR},                  // found when the entry is closed
        {Damage::GarbleDeflate, text, false, kAnyInflateError},               // found while reading
        {Damage::OverstateSize, text, false, ArchiveReader::kReaderFailure},  // the library would call it whole
    };
    for (const Row& row : rows) {
        const std::string& data = row.data;
        std::string good = dir.file("good.zip");
        ziptest::writeZip(good, {{"AppDir\\tool.exe", data, kStamp, row.stored}});
        std::string bad = dir.file("bad.zip");
        zrtest::writeFile(bad, damaged(zrtest::readFile(good), row.damage, data));
        std::string out = dir.file("tool.exe");
        zrtest::writeFile(out, "the file before");

        ASSERT_TRUE(reader.open(bad.c_str())) << static_cast<int>(row.damage);
        ASSERT_TRUE(reader.locate("AppDir\\tool.exe")) << static_cast<int>(row.damage);
        EXPECT_FALSE(reader.extractCurrent(out.c_str())) << static_cast<int>(row.damage);
        if (row.result == kAnyInflateError) {
            EXPECT_TRUE(reader.lastResult() < 0 && reader.lastResult() != ArchiveReader::kReaderFailure)
                << reader.lastResult();
        } else {
            EXPECT_EQ(row.result, reader.lastResult()) << static_cast<int>(row.damage);
        }
        EXPECT_FALSE(zrtest::exists(out)) << "no half-written file stays: " << static_cast<int>(row.damage);
    }
}

TEST_F(ArchiveReaderTest, Extract_OutputThatCannotBeCreatedFails) {
    ASSERT_TRUE(reader.open(archive({{"AppDir\\a.txt", "a", kStamp}}).c_str()));
    ASSERT_TRUE(reader.locate("AppDir\\a.txt"));
    std::string out = joinPath(dir.file("missing"), "a.txt");
    EXPECT_FALSE(reader.extractCurrent(out.c_str()));
    EXPECT_EQ(ArchiveReader::kReaderFailure, reader.lastResult());
    EXPECT_FALSE(zrtest::exists(dir.file("missing")));
}

TEST_F(ArchiveReaderTest, Open_WhatIsNoArchiveFails) {
    zrtest::writeFile(dir.file("text.zip"), "PK but no archive");
    struct Row {
        std::string path;
        const char* comment;
    } rows[] = {
        {dir.file("missing.zip"), "missing"},
        {dir.file("text.zip"), "not a zip archive"},
        {dir.path(), "a folder"},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(reader.open(row.path.c_str())) << row.comment;
        EXPECT_EQ(ArchiveReader::kReaderFailure, reader.lastResult()) << row.comment;
        EXPECT_FALSE(reader.isOpen()) << row.comment;
    }
    // Without an archive every other operation fails, and close has nothing to do.
    EXPECT_FALSE(reader.locate("a.txt"));
    EXPECT_FALSE(reader.extractCurrent(dir.file("a.txt").c_str()));
    EXPECT_FALSE(zrtest::exists(dir.file("a.txt")));
    EXPECT_TRUE(reader.close());
}

TEST_F(ArchiveReaderTest, Open_ClosesTheArchiveHeldBefore) {
    std::string first = archive({{"first.txt", "1", kStamp}}, "first.zip");
    std::string second = archive({{"second.txt", "2", kStamp}}, "second.zip");
    ASSERT_TRUE(reader.open(first.c_str()));
    ASSERT_TRUE(reader.open(second.c_str()));
    EXPECT_FALSE(reader.locate("first.txt"));
    ASSERT_TRUE(reader.locate("second.txt"));
    ASSERT_TRUE(reader.extractCurrent(dir.file("second.txt").c_str()));
    EXPECT_EQ("2", zrtest::readFile(dir.file("second.txt")));
}

#ifndef _WIN32
// Under Windows the stamp goes through the Win32 file times; the installer's
// tests check it there.
TEST_F(ArchiveReaderTest, Extract_GivesTheFileTheEntryTime) {
    struct Row {
        int year, month, day, hour, minute, second;  // local time
    } rows[] = {
        {2006, 5, 5, 13, 25, 58},
        {1999, 12, 31, 23, 59, 58},
    };
    for (const Row& row : rows) {
        uint32_t stamp = ziptest::dosTime(row.year, row.month, row.day, row.hour, row.minute, row.second);
        ASSERT_TRUE(reader.open(archive({{"a.txt", "a", stamp}}).c_str()));
        ASSERT_TRUE(reader.locate("a.txt"));
        std::string out = dir.file("a.txt");
        ASSERT_TRUE(reader.extractCurrent(out.c_str()));
        struct stat status;
        ASSERT_EQ(0, stat(out.c_str(), &status));
        std::tm local = {};
        local.tm_year = row.year - 1900;
        local.tm_mon = row.month - 1;
        local.tm_mday = row.day;
        local.tm_hour = row.hour;
        local.tm_min = row.minute;
        local.tm_sec = row.second;
        local.tm_isdst = -1;
        EXPECT_EQ(std::mktime(&local), status.st_mtime) << std::hex << stamp;
    }
}
#endif

// zrpack build on a valid product folder: what the package carries, what its
// setup.zip holds (bytes, backslash names, DOS times in local time, maximum
// deflate, no extra fields), that the same inputs give the same bytes, the
// progress display, the default kit and the warnings that do not stop a build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>
#include <sys/stat.h>

#include <zlib.h>

#include "file_record.h"
#include "package_directory.h"
#include "posix_process.h"
#include "product_fixture.h"
#include "setup_zip.h"
#include "unzip.h"

using namespace zrpacktest;

namespace {

// TZ for the test's own calls into the C library, restored afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            old_ = old, hadOld_ = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadOld_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

// The DOS stamp of a moment as seen offsetHours east of UTC, worked out with
// gmtime so that it does not depend on the code under test.
uint32_t dosStampAt(int64_t seconds, int offsetHours) {
    time_t moment = static_cast<time_t>(seconds + offsetHours * 3600);
    struct tm t;
    gmtime_r(&moment, &t);
    DosDateTime stamp;
    stamp.year = t.tm_year + 1900;
    stamp.month = t.tm_mon + 1;
    stamp.day = t.tm_mday;
    stamp.hour = t.tm_hour;
    stamp.minute = t.tm_min;
    stamp.second = t.tm_sec;
    return packDosDateTime(stamp);
}

unsigned le16(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes.at(at)) | static_cast<unsigned char>(bytes.at(at + 1)) << 8;
}

struct ZipEntry {
    std::string name;
    std::string bytes;
    uint32_t dosDate = 0;
    unsigned long method = 0;
    unsigned long flag = 0;
    unsigned long centralExtra = 0;
    unsigned localExtra = 0;
};

// Every entry of the archive, in archive order, read with minizip's unzip.
std::vector<ZipEntry> readZip(const std::string& path) {
    std::vector<ZipEntry> entries;
    const std::string raw = zrtest::readFile(path);
    unzFile zip = unzOpen(path.c_str());
    EXPECT_NE(nullptr, zip) << path;
    if (!zip)
        return entries;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info info;
        char name[512];
        EXPECT_EQ(UNZ_OK, unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0));
        ZipEntry entry;
        entry.name = name;
        entry.dosDate = static_cast<uint32_t>(info.dosDate);
        entry.method = info.compression_method;
        entry.flag = info.flag;
        entry.centralExtra = info.size_file_extra;
        // unzGetOffset gives the entry's central directory record, which holds
        // the offset of its local header at 42; the local header's extra field
        // length stands 28 bytes into it.
        const size_t central = static_cast<size_t>(unzGetOffset(zip));
        EXPECT_EQ("PK\x01\x02", raw.substr(central, 4));
        const size_t local = le16(raw, central + 42) | le16(raw, central + 44) << 16;
        EXPECT_EQ("PK\x03\x04", raw.substr(local, 4));
        entry.localExtra = le16(raw, local + 28);
        EXPECT_EQ(UNZ_OK, unzOpenCurrentFile(zip));
        char buffer[4096];
        int n;
        while ((n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            entry.bytes.append(buffer, static_cast<size_t>(n));
        EXPECT_EQ(0, n);
        EXPECT_EQ(UNZ_OK, unzCloseCurrentFile(zip));  // checks the CRC
        entries.push_back(entry);
    }
    unzClose(zip);
    return entries;
}

const std::vector<std::string> kCarried = {"Dansk.dat",  "English.dat", "Setup.ini", "licence.txt",
                                           "readme.txt", "setup.exe",   "setup.zip", "splash.bmp"};

class ZrpackBuild : public ::testing::Test {
protected:
    void build() {
        RunResult run = runInProcess(fixture.buildArgs());
        ASSERT_EQ(0, run.exitCode) << run.err;
        ASSERT_EQ("", run.err);
    }
    // Extracts the package with the package reader into a folder of its own.
    std::string extracted() {
        PackageDirectory directory;
        const std::string folder = fixture.dir().file("extracted");
        EXPECT_EQ(package::kSuccess, directory.extractAll(fixture.package().c_str(), folder, nullptr, nullptr));
        return folder;
    }

    ScopedTimeZone utc{"UTC0"};
    ProductFixture fixture;
};

}  // namespace

TEST_F(ZrpackBuild, Build_CarriesTopFilesSetupAndArchiveInNameOrder) {
    build();
    PackageDirectory directory;
    ASSERT_EQ(package::kSuccess, directory.load(fixture.package().c_str()));
    std::vector<std::string> names;
    for (uint32_t i = 0; i < directory.fileCount(); ++i)
        names.push_back(directory.file(i).name);
    EXPECT_EQ(kCarried, names);  // hidden files and src/ stay behind
    ASSERT_EQ(1u, directory.runEntryCount());
    EXPECT_EQ("setup.exe", directory.runEntry(0).name);
    EXPECT_EQ(1000u, directory.runEntry(0).parameter);
    // The stub comes first, unchanged, and the data follows it directly.
    EXPECT_EQ(ProductFixture::kStub, zrtest::readFile(fixture.package()).substr(0, ProductFixture::kStub.size()));
    EXPECT_EQ(ProductFixture::kStub.size(), directory.file(0).offset);

    unsigned char block[4];
    uint32_t crc = 0;
    ASSERT_TRUE(directory.readStoredCrc(fixture.package().c_str(), block, sizeof block));
    ASSERT_TRUE(directory.computeCrc(fixture.package().c_str(), &crc));
    EXPECT_EQ(package::readLE32(block), crc);
}

TEST_F(ZrpackBuild, Build_ExtractedFilesAreTheProjectFilesByteForByte) {
    build();
    const std::string folder = extracted();
    for (const auto& file : fixture.topFiles)
        EXPECT_EQ(file.second, zrtest::readFile(folder + "/" + file.first)) << file.first;
    EXPECT_EQ(ProductFixture::kSetup, zrtest::readFile(folder + "/setup.exe"));
    EXPECT_EQ(kCarried, folderEntries(folder));
}

TEST_F(ZrpackBuild, Build_SetupZipHoldsThePayloadWithBackslashNamesAndLocalTimes) {
    build();
    const std::vector<ZipEntry> entries = readZip(extracted() + "/setup.zip");
    ASSERT_EQ(fixture.payload.size(), entries.size());
    auto expected = fixture.payload.begin();  // a std::map: sorted by name, byte for byte
    for (const ZipEntry& entry : entries) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(expected->first, entry.name);
        EXPECT_EQ(expected->second.bytes, entry.bytes);
        EXPECT_EQ(dosStampAt(expected->second.time, 0), entry.dosDate);
        EXPECT_EQ(static_cast<unsigned long>(Z_DEFLATED), entry.method);
        EXPECT_EQ(2u, entry.flag & 6);  // the deflate level field: maximum compression
        EXPECT_EQ(0u, entry.centralExtra);
        EXPECT_EQ(0u, entry.localExtra);
        ++expected;
    }
    EXPECT_EQ("AppDir\\Docs\\guide.txt", entries.front().name);
}

TEST_F(ZrpackBuild, Build_SameInputsGiveTheSameBytes) {
    build();
    const std::string first = zrtest::readFile(fixture.package());
    // Again over the package just written, and from a second project folder
    // elsewhere with the same files and times.
    build();
    EXPECT_EQ(first, zrtest::readFile(fixture.package()));
    ProductFixture other;
    RunResult run = runInProcess(other.buildArgs());
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(first, zrtest::readFile(other.package()));
    // A different modification time is a different input.
    other.write("payload/AppDir/tool.exe", fixture.payload["AppDir\\tool.exe"].bytes, kFileTime + 60);
    ASSERT_EQ(0, runInProcess(other.buildArgs()).exitCode);
    EXPECT_NE(first, zrtest::readFile(other.package()));
}

TEST_F(ZrpackBuild, Build_LeavesOnlyThePackageInItsFolder) {
    build();
    EXPECT_EQ(std::vector<std::string>{"Tiny.exe"}, folderEntries(fixture.outFolder()));
    struct stat st;
    ASSERT_EQ(0, stat(fixture.package().c_str(), &st));
    EXPECT_EQ(static_cast<off_t>(zrtest::readFile(fixture.package()).size()), st.st_size);
}

TEST_F(ZrpackBuild, Build_EntryTimesFollowTheTimeZoneOfTheBuild) {
    // Run the program itself: TZ reaches it from its environment.
    struct Zone {
        const char* tz;
        int offsetHours;  // east of UTC
    } zones[] = {
        {"TZ=UTC0", 0},
        {"TZ=EST5", -5},   // five hours west, no summer time
        {"TZ=JST-9", 9},   // nine hours east
    };
    for (const Zone& zone : zones) {
        SCOPED_TRACE(zone.tz);
        zrtest::ProgramResult run = zrtest::runProgram(
            {zrpackProgram(), "build", fixture.project(), "-o", fixture.package(), "--kit", fixture.kit()},
            {zone.tz});
        ASSERT_EQ(0, run.exitCode) << run.err;
        const std::string folder = fixture.dir().file(std::string("zone") + std::to_string(zone.offsetHours + 20));
        PackageDirectory directory;
        ASSERT_EQ(package::kSuccess, directory.extractAll(fixture.package().c_str(), folder, nullptr, nullptr));
        std::vector<ZipEntry> entries = readZip(folder + "/setup.zip");
        ASSERT_EQ(4u, entries.size());
        EXPECT_EQ("AppDir\\tool.exe", entries[1].name);
        EXPECT_EQ(dosStampAt(kFileTime, zone.offsetHours), entries[1].dosDate);
    }
}

TEST_F(ZrpackBuild, List_ShowsEachFileWithSizeAndOffsetAndTheRunEntry) {
    build();
    RunResult run = runInProcess({"list", fixture.package()});
    ASSERT_EQ(0, run.exitCode) << run.err;
    PackageDirectory directory;
    ASSERT_EQ(package::kSuccess, directory.load(fixture.package().c_str()));
    for (uint32_t i = 0; i < directory.fileCount(); ++i) {
        const PackedFile& file = directory.file(i);
        std::regex line("(^|\n)" + std::regex_replace(file.name, std::regex("\\."), "\\.") + " +" +
                        std::to_string(file.size) + " +" + std::to_string(file.offset) + "\n");
        EXPECT_TRUE(std::regex_search(run.out, line)) << file.name << " in\n" << run.out;
    }
    EXPECT_EQ(0u, run.out.find("name "));
    EXPECT_NE(std::string::npos, run.out.find("\nrun: setup.exe (parameter 1000)\n"));
}

TEST_F(ZrpackBuild, Progress_OnATerminalOneLineRewrittenInPlace) {
    RunResult run = runInProcess(fixture.buildArgs(), true);
    ASSERT_EQ(0, run.exitCode) << run.err;
    // 4 payload entries and 8 carried files.
    EXPECT_NE(std::string::npos, run.err.find("\r\x1b[K[ 1/12] payload: AppDir\\Docs\\guide.txt"));
    EXPECT_NE(std::string::npos, run.err.find("\r\x1b[K[ 5/12] package: Dansk.dat"));
    EXPECT_NE(std::string::npos, run.err.find("\r\x1b[K[12/12] package: splash.bmp"));
    EXPECT_EQ("\r\x1b[K", run.err.substr(run.err.size() - 4));  // the line is cleared at the end
    EXPECT_EQ(std::string::npos, run.err.find('\n'));
}

TEST_F(ZrpackBuild, Progress_ElsewhereNothing) {
    RunResult run = runInProcess(fixture.buildArgs(), false);
    ASSERT_EQ(0, run.exitCode);
    EXPECT_EQ("", run.err);
    EXPECT_EQ("wrote " + fixture.package() + ": 8 files (4 in setup.zip), " +
                  std::to_string(zrtest::readFile(fixture.package()).size()) + " bytes\n",
              run.out);
}

TEST_F(ZrpackBuild, Build_DefaultKitIsWin32BesideTheProgramsFolder) {
    // A copy of the program in <dir>/bin finds its kit in <dir>/win32.
    const std::string bin = fixture.dir().file("bin"), win32 = fixture.dir().file("win32");
    mkdir(bin.c_str(), 0755);
    zrtest::writeFile(bin + "/zrpack", zrtest::readFile(zrpackProgram()));
    chmod((bin + "/zrpack").c_str(), 0755);
    const std::vector<std::string> args = {bin + "/zrpack", "build", fixture.project(), "-o", fixture.package()};

    zrtest::ProgramResult missing = zrtest::runProgram(args);
    EXPECT_EQ(1, missing.exitCode);
    EXPECT_NE(std::string::npos, missing.err.find("zrpack: " + win32 + "/selfextract.exe: not found")) << missing.err;

    mkdir(win32.c_str(), 0755);
    zrtest::writeFile(win32 + "/selfextract.exe", ProductFixture::kStub);
    zrtest::writeFile(win32 + "/setup.exe", ProductFixture::kSetup);
    zrtest::ProgramResult found = zrtest::runProgram(args);
    ASSERT_EQ(0, found.exitCode) << found.err;
    EXPECT_EQ(zrtest::readFile(win32 + "/setup.exe"), zrtest::readFile(extracted() + "/setup.exe"));
}

TEST_F(ZrpackBuild, Build_StubAndSetupNamedOneByOne) {
    const std::string stub = fixture.dir().file("other-stub.exe"), setup = fixture.dir().file("other-setup.exe");
    zrtest::writeFile(stub, "MZ another stub");
    zrtest::writeFile(setup, "MZ another setup engine");
    std::vector<std::string> args = fixture.buildArgs();
    args.insert(args.end(), {"--stub", stub, "--setup=" + setup});
    RunResult run = runInProcess(args);
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("MZ another stub", zrtest::readFile(fixture.package()).substr(0, 15));
    EXPECT_EQ("MZ another setup engine", zrtest::readFile(extracted() + "/setup.exe"));
}

// Records zrpack cannot check are reported but do not stop the build.
TEST_F(ZrpackBuild, Build_WarnsAboutRecordsItCannotCheck) {
    fixture.setLine(17, ",%Folder%\\extra.txt,%AppDir%\\extra.txt,0,0");
    fixture.setLine(22, ",System\\sys.txt");
    RunResult run = runInProcess(fixture.buildArgs());
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("zrpack: Setup.ini:17: warning: [APPLICATION_FILES] archive entry \"%Folder%\\extra.txt\" holds a "
              "variable reference; it cannot be checked against payload/\n"
              "zrpack: Setup.ini:22: warning: [SYSTEM_FILES] record has fewer than three fields; setup skips it\n",
              run.err);
}

TEST(DosStamp, LocalTimeClampedToTheDosRange) {
    ScopedTimeZone utc("UTC0");
    struct Case {
        int64_t seconds;
        DosDateTime expected;
    } cases[] = {
        {kFileTime, {2006, 5, 5, 13, 25, 58}},
        {kFileTime + 1, {2006, 5, 5, 13, 25, 58}},  // odd seconds round down
        {315532800, {1980, 1, 1, 0, 0, 0}},         // the first DOS moment
        {0, {1980, 1, 1, 0, 0, 0}},                 // 1970: before DOS time, the first moment
        {-86400, {1980, 1, 1, 0, 0, 0}},            // before 1970
        {4354819199LL, {2107, 12, 31, 23, 59, 58}}, // the last DOS moment
        {4354819200LL, {2107, 12, 31, 23, 59, 58}}, // 2108: after DOS time, the last moment
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(packDosDateTime(c.expected), dosStampOf(c.seconds));
    }
}

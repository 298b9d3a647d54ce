// zrpack list, verify and extract on packages zrpack built, whole and spoiled,
// and the command line itself: usage, unknown options and their exit codes.
#include <gtest/gtest.h>

#include "package_directory.h"
#include "package_writer.h"
#include "posix_process.h"
#include "product_fixture.h"

using namespace zrpacktest;

namespace {

class PackageCommands : public ::testing::Test {
protected:
    void SetUp() override {
        RunResult run = runInProcess(fixture.buildArgs());
        ASSERT_EQ(0, run.exitCode) << run.err;
        original = zrtest::readFile(fixture.package());
        ASSERT_EQ(package::kSuccess, directory.load(fixture.package().c_str()));
    }
    uint32_t offsetOf(const std::string& name) const {
        for (uint32_t i = 0; i < directory.fileCount(); ++i)
            if (directory.file(i).name == name)
                return directory.file(i).offset;
        ADD_FAILURE() << name;
        return 0;
    }

    ProductFixture fixture;
    std::string original;
    PackageDirectory directory;
};

}  // namespace

TEST_F(PackageCommands, Verify_WholePackagePasses) {
    zrtest::ProgramResult run = zrtest::runProgram({zrpackProgram(), "verify", fixture.package()});
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ(0u, run.out.find(fixture.package() + ": whole, 8 files, checksum 0x")) << run.out;
    EXPECT_EQ("", run.err);
}

TEST_F(PackageCommands, Verify_SpoiledPackageFails) {
    const long size = static_cast<long>(original.size());
    struct Case {
        const char* what;
        long offset;  // the byte changed
        const char* message;
    } cases[] = {
        // The stub, the data of a carried file and a name in the directory:
        // the checksum no longer matches.
        {"stub", 0, "checksum mismatch (stored 0x"},
        {"file data", static_cast<long>(offsetOf("setup.zip")) + 10, "checksum mismatch (stored 0x"},
        {"directory name", static_cast<long>(original.find("readme.txt", offsetOf("splash.bmp"))), "checksum mismatch"},
        // The check block itself.
        {"check block", size - 16, "checksum mismatch"},
        // The marker: no longer a package.
        {"marker", size - 3, "not a package (no \"<ZR_SEA>\" marker at its end)"},
        // The high byte of the file count, which stands before the run entry
        // (setup.exe, its length, the parameter), its count and the trailer.
        {"file count", size - 16 - 4 - 4 - 4 - 9 - 1, "damaged directory (no files, or more than 1024)"},
        // The length of the last directory record's name.
        {"name length", size - 16 - 4 - 4 - 4 - 9 - 4 - 1, "damaged directory (its counts, names or offsets"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zrtest::writeFile(fixture.package(), original);
        changeByte(fixture.package(), c.offset);
        zrtest::ProgramResult run = zrtest::runProgram({zrpackProgram(), "verify", fixture.package()});
        EXPECT_EQ(1, run.exitCode);
        EXPECT_EQ(0u, run.err.find("zrpack: " + fixture.package() + ": ")) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
        EXPECT_EQ("", run.out);
    }
    // The original still passes.
    zrtest::writeFile(fixture.package(), original);
    EXPECT_EQ(0, runInProcess({"verify", fixture.package()}).exitCode);
}

TEST_F(PackageCommands, Verify_PackagesNoBuilderWrites) {
    struct Case {
        const char* what;
        std::vector<package::MemoryFile> files;
        std::string runName;
        const char* message;
    } cases[] = {
        // The program to run is not among the files.
        {"run entry not carried", {{"Setup.ini", "x"}}, "setup.exe",
         "the program to run, \"setup.exe\", is not carried"},
        // A name the stub would never write.
        {"empty name", {{"", "x"}, {"setup.exe", "MZ"}}, "setup.exe", "damaged directory (a file without a name)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = package::layOutPackage("MZ", c.files, c.runName);
        package::seal(&bytes);
        zrtest::writeFile(fixture.package(), bytes);
        RunResult run = runInProcess({"verify", fixture.package()});
        EXPECT_EQ(1, run.exitCode);
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
}

TEST_F(PackageCommands, Verify_MissingFileFails) {
    RunResult run = runInProcess({"verify", fixture.dir().file("none.exe")});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_EQ("zrpack: cannot open " + fixture.dir().file("none.exe") + "\n", run.err);
}

TEST_F(PackageCommands, Extract_WritesEveryFileIntoTheFolder) {
    const std::string folder = fixture.dir().file("unpacked/here");
    zrtest::ProgramResult run = zrtest::runProgram({zrpackProgram(), "extract", fixture.package(), folder});
    ASSERT_EQ(0, run.exitCode) << run.err;
    EXPECT_EQ("extracted 8 files into " + folder + "\n", run.out);
    for (const auto& file : fixture.topFiles)
        EXPECT_EQ(file.second, zrtest::readFile(folder + "/" + file.first)) << file.first;
    EXPECT_EQ(ProductFixture::kSetup, zrtest::readFile(folder + "/setup.exe"));
    EXPECT_EQ(8u, folderEntries(folder).size());
    // Again over the same folder: the files are replaced.
    zrtest::writeFile(folder + "/Setup.ini", "changed");
    ASSERT_EQ(0, runInProcess({"extract", fixture.package(), folder}).exitCode);
    EXPECT_EQ(fixture.topFiles["Setup.ini"], zrtest::readFile(folder + "/Setup.ini"));
}

TEST_F(PackageCommands, Extract_SpoiledPackageWritesNothing) {
    changeByte(fixture.package(), static_cast<long>(offsetOf("setup.zip")) + 10);
    const std::string folder = fixture.dir().file("unpacked");
    zrtest::ProgramResult run = zrtest::runProgram({zrpackProgram(), "extract", fixture.package(), folder});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_NE(std::string::npos, run.err.find("checksum mismatch")) << run.err;
    EXPECT_FALSE(zrtest::exists(folder));
}

TEST_F(PackageCommands, Extract_UnwritableFolderFails) {
    // A file stands where the folder should be.
    const std::string folder = fixture.dir().file("occupied");
    zrtest::writeFile(folder, "a file");
    RunResult run = runInProcess({"extract", fixture.package(), folder});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_NE(std::string::npos, run.err.find("zrpack: cannot write " + folder + "/")) << run.err;
}

TEST_F(PackageCommands, List_SpoiledPackageStillListsButFails) {
    changeByte(fixture.package(), static_cast<long>(offsetOf("setup.zip")) + 10);
    RunResult run = runInProcess({"list", fixture.package()});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_NE(std::string::npos, run.out.find("setup.zip ")) << run.out;
    EXPECT_NE(std::string::npos, run.err.find("checksum mismatch")) << run.err;

    changeByte(fixture.package(), static_cast<long>(original.size()) - 1);
    run = runInProcess({"list", fixture.package()});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_EQ("", run.out);
    EXPECT_NE(std::string::npos, run.err.find("not a package")) << run.err;
}

TEST(CommandLine, UsageAndErrors) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* inOut;  // expected in standard output ("" for nothing)
        const char* inErr;  // expected in standard error ("" for nothing)
    } cases[] = {
        // Help, on standard output.
        {{"--help"}, 0, "usage: zrpack build PROJECT_DIR -o PACKAGE.exe", ""},
        {{"build", "-h"}, 0, "usage: zrpack build", ""},
        {{"help"}, 0, "usage: zrpack build", ""},
        // No command: usage on standard error.
        {{}, 2, "", "usage: zrpack build"},
        // Unknown commands and options.
        {{"pack", "x"}, 2, "", "zrpack: unknown command \"pack\"\n"},
        {{"--frob"}, 2, "", "zrpack: unknown option \"--frob\"\n"},
        {{"build", "project", "-o", "x.exe", "--compress=9"}, 2, "", "zrpack: unknown option \"--compress=9\" for build\n"},
        {{"verify", "-v", "x.exe"}, 2, "", "zrpack: unknown option \"-v\" for verify\n"},
        // Missing and surplus operands and values.
        {{"build", "project"}, 2, "", "zrpack: build needs the package to write: -o PACKAGE.exe\n"},
        {{"build", "-o", "x.exe"}, 2, "", "zrpack: build takes one project folder\n"},
        {{"build", "a", "b", "-o", "x.exe"}, 2, "", "zrpack: build takes one project folder\n"},
        {{"build", "project", "-o"}, 2, "", "zrpack: option -o needs a value\n"},
        {{"build", "project", "-o", "x.exe", "--kit"}, 2, "", "zrpack: option --kit needs a value\n"},
        {{"list"}, 2, "", "zrpack: list takes one package\n"},
        {{"extract", "x.exe"}, 2, "", "zrpack: extract takes a package and a folder\n"},
        // A project folder that does not exist is a refused project, not a usage error.
        {{"build", "/nonexistent/project", "-o", "/nonexistent/x.exe"}, 1, "", "zrpack: /nonexistent/project: no such project folder\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv = {zrpackProgram()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        zrtest::ProgramResult run = zrtest::runProgram(argv);
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(c.exitCode, run.exitCode);
        if (*c.inOut)
            EXPECT_NE(std::string::npos, run.out.find(c.inOut)) << run.out;
        else
            EXPECT_EQ("", run.out);
        if (*c.inErr)
            EXPECT_NE(std::string::npos, run.err.find(c.inErr)) << run.err;
        else
            EXPECT_EQ("", run.err);
    }
}

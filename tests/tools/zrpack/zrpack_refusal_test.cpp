// zrpack build refuses a project that setup could not install from, or that a
// package cannot carry: each problem on one line that names the file and, in
// the script, the line; exit status 1; and nothing written, not even the
// temporary files. These run the program itself.
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "posix_process.h"
#include "product_fixture.h"

using namespace zrpacktest;

namespace {

struct Refusal {
    const char* name;
    std::function<void(ProductFixture&)> spoil;
    std::vector<std::string> messages;  // whole lines of standard error, without "zrpack: ", in order
};

const Refusal kRefusals[] = {
    // A record names an entry that payload/ lacks.
    {"MissingArchiveEntry",
     [](ProductFixture& f) { f.setLine(16, ",AppDir\\gone.exe,%AppDir%\\gone.exe,0,0"); },
     {"Setup.ini:16: [APPLICATION_FILES] archive entry \"AppDir\\gone.exe\" is not in payload/"}},
    // The payload file behind a shared file's record is gone.
    {"MissingSharedPayloadFile",
     [](ProductFixture& f) { f.remove("payload/Shared/core.dll"); },
     {"Setup.ini:20: [SHARED_FILES] archive entry \"Shared\\core.dll\" is not in payload/"}},
    // Files whose names begin with a dot are not carried.
    {"EntryOfAHiddenFile",
     [](ProductFixture& f) { f.setLine(17, ",AppDir\\.hidden,%AppDir%\\.hidden,0,0"); },
     {"Setup.ini:17: [APPLICATION_FILES] archive entry \"AppDir\\.hidden\" is not in payload/ (names that begin "
      "with a dot are left out)"}},
    // Entries use backslashes; a slash would never be found.
    {"EntryWithSlashes",
     [](ProductFixture& f) { f.setLine(22, ",System/sys.txt,%WinSysDir%\\sys.txt,0,4"); },
     {"Setup.ini:22: [SYSTEM_FILES] archive entry \"System/sys.txt\" is not in payload/ (entry names use "
      "backslashes: \"System\\sys.txt\")"}},
    // An offered language without its file.
    {"MissingLanguageFile",
     [](ProductFixture& f) { f.remove("Dansk.dat"); },
     {"Setup.ini:3: [SETUP_INFO] SetupLanguages: language file \"Dansk.dat\" is not in the project folder"}},
    // The first language without its file.
    {"MissingDefaultLanguageFile",
     [](ProductFixture& f) { f.setLine(4, "DefaultSetupLanguage=Suomi"); },
     {"Setup.ini:4: [SETUP_INFO] DefaultSetupLanguage: language file \"Suomi.dat\" is not in the project folder"}},
    // No DefaultSetupLanguage: setup opens English.dat.
    {"NoDefaultLanguageAndNoEnglish",
     [](ProductFixture& f) {
         f.setLine(3, "SetupLanguages=Dansk");
         f.setLine(4, "RequiredDiskSpace=100");
         f.remove("English.dat");
     },
     {"Setup.ini:1: [SETUP_INFO] has no DefaultSetupLanguage, so setup opens \"English.dat\", which is not in "
      "the project folder"}},
    // Setup does not trim language names.
    {"BlankBeforeLanguageName",
     [](ProductFixture& f) { f.setLine(3, "SetupLanguages=English, Dansk"); },
     {"Setup.ini:3: [SETUP_INFO] SetupLanguages: language file \" Dansk.dat\" is not in the project folder "
      "(setup does not trim the blanks around a name)"}},
    // The splash window is on and its picture is missing.
    {"MissingSplashPicture",
     [](ProductFixture& f) { f.remove("splash.bmp"); },
     {"Setup.ini:10: [SPLASH_WINDOW] Bitmap_Pathname \"%SetupDir%\\splash.bmp\": \"splash.bmp\" is not in the "
      "project folder (SplashWindow is on)"}},
    // The licence page is on and its text is missing.
    {"MissingLicence",
     [](ProductFixture& f) { f.remove("licence.txt"); },
     {"Setup.ini:12: [LICENSE_DIALOG] License_Pathname \"%SetupDir%\\licence.txt\": \"licence.txt\" is not in "
      "the project folder (LicenseDialog is on)"}},
    // The readme page is on and its text is missing.
    {"MissingReadme",
     [](ProductFixture& f) { f.remove("readme.txt"); },
     {"Setup.ini:14: [README_DIALOG] Readme_Pathname \"%SetupDir%\\readme.txt\": \"readme.txt\" is not in the "
      "project folder (ReadmeDialog is on)"}},
    // Only the top of the project folder travels.
    {"LicenceInASubfolder",
     [](ProductFixture& f) { f.setLine(12, "License_Pathname=%SetupDir%\\texts\\licence.txt"); },
     {"Setup.ini:12: [LICENSE_DIALOG] License_Pathname \"%SetupDir%\\texts\\licence.txt\" lies in a subfolder; a "
      "package carries only the files at the top of the project folder"}},
    // A project file that would take the place of the kit's setup.exe.
    {"ProjectFileNamedSetupExe",
     [](ProductFixture& f) { f.write("Setup.EXE", "MZ"); },
     {"Setup.EXE: a project file of this name clashes with the kit's setup.exe"}},
    // ... or of the archive made from payload/.
    {"ProjectFileNamedSetupZip",
     [](ProductFixture& f) { f.write("setup.zip", "PK"); },
     {"setup.zip: a project file of this name clashes with the setup.zip made from payload/"}},
    // Two names that Windows would take for one.
    {"NamesDifferingOnlyInCase",
     [](ProductFixture& f) { f.write("LICENCE.TXT", "Another licence.\r\n"); },
     {"licence.txt: differs from \"LICENCE.TXT\" only in case; Windows would hold only one of them"}},
    // Names the package reader refuses.
    {"DeviceName",
     [](ProductFixture& f) { f.write("con.txt", "x"); },
     {"con.txt: a package cannot carry this name (Windows does not allow it in a folder)"}},
    {"NameWithColon",
     [](ProductFixture& f) { f.write("notes:1.txt", "x"); },
     {"notes:1.txt: a package cannot carry this name (Windows does not allow it in a folder)"}},
    // Two payload files that setup's lookup, blind to case, cannot tell apart.
    {"PayloadEntriesDifferingOnlyInCase",
     [](ProductFixture& f) { f.write("payload/AppDir/TOOL.EXE", "MZ"); },
     {"payload: entries \"AppDir\\TOOL.EXE\" and \"AppDir\\tool.exe\" differ only in case; setup would find "
      "only one of them"}},
    // A backslash in a Linux file name would make another entry name.
    {"BackslashInPayloadName",
     [](ProductFixture& f) { f.write("payload/AppDir/a\\b.txt", "x"); },
     {"payload/AppDir/a\\b.txt: has a backslash in its name, which the archive reads as a folder separator"}},
    // Setup finds no records in a script saved with LF line ends.
    {"ScriptWithLfLineEnds",
     [](ProductFixture& f) {
         std::string text;
         for (const std::string& line : f.script)
             text += line + "\n";
         f.write("Setup.ini", text);
     },
     {"Setup.ini:1: line ends in LF without CR (and 21 more lines); setup reads only CR LF line ends"}},
    // ... and no texts in such a language file.
    {"LanguageFileWithLfLineEnds",
     [](ProductFixture& f) { f.write("Dansk.dat", "[WELCOME_DIALOG]\r\nDialog_Title=Velkommen\n"); },
     {"Dansk.dat:2: line ends in LF without CR; setup reads only CR LF line ends"}},
    // No script at all.
    {"NoSetupIni",
     [](ProductFixture& f) { f.remove("Setup.ini"); },
     {"Setup.ini: not in the project folder; setup reads its script from beside setup.exe"}},
    // More files than a package carries: 1017 more and the 6 of the fixture,
    // with setup.exe and setup.zip, make 1025.
    {"TooManyFiles",
     [](ProductFixture& f) {
         for (int i = 0; i < 1017; ++i)
             f.write("extra" + std::to_string(i) + ".txt", "");
     },
     {"PROJECT: 1025 files to carry (with setup.exe and setup.zip); a package carries at most 1024"}},
    // The kit's stub is missing, and its setup.exe is no Windows program.
    {"BrokenKit",
     [](ProductFixture& f) {
         std::remove((f.kit() + "/selfextract.exe").c_str());
         zrtest::writeFile(f.kit() + "/setup.exe", "#!/bin/sh\n");
     },
     {"KIT/selfextract.exe: not found (the package stub, selfextract.exe; build the kit, or name another with "
      "--kit, --stub or --setup)",
      "KIT/setup.exe: is not a Windows program (the setup engine, carried as setup.exe)"}},
    // Every problem is reported, not only the first.
    {"SeveralProblems",
     [](ProductFixture& f) {
         f.setLine(16, ",AppDir\\gone.exe,%AppDir%\\gone.exe,0,0");
         f.setLine(20, ",Shared\\gone.dll,%CommonFiles%\\gone.dll,6,1");
         f.remove("Dansk.dat");
         f.remove("readme.txt");
     },
     {"Setup.ini:3: [SETUP_INFO] SetupLanguages: language file \"Dansk.dat\" is not in the project folder",
      "Setup.ini:14: [README_DIALOG] Readme_Pathname \"%SetupDir%\\readme.txt\": \"readme.txt\" is not in the "
      "project folder (ReadmeDialog is on)",
      "Setup.ini:16: [APPLICATION_FILES] archive entry \"AppDir\\gone.exe\" is not in payload/",
      "Setup.ini:20: [SHARED_FILES] archive entry \"Shared\\gone.dll\" is not in payload/",
      "4 problems found; no package written"}},
};

std::string withPaths(std::string text, const ProductFixture& fixture) {
    for (auto [placeholder, path] : {std::pair<std::string, std::string>{"PROJECT", fixture.project()},
                                     {"KIT", fixture.kit()}}) {
        size_t at = text.find(placeholder);
        if (at != std::string::npos)
            text.replace(at, placeholder.size(), path);
    }
    return text;
}

class ZrpackRefusal : public ::testing::TestWithParam<Refusal> {};

}  // namespace

TEST_P(ZrpackRefusal, Build_ReportsTheProblemAndWritesNothing) {
    ProductFixture fixture;
    GetParam().spoil(fixture);
    zrtest::ProgramResult run = zrtest::runProgram(
        {zrpackProgram(), "build", fixture.project(), "-o", fixture.package(), "--kit", fixture.kit()});
    ASSERT_TRUE(run.started);
    EXPECT_EQ(1, run.exitCode);
    size_t last = 0;
    for (const std::string& message : GetParam().messages) {
        const size_t at = run.err.find("zrpack: " + withPaths(message, fixture) + "\n");
        EXPECT_NE(std::string::npos, at) << message << "\nin:\n" << run.err;
        if (at != std::string::npos) {
            EXPECT_LE(last, at) << message << " comes too early in:\n" << run.err;
            last = at;
        }
    }
    // The last line sums up.
    EXPECT_NE(std::string::npos, run.err.find(" found; no package written\n"));
    EXPECT_EQ("", run.out);
    EXPECT_EQ(std::vector<std::string>{}, folderEntries(fixture.outFolder()));
}

INSTANTIATE_TEST_SUITE_P(Cases, ZrpackRefusal, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

TEST(ZrpackRefusalOutput, Build_RefusesAnOutputInTheProjectOrAMissingFolder) {
    ProductFixture fixture;
    struct Case {
        std::string output;
        std::string message;
    } cases[] = {
        // The next build would carry it.
        {fixture.project() + "/Tiny.exe",
         fixture.project() + "/Tiny.exe: lies in the project folder, whose files the next build would carry; "
                             "write it elsewhere"},
        // ... or its setup.zip.
        {fixture.project() + "/payload/AppDir/Tiny.exe",
         fixture.project() + "/payload/AppDir/Tiny.exe: lies in the project folder, whose files the next build "
                             "would carry; write it elsewhere"},
        // zrpack does not make folders.
        {fixture.dir().file("nowhere/Tiny.exe"),
         fixture.dir().file("nowhere/Tiny.exe") + ": the folder " + fixture.dir().file("nowhere") + " does not exist"},
        // A folder is no package.
        {fixture.outFolder(), fixture.outFolder() + ": is a folder; name the package file to write"},
        // The kit would lose its stub.
        {fixture.kit() + "/selfextract.exe", fixture.kit() + "/selfextract.exe: would replace a program of the kit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        RunResult run = runInProcess({"build", fixture.project(), "-o", c.output, "--kit", fixture.kit()});
        EXPECT_EQ(1, run.exitCode);
        EXPECT_NE(std::string::npos, run.err.find("zrpack: " + c.message + "\n")) << run.err;
    }
    EXPECT_FALSE(zrtest::exists(fixture.project() + "/Tiny.exe"));
    EXPECT_FALSE(zrtest::exists(fixture.project() + "/payload/AppDir/Tiny.exe"));
    EXPECT_EQ(ProductFixture::kStub, zrtest::readFile(fixture.kit() + "/selfextract.exe"));
}

TEST(ZrpackRefusalOutput, Build_AFailedWriteLeavesNoFile) {
    // The checks pass, then setup.zip cannot be written: /proc/self/mem looks
    // like an empty regular file, and reading it from its start fails.
    ProductFixture fixture;
    ASSERT_EQ(0, symlink("/proc/self/mem", (fixture.project() + "/payload/AppDir/unreadable.bin").c_str()));
    zrtest::ProgramResult run = zrtest::runProgram(
        {zrpackProgram(), "build", fixture.project(), "-o", fixture.package(), "--kit", fixture.kit()});
    EXPECT_EQ(1, run.exitCode);
    EXPECT_NE(std::string::npos,
              run.err.find("zrpack: cannot read " + fixture.project() + "/payload/AppDir/unreadable.bin"))
        << run.err;
    EXPECT_EQ(std::vector<std::string>{}, folderEntries(fixture.outFolder()));
}

TEST(ZrpackRefusalOutput, Build_InterruptedLeavesNoFile) {
    // A sparse gigabyte keeps the build busy deflating long enough for the
    // signal to arrive while the work folder exists.
    ProductFixture fixture;
    const std::string big = fixture.project() + "/payload/AppDir/big.bin";
    int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ftruncate(fd, 1 << 30));
    close(fd);

    std::vector<std::string> args = {zrpackProgram(), "build", fixture.project(), "-o", fixture.package(),
                                     "--kit", fixture.kit()};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(0, posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ));

    // Wait (with a deadline) for the work folder, then interrupt.
    bool working = false;
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         !working && std::chrono::steady_clock::now() < deadline;) {
        for (const std::string& name : folderEntries(fixture.outFolder()))
            working = working || name.compare(0, 8, ".zrpack-") == 0;
        if (!working)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    ASSERT_TRUE(working) << "the build never made its work folder";
    ASSERT_TRUE(WIFSIGNALED(status)) << "the build ended before the signal came";
    EXPECT_EQ(SIGTERM, WTERMSIG(status));
    EXPECT_EQ(std::vector<std::string>{}, folderEntries(fixture.outFolder()));
}

// selfextract.exe at the head of packages that the tests make, run under Wine
// as a user runs a package: the robot starts it, answers its messages and
// presses Cancel. The package's run entry is run_probe.exe, which reports
// where it was started, what it found there and what the stub's dialog showed
// (run_probe.cpp). Each test gives the package a temporary folder of its own
// (TMP and TEMP), so that the unpacking folders can be inspected.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "package_format.h"
#include "package_writer.h"
#include "robot.h"
#include "setup_package.h"
#include "test_support.h"

using namespace zrtest;
using package::MemoryFile;

namespace {

// Generous: CI runs test programs side by side on two cores.
constexpr int kTimeoutMs = 30000;

const char kCorrupted[] =
    "This self-extracting executable file has been corrupted. The installation will be terminated.";

const std::string& stubBytes() {
    static const std::string bytes = readFile(distPath("selfextract.exe"));
    return bytes;
}

const std::string& probeBytes() {
    static const std::string bytes = readFile(platformPath(ZR_RUN_PROBE));
    return bytes;
}

// ---- Environment and folders

// Sets environment variables for the programs started while it lives, and
// puts the old values back when it goes (the test's own TempDirs use TMP).
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_)
            SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void set(const std::string& name, const std::string& value) {
        if (!saved_.count(name))
            saved_[name] = get(name);
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    static std::optional<std::string> get(const std::string& name) {
        char value[4096];
        DWORD length = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
        if (length == 0 || length >= sizeof value)
            return std::nullopt;
        return std::string(value, length);
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Where one test keeps its package (package\), the temporary folder the
// package sees (tmp\) and the probe's report.
struct Workspace {
    TempDir root;
    const std::string packageDir = root.file("package");
    const std::string tmp = root.file("tmp");
    const std::string report = root.file("report.txt");

    Workspace() {
        CreateDirectoryA(packageDir.c_str(), nullptr);
        CreateDirectoryA(tmp.c_str(), nullptr);
    }
    std::string package(const std::string& name = "package.exe") const { return packageDir + "\\" + name; }
};

// ---- Packages

// A package of the stub, files and the probe as setup.exe, written by the
// package writer as the builder writes it.
std::string writePackage(const Workspace& space, const std::vector<MemoryFile>& files,
                         const std::string& name = "package.exe") {
    const std::string sources = space.root.file("sources");
    CreateDirectoryA(sources.c_str(), nullptr);
    std::vector<package::CarriedFile> carried;
    for (const MemoryFile& file : files) {
        writeFile(sources + "\\" + file.name, file.data);
        carried.push_back({file.name, sources + "\\" + file.name});
    }
    const std::string path = space.package(name);
    std::string error;
    EXPECT_TRUE(package::writePackage(distPath("selfextract.exe"), carried, "setup.exe", path, &error)) << error;
    return path;
}

// Eight carried files: the probe as setup.exe and seven of the kinds a real
// package carries, each with content of its own.
std::vector<MemoryFile> eightFiles() {
    return {{"Setup.ini", "[SETUP_INFO]\r\nDefaultInstallationPath=C:\\Product\r\n"},
            {"setup.zip", std::string(5000, 'z')},
            {"English.dat", "[Texts]\r\nWelcome=Hello\r\n"},
            {"Dansk.dat", "[Texts]\r\nWelcome=Hej\r\n"},
            {"licence.txt", "Licence text\r\n"},
            {"readme.txt", "Readme text\r\n"},
            {"empty.txt", ""},
            {"setup.exe", probeBytes()}};
}

// ---- The probe's report

struct ProbeReport {
    bool present = false;
    std::string folder;
    std::vector<std::string> files;  // sorted
    std::map<std::string, size_t> sizes;
    int dialogs = 0;
    std::string visible;
    std::string range;
    std::string position;
    std::vector<std::string> modules;
};

ProbeReport readReport(const std::string& path) {
    ProbeReport report;
    if (!exists(path))
        return report;
    report.present = true;
    const std::string text = readFile(path);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t tab = line.find('\t');
        const std::string key = line.substr(0, tab);
        const std::string value = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (key == "folder")
            report.folder = value;
        else if (key == "file") {
            const size_t sizeAt = value.find('\t');
            report.files.push_back(value.substr(0, sizeAt));
            report.sizes[value.substr(0, sizeAt)] = std::strtoul(value.c_str() + sizeAt + 1, nullptr, 10);
        }
        else if (key == "dialog")
            report.dialogs = std::atoi(value.c_str());
        else if (key == "visible")
            report.visible = value;
        else if (key == "range")
            report.range = value;
        else if (key == "position")
            report.position = value;
        else if (key == "module")
            report.modules.push_back(value);
    }
    std::sort(report.files.begin(), report.files.end());
    return report;
}

std::vector<std::string> namesOf(const std::vector<MemoryFile>& files) {
    std::vector<std::string> names;
    for (const MemoryFile& file : files)
        names.push_back(file.name);
    std::sort(names.begin(), names.end());
    return names;
}

// ---- Running a package

// Starts the package in its own folder with TMP and TEMP set to the
// workspace's temporary folder; extra holds further variables for the run.
bool startPackage(robot::Robot& robot, const Workspace& space, const std::string& package,
                  const std::vector<std::pair<std::string, std::string>>& extra = {},
                  const std::string& report = "") {
    ScopedEnvironment environment;
    environment.set("TMP", space.tmp);
    environment.set("TEMP", space.tmp);
    environment.set("ZR_PROBE_REPORT", report.empty() ? space.report : report);
    for (const auto& [name, value] : extra)
        environment.set(name, value);
    std::string error;
    const bool started = robot.start("\"" + package + "\"", space.packageDir, &error);
    EXPECT_TRUE(started) << error;
    return started;
}

int exitCode(robot::Robot& robot) { return setuptest::exitCode(robot, kTimeoutMs); }

// Waits for the message box with this caption, checks its text and presses
// its button.
void answerMessage(robot::Robot& robot, const std::string& caption, const std::string& text) {
    std::string error;
    HWND box = robot.waitWindow({std::string("#32770"), caption}, kTimeoutMs, &error);
    ASSERT_TRUE(box) << error;
    std::string shown;
    EXPECT_TRUE(robot::controlText(box, 65535, &shown, &error)) << error;
    EXPECT_EQ(text, shown);
    for (const robot::ControlInfo& control : robot::controls(box)) {
        if (lstrcmpiA(control.className.c_str(), "Button") == 0) {
            ASSERT_TRUE(robot::click(box, control.id, &error)) << error;
            EXPECT_TRUE(robot::waitGone(box, kTimeoutMs, &error)) << error;
            return;
        }
    }
    ADD_FAILURE() << "the box \"" << caption << "\" has no button";
}

// The unpacking folders in a temporary folder.
std::vector<std::string> unpackFolders(const std::string& tmp) {
    std::vector<std::string> folders;
    for (const std::string& entry : listTree(tmp))
        if (startsWith(entry, "zr") && entry.back() == '\\' && entry.find('\\') == entry.size() - 1)
            folders.push_back(tmp + "\\" + entry.substr(0, entry.size() - 1));
    return folders;
}

// Polls until path exists; false at the deadline.
bool waitForFile(const std::string& path, int timeoutMs = kTimeoutMs) {
    const DWORD start = GetTickCount();
    while (!exists(path)) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

}  // namespace

// ---- A normal run

TEST(SelfExtract, UnpacksRunsTheProgramThereAndCleansUp) {
    Workspace space;
    const std::vector<MemoryFile> files = eightFiles();
    const std::string package = writePackage(space, files);
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, package));
    EXPECT_EQ(0, exitCode(robot));

    const ProbeReport report = readReport(space.report);
    ASSERT_TRUE(report.present) << "the run entry did not run";
    // The program ran in a new folder "zr" + number in the temporary folder,
    // with all eight files unpacked there.
    ASSERT_TRUE(startsWith(report.folder, space.tmp + "\\zr")) << report.folder;
    const std::string number = report.folder.substr(space.tmp.size() + 3);
    EXPECT_FALSE(number.empty());
    EXPECT_EQ(std::string::npos, number.find_first_not_of("0123456789")) << report.folder;
    EXPECT_LE(std::atoi(number.c_str()), 32767);
    EXPECT_EQ(namesOf(files), report.files);
    // Each whole.
    for (const MemoryFile& file : files) {
        auto unpacked = report.sizes.find(file.name);
        ASSERT_NE(report.sizes.end(), unpacked) << file.name;
        EXPECT_EQ(file.data.size(), unpacked->second) << file.name;
    }
    // The dialog was hidden, its progress bar full: one step per file.
    EXPECT_EQ(1, report.dialogs);
    EXPECT_EQ("0", report.visible);
    EXPECT_EQ("0\t8", report.range);
    EXPECT_EQ("8", report.position);
    // Afterwards the files and the folder are gone, and nothing else was written.
    EXPECT_EQ(std::vector<std::string>{}, listTree(space.tmp));
    EXPECT_EQ(std::vector<std::string>{"package.exe"}, listTree(space.packageDir));
}

TEST(SelfExtract, FolderStaysWhenTheProgramLeftAFileThere) {
    Workspace space;
    const std::string package = writePackage(space, eightFiles());
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, package, {{"ZR_PROBE_LEAVE", "left behind.txt"}}));
    EXPECT_EQ(0, exitCode(robot));

    const ProbeReport report = readReport(space.report);
    ASSERT_TRUE(report.present);
    // The carried files are deleted; the program's own file keeps the folder.
    const std::string folder = report.folder.substr(space.tmp.size() + 1);
    EXPECT_EQ((std::vector<std::string>{folder + "\\", folder + "\\left behind.txt"}), listTree(space.tmp));
}

TEST(SelfExtract, ProgramRunsUnderAnEmulatedWindows98) {
    Workspace space;
    const std::string name = "package98.exe";
    const std::string package = writePackage(space, eightFiles(), name);
    setEmulatedVersion(name, "win98");
    struct Reset {
        std::string name;
        ~Reset() { setEmulatedVersion(name, ""); }
    } reset{name};
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, package));
    EXPECT_EQ(0, exitCode(robot));
    const ProbeReport report = readReport(space.report);
    ASSERT_TRUE(report.present) << "the run entry did not run";
    EXPECT_TRUE(startsWith(report.folder, space.tmp + "\\zr")) << report.folder;
    EXPECT_EQ(namesOf(eightFiles()), report.files);
    EXPECT_EQ(std::vector<std::string>{}, listTree(space.tmp));
}

// ---- The temporary folder

TEST(SelfExtract, MissingTemporaryFolderIsCreated) {
    Workspace space;
    const std::string package = writePackage(space, eightFiles());
    const std::string missing = space.root.file("gone\\deeper");
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, package, {{"TMP", missing}, {"TEMP", missing}}));
    EXPECT_EQ(0, exitCode(robot));
    const ProbeReport report = readReport(space.report);
    ASSERT_TRUE(report.present) << "the run entry did not run";
    EXPECT_TRUE(startsWith(report.folder, missing + "\\zr")) << report.folder;
    EXPECT_EQ(std::vector<std::string>{}, listTree(missing));
}

TEST(SelfExtract, NoUsableTemporaryFolderIsReportedAndNothingRuns) {
    Workspace space;
    const std::string package = writePackage(space, eightFiles());
    // A file where the temporary folder should be: no folder can be made in it.
    const std::string blocked = space.root.file("not a folder");
    writeFile(blocked, "a file");
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, package, {{"TMP", blocked}, {"TEMP", blocked}}));
    answerMessage(robot, "Error", "Can not create a temporary folder.");
    EXPECT_EQ(0, exitCode(robot));
    EXPECT_FALSE(exists(space.report)) << "the run entry ran";
    EXPECT_EQ("a file", readFile(blocked));
    EXPECT_EQ(std::vector<std::string>{"package.exe"}, listTree(space.packageDir));
}

// Two packages started in the same second draw the same first number; the
// second must not unpack into the first one's folder (and later delete its
// files). Both run entries wait until the test has seen both.
TEST(SelfExtract, TwoPackagesAtOnceUseTwoFolders) {
    Workspace space;
    const std::string package = writePackage(space, eightFiles());
    const std::string hold = space.root.file("release");
    const std::string reports[2] = {space.root.file("report1.txt"), space.root.file("report2.txt")};
    robot::Robot robots[2];
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(startPackage(robots[i], space, package, {{"ZR_PROBE_HOLD", hold}}, reports[i]));
    for (const std::string& report : reports)
        EXPECT_TRUE(waitForFile(report)) << report;
    writeFile(hold, "go");
    for (robot::Robot& robot : robots)
        EXPECT_EQ(0, exitCode(robot));

    const ProbeReport first = readReport(reports[0]), second = readReport(reports[1]);
    ASSERT_TRUE(first.present && second.present);
    EXPECT_NE(first.folder, second.folder);
    // Each saw its own eight files, no more.
    EXPECT_EQ(namesOf(eightFiles()), first.files);
    EXPECT_EQ(namesOf(eightFiles()), second.files);
    EXPECT_EQ(std::vector<std::string>{}, listTree(space.tmp));
}

// The stub's first number is the first rand() after srand(time(NULL)), which
// the test can work out for every second around the start (both use the same
// C run-time library). With all those folders in the way, the stub must take a
// later number, and must leave the existing folders and their files alone.
TEST(SelfExtract, ExistingFolderOfTheSameNumberIsNotUsed) {
    Workspace space;
    const std::string package = writePackage(space, eightFiles());
    const time_t now = time(nullptr);
    std::set<std::string> taken;
    std::set<int> laterNumbers;  // the 2nd to 5th numbers after each seed
    for (time_t seed = now - 5; seed <= now + 120; ++seed) {
        srand(static_cast<unsigned>(seed));
        const std::string folder = space.tmp + "\\zr" + std::to_string(rand());
        for (int i = 0; i < 4; ++i)
            laterNumbers.insert(rand());
        if (taken.insert(folder).second) {
            ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
            writeFile(folder + "\\foreign.txt", "another run's file");
        }
    }
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, package));
    EXPECT_EQ(0, exitCode(robot));

    const ProbeReport report = readReport(space.report);
    ASSERT_TRUE(report.present) << "the run entry did not run";
    EXPECT_EQ(0u, taken.count(report.folder)) << report.folder;
    EXPECT_EQ(1u, laterNumbers.count(std::atoi(report.folder.substr(space.tmp.size() + 3).c_str())))
        << report.folder << " is not one of the numbers that follow a taken one";
    EXPECT_EQ(namesOf(eightFiles()), report.files);
    for (const std::string& folder : taken)
        EXPECT_EQ(std::vector<std::string>{"foreign.txt"}, listTree(folder)) << folder;
    EXPECT_EQ(taken.size(), unpackFolders(space.tmp).size());
}

// ---- Damaged and hostile packages

TEST(SelfExtract, ChangedCheckBlockIsReportedAndNothingWritten) {
    Workspace space;
    std::string bytes = package::layOutPackage(stubBytes(), eightFiles(), "setup.exe");
    package::seal(&bytes);
    bytes[bytes.size() - 16] = static_cast<char>(bytes[bytes.size() - 16] ^ 1);
    writeFile(space.package(), bytes);
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, space.package()));
    answerMessage(robot, "Error", kCorrupted);
    EXPECT_EQ(0, exitCode(robot));
    EXPECT_FALSE(exists(space.report)) << "the run entry ran";
    // No unpacking folder was even created.
    EXPECT_EQ(std::vector<std::string>{}, listTree(space.tmp));
    EXPECT_EQ(std::vector<std::string>{"package.exe"}, listTree(space.packageDir));
}

namespace {

// The size field of the last directory record, counted from the end of a
// package laid out with one run entry: marker, block length, check block, run
// entry count, parameter, run name length, run name, file count, then the
// record's name length, name and size.
size_t lastRecordSizeAt(const std::string& bytes, size_t runNameLength, size_t lastNameLength) {
    return bytes.size() - (8 + 4 + 4 + 4 + 4 + 4 + runNameLength + 4 + 4 + lastNameLength + 4);
}

std::string sealed(std::string bytes) {
    package::seal(&bytes);
    return bytes;
}

std::vector<MemoryFile> probeAnd(const std::vector<MemoryFile>& more) {
    std::vector<MemoryFile> files = {{"setup.exe", probeBytes()}};
    files.insert(files.end(), more.begin(), more.end());
    return files;
}

struct HostileCase {
    const char* what;
    std::string bytes;
};

std::vector<HostileCase> hostileCases() {
    std::vector<HostileCase> cases;
    // Names that would leave the unpacking folder, with valid checksums.
    cases.push_back({"parent folder in a name",
                     sealed(package::layOutPackage(stubBytes(), probeAnd({{"..\\escaped.txt", "x"}}), "setup.exe"))});
    cases.push_back({"drive in a name",
                     sealed(package::layOutPackage(stubBytes(), probeAnd({{"C:escaped.txt", "x"}}), "setup.exe"))});
    cases.push_back({"run entry outside the folder",
                     sealed(package::layOutPackage(stubBytes(), probeAnd({}), "..\\setup.exe"))});
    // More files than the reader's table holds.
    std::vector<MemoryFile> many;
    for (int i = 0; i <= 1024; ++i)
        many.push_back({"f" + std::to_string(i), "x"});
    cases.push_back({"1025 files", sealed(package::layOutPackage(stubBytes(), probeAnd(many), "setup.exe"))});
    // A name longer than the reader's buffer.
    cases.push_back({"name of 1024 bytes", sealed(package::layOutPackage(
                                               stubBytes(), probeAnd({{std::string(1024, 'n'), "x"}}), "setup.exe"))});
    // A record whose data runs past the end of the package.
    std::string past = package::layOutPackage(stubBytes(), probeAnd({{"data.bin", "0123456789"}}), "setup.exe");
    package::writeLE32(reinterpret_cast<unsigned char*>(&past[lastRecordSizeAt(past, 9, 8)]), 0x7FFFFFF0u);
    cases.push_back({"data past the end", sealed(past)});
    // An interrupted download: the package cut short, its trailer lost.
    std::string whole = sealed(package::layOutPackage(stubBytes(), probeAnd({}), "setup.exe"));
    cases.push_back({"cut short", whole.substr(0, whole.size() - 100)});
    return cases;
}

}  // namespace

TEST(SelfExtract, HostilePackagesAreRefusedBeforeAnythingIsWritten) {
    for (const HostileCase& row : hostileCases()) {
        SCOPED_TRACE(row.what);
        Workspace space;
        writeFile(space.package(), row.bytes);
        const std::vector<std::string> before = listTree(space.root.path());
        robot::Robot robot;
        ASSERT_TRUE(startPackage(robot, space, space.package()));
        answerMessage(robot, "Error", kCorrupted);
        EXPECT_EQ(0, exitCode(robot));
        // Nothing anywhere in the workspace: not in the temporary folder, not
        // beside it, not beside the package.
        EXPECT_EQ(before, listTree(space.root.path()));
    }
}

// ---- Cancel

namespace {

DWORD threadOfWindow(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

struct DialogSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK findDialog(HWND window, LPARAM context) {
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search.processId && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// The first visible dialog of the process, polled without pause so that the
// test sees it as early as it can.
HWND waitForDialog(DWORD processId, HANDLE process) {
    DialogSearch search{processId};
    const DWORD start = GetTickCount();
    while (static_cast<int>(GetTickCount() - start) < kTimeoutMs &&
           WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(0);
    }
    return nullptr;
}

}  // namespace

// The user presses Cancel while files are being unpacked. The worker reports
// each file to the progress bar with a message sent to the dialog's thread, so
// it cannot get past a file without that thread. The test holds that thread
// (SuspendThread) and lets it go a moment at a time until the worker has begun
// the second file, a large one; it presses Cancel while the thread is held and
// then lets it run. The dialog thus takes the Cancel while the worker is busy
// and will still report that file: a dialog that waited for the worker there
// would never answer it, and the run would hang. The stub must end, never
// start the program, and delete what it had unpacked.
TEST(SelfExtract, CancelWhileUnpackingEndsAndRemovesTheFiles) {
    Workspace space;
    // Unpacked last record first: first.bin, large.bin, then the rest.
    std::vector<MemoryFile> files = {{"setup.exe", probeBytes()}};
    for (int i = 1; i <= 20; ++i)
        files.push_back({"file" + std::to_string(i) + ".bin", std::string(4096, static_cast<char>(i))});
    files.push_back({"large.bin", std::string(64 * 1024 * 1024, 'L')});
    files.push_back({"first.bin", "the first file unpacked"});
    std::string bytes = package::layOutPackage(stubBytes(), files, "setup.exe");
    package::seal(&bytes);
    writeFile(space.package(), bytes);

    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, space.package()));
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, robot.processId());
    ASSERT_TRUE(process);
    HWND dialog = waitForDialog(robot.processId(), process);
    CloseHandle(process);
    ASSERT_TRUE(dialog) << "no dialog";
    HANDLE ui = OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadOfWindow(dialog));
    ASSERT_TRUE(ui);
    struct Release {
        HANDLE thread;
        bool held = false;
        void hold() {
            if (!held && SuspendThread(thread) != static_cast<DWORD>(-1))
                held = true;
        }
        void let() {
            if (held)
                ResumeThread(thread);
            held = false;
        }
        ~Release() {
            let();
            CloseHandle(thread);
        }
    } release{ui};

    release.hold();
    std::string folder;
    const DWORD start = GetTickCount();
    while (static_cast<int>(GetTickCount() - start) < kTimeoutMs) {
        std::vector<std::string> folders = unpackFolders(space.tmp);
        if (!folders.empty() && exists(folders[0] + "\\large.bin")) {
            folder = folders[0];
            break;
        }
        release.let();
        Sleep(1);
        release.hold();
    }
    ASSERT_FALSE(folder.empty()) << "the worker never began the large file";
    ASSERT_TRUE(IsWindowVisible(dialog)) << "the package was unpacked before the test could cancel";

    std::string error;
    ASSERT_TRUE(robot::click(dialog, IDCANCEL, &error)) << error;
    release.let();
    EXPECT_EQ(0, exitCode(robot));
    EXPECT_FALSE(exists(space.report)) << "the run entry ran";
    EXPECT_FALSE(exists(folder));
    EXPECT_EQ(std::vector<std::string>{}, listTree(space.tmp));
}

// ---- DLLs beside the package

namespace {

// The DLL names in a PE file's import table, in lower case.
std::vector<std::string> importedDlls(const std::string& image) {
    std::vector<std::string> names;
    auto at = [&image](size_t offset, size_t size) { return offset <= image.size() && size <= image.size() - offset; };
    if (!at(0, sizeof(IMAGE_DOS_HEADER)))
        return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const size_t ntAt = static_cast<size_t>(dos->e_lfanew);
    if (!at(ntAt, sizeof(IMAGE_NT_HEADERS)))
        return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + ntAt);
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return image.size();
    };
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (size_t offset = fileOffset(imports.VirtualAddress); at(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR));
         offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + offset);
        if (descriptor->Name == 0)
            break;
        const size_t nameAt = fileOffset(descriptor->Name);
        if (!at(nameAt, 1))
            break;
        names.push_back(lower(image.c_str() + nameAt));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Makes Wine prefer a DLL found in the program's folder over its own for the
// named DLLs, in every program named exeName, while the object lives. (Wine
// takes WINEDLLOVERRIDES from the Unix environment a process starts with, so
// the registry is the way for programs that a test starts.)
class PreferDllsBeside {
public:
    PreferDllsBeside(const std::string& exeName, const std::vector<std::string>& dlls)
        : key_("Software\\Wine\\AppDefaults\\" + exeName) {
        HKEY overrides;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &overrides, nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot write " << key_;
            return;
        }
        for (const std::string& dll : dlls)
            RegSetValueExA(overrides, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"),
                           sizeof "native,builtin");
        RegCloseKey(overrides);
    }
    ~PreferDllsBeside() {
        RegDeleteKeyA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    }
    PreferDllsBeside(const PreferDllsBeside&) = delete;
    PreferDllsBeside& operator=(const PreferDllsBeside&) = delete;

private:
    std::string key_;
};

std::vector<std::string> markers(const std::string& folder) {
    std::vector<std::string> found;
    for (const std::string& entry : listTree(folder))
        if (entry.size() > 7 && entry.compare(entry.size() - 7, 7, ".loaded") == 0)
            found.push_back(lower(entry));
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

// The system looks for an imported DLL in the program's folder first, unless
// it is one of its known DLLs. The stub may import only those.
TEST(SelfExtract, ImportsOnlyDllsTheSystemNeverLooksForBesideIt) {
    const std::vector<std::string> imports = importedDlls(stubBytes());
    ASSERT_FALSE(imports.empty());
    const std::set<std::string> known = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                         "ole32.dll",    "msvcrt.dll", "shell32.dll"};
    for (const std::string& name : imports)
        EXPECT_EQ(1u, known.count(name)) << name << " is imported and would be looked for beside the package";
}

// Decoys of comctl32.dll and uxtheme.dll beside the package (a download folder
// can hold anything). Wine is told to prefer a DLL found in the program's
// folder over its own for those names (DLL overrides "native,builtin"), as Windows does for any DLL that is not
// a known one; the control program proves that the decoys then do get loaded
// by a program that imports or loads them by name. The stub must load neither,
// and still work.
//
// version.dll is not among the decoys: Wine's own user32 imports it, so with
// the program's folder preferred a decoy would be loaded at the start of every
// Wine process, before any of the stub's code runs. Windows' user32 does not
// import it.
TEST(SelfExtract, DllsBesideThePackageAreNeverLoaded) {
    Workspace space;
    for (const char* name : {"comctl32.dll", "uxtheme.dll"})
        ASSERT_TRUE(CopyFileA(platformPath(std::string(ZR_DECOY_DIR) + "/" + name).c_str(),
                              (space.packageDir + "\\" + name).c_str(), FALSE))
            << name;
    const std::vector<std::string> decoys = {"comctl32", "uxtheme"};

    {
        const std::string control = space.packageDir + "\\decoycontrol.exe";
        ASSERT_TRUE(CopyFileA(platformPath(ZR_DECOY_CONTROL).c_str(), control.c_str(), FALSE));
        PreferDllsBeside preferred("decoycontrol.exe", decoys);
        ProcessResult result = runProcess("\"" + control + "\"", space.packageDir, kTimeoutMs);
        ASSERT_TRUE(result.started);
        EXPECT_EQ(0, result.exitCode);
        ASSERT_EQ((std::vector<std::string>{"comctl32.dll.loaded", "uxtheme.dll.loaded"}),
                  markers(space.packageDir))
            << "the decoys are not taken even by an ordinary program, so this test would prove nothing";
        for (const char* marker : {"comctl32.dll.loaded", "uxtheme.dll.loaded"})
            DeleteFileA((space.packageDir + "\\" + marker).c_str());
        DeleteFileA(control.c_str());
    }

    const std::string package = writePackage(space, eightFiles(), "decoypackage.exe");
    PreferDllsBeside preferred("decoypackage.exe", decoys);
    robot::Robot robot;
    ASSERT_TRUE(startPackage(robot, space, package));
    EXPECT_EQ(0, exitCode(robot));
    const ProbeReport report = readReport(space.report);
    ASSERT_TRUE(report.present) << "the stub did not get as far as its program";
    EXPECT_EQ(std::vector<std::string>{}, markers(space.packageDir));
    // Its modules, as the run entry saw them: comctl32 from the system folder,
    // nothing from the package's folder but the package itself.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    bool commonControls = false;
    ASSERT_FALSE(report.modules.empty());
    for (const std::string& module : report.modules) {
        if (lower(module) != lower(package)) {
            EXPECT_FALSE(startsWith(lower(module), lower(space.packageDir) + "\\")) << module;
        }
        if (lower(module) == lower(std::string(system) + "\\comctl32.dll"))
            commonControls = true;
    }
    EXPECT_TRUE(commonControls) << "comctl32.dll was not loaded from " << system;
}

// The file and folder installers under Wine, on the prefix's real file system
// and registry: each test writes its own setup.zip into a package folder, makes
// that the current folder (as setup runs), and installs into a folder of its
// own. Fixtures: component_v1.dll (1.5.0.0) and component_v2.dll (2.0.0.0), whose
// DllRegisterServer records where it was loaded from.
#include "file_installer.h"

#include "errors.h"
#include "holder_process.h"
#include "install_log.h"
#include "owners.h"
#include "test_support.h"
#include "zip_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <set>

using ziptest::Entry;
using Lines = std::vector<std::string>;

namespace {

const char kSharedDlls[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kTraceKey[] = "Software\\ZRTest\\FileInstaller";

const uint32_t kOld = ziptest::dosTime(2001, 1, 15, 10, 30, 0);
const uint32_t kNew = ziptest::dosTime(2005, 6, 20, 16, 45, 30);

std::string fixture(const char* name) {
    std::string bytes = zrtest::readFile(zrtest::binaryPath(std::string("tests/setup/install/") + name));
    if (bytes.empty())
        throw std::runtime_error(std::string("fixture missing: ") + name);
    return bytes;
}

// The file times the installer compares: a DOS stamp read as local time.
void setLastWrite(const std::string& path, uint32_t stamp) {
    FILETIME local, time;
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file || !DosDateTimeToFileTime(HIWORD(stamp), LOWORD(stamp), &local) || !LocalFileTimeToFileTime(&local, &time) ||
        !SetFileTime(file.get(), &time, nullptr, &time))
        throw std::runtime_error("cannot set the time of " + path);
}

uint32_t lastWriteStamp(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME time, local;
    WORD date = 0, clock = 0;
    if (!file || !GetFileTime(file.get(), nullptr, nullptr, &time) || !FileTimeToLocalFileTime(&time, &local) ||
        !FileTimeToDosDateTime(&local, &date, &clock))
        return 0;
    return static_cast<uint32_t>(date) << 16 | clock;
}

// The path DllRegisterServer recorded, "" when it did not run.
std::string registeredPath() {
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (RegGetValueA(HKEY_CURRENT_USER, kTraceKey, "Registered", RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return "";
    return path;
}

// A file's SharedDLLs count; -1 without one.
int sharedCount(const std::string& path) {
    DWORD count = 0, size = sizeof count;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str(), RRF_RT_REG_DWORD, nullptr, &count, &size) !=
        ERROR_SUCCESS)
        return -1;
    return static_cast<int>(count);
}

// The comparison copies in the temporary folder (tmp*.tmp).
std::set<std::string> tempCopies() {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((std::string(folder) + "tmp*.tmp").c_str(), &found));
    if (search) {
        do
            names.insert(std::string(folder) + found.cFileName);
        while (FindNextFileA(search.get(), &found));
    }
    return names;
}

class FileInstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, startFolder);
        RegDeleteKeyA(HKEY_CURRENT_USER, kTraceKey);
        // The installer only opens the key, as on Windows, where it always exists.
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                                 key.receive(), nullptr));
        label = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(label != nullptr);
    }
    void TearDown() override {
        files.reset();
        SetCurrentDirectoryA(startFolder);
        RegKey key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_SET_VALUE, key.receive()) == ERROR_SUCCESS)
            for (const std::string& path : targets)
                RegDeleteValueA(key.get(), path.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTraceKey);
        DestroyWindow(label);
    }

    // Writes setup.zip into the package folder and starts the installer there.
    FileInstaller& installer(const std::vector<Entry>& entries) {
        ziptest::writeZip(package.file("setup.zip"), entries);
        EXPECT_TRUE(SetCurrentDirectoryA(package.path().c_str()));
        files = std::make_unique<FileInstaller>(*log, label);
        return *files;
    }
    // A path in the install folder.
    std::string target(const std::string& name) {
        targets.push_back(installDir.file(name));
        return targets.back();
    }
    // What the installers logged: files (without the log's own setup.log) and folders.
    Lines loggedFiles() const {
        const Lines& all = log->lines(InstallLog::AppFileList);
        return Lines(all.begin() + 1, all.end());
    }
    Lines loggedFolders() const { return log->lines(InstallLog::AppDirList); }
    std::string labelText() const {
        char text[MAX_PATH * 2] = {};
        GetWindowTextA(label, text, sizeof text);
        return text;
    }

    char startFolder[MAX_PATH] = {};
    zrtest::TempDir package;     // holds setup.zip; the current folder while installing
    zrtest::TempDir product;     // where the install log writes setup.log
    zrtest::TempDir installDir;  // the targets
    std::unique_ptr<InstallLog> log = std::make_unique<InstallLog>(product.path(), false);
    std::unique_ptr<FileInstaller> files;
    std::vector<std::string> targets;
    HWND label = nullptr;
};

}  // namespace

TEST_F(FileInstallerTest, InstallFile_CreatesTheFolderButLogsOnlyTheFile) {
    std::string path = target("P\\Sub\\Y.ico");
    installer({{"AppDir\\Y.ico", "icon bytes", kNew}}).install(",AppDir\\Y.ico," + path + ",1,0");

    EXPECT_EQ("icon bytes", zrtest::readFile(path));
    EXPECT_EQ(kNew, lastWriteStamp(path)) << "the entry's date and time";
    EXPECT_EQ(Lines{path}, loggedFiles());
    EXPECT_EQ(Lines{}, loggedFolders()) << "the folder made for the file is not logged";
    EXPECT_EQ(-1, sharedCount(path)) << "flag 1 has no effect";
    EXPECT_EQ("", registeredPath());
    EXPECT_EQ(path, labelText());
}

TEST_F(FileInstallerTest, InstallFile_ReadOnlyTargetIsOverwrittenInMode0) {
    std::string path = target("Y.ico");
    zrtest::writeFile(path, "old icon");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));

    installer({{"AppDir\\Y.ico", "new icon", kNew}}).install(",AppDir\\Y.ico," + path + ",0,0");

    EXPECT_EQ("new icon", zrtest::readFile(path));
    // Only the read-only bit goes (Wine run as root could have written the file
    // anyway, so the attributes tell whether it was cleared).
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_ARCHIVE}, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(Lines{path}, loggedFiles());
}

TEST_F(FileInstallerTest, InstallFile_OverwriteModesDecideByVersionAndTime) {
    const std::string v1 = fixture("component_v1.dll"), v2 = fixture("component_v2.dll");
    // The installed copies carry a trailing marker (a PE file loads with it), so
    // that a replacement by the same version shows.
    const std::string v1Installed = v1 + "installed", v2Installed = v2 + "installed";
    const std::string text = "installed text", newText = "packaged text";
    struct Row {
        const char* mode;
        const std::string& installed;
        uint32_t installedTime;
        const std::string& packaged;
        uint32_t packagedTime;
        bool replaced;
    } rows[] = {
        {"0", v2Installed, kNew, v1, kOld, true},     // 0: always
        {"1", v2Installed, kOld, v1, kNew, false},    // 1: a lower version stays, however new
        {"1", v1Installed, kNew, v1, kOld, true},     // 1: the same version replaces
        {"2", v1Installed, kOld, v1, kNew, false},    // 2: the same version stays
        {"2", v1Installed, kNew, v2, kOld, true},     // 2: a higher version replaces, however old
        {"1", text, kOld, v2, kNew, false},           // 1: the installed file has no version
        {"2", v1Installed, kOld, newText, kNew, false},  // 2: the packaged file has none
        {"3", text, kOld, newText, kNew, true},       // 3: later
        {"3", text, kNew, newText, kNew, true},       // 3: the same time
        {"3", text, kNew, newText, kOld, false},      // 3: earlier
        {"4", text, kNew, newText, kNew, false},      // 4: the same time is not enough
        {"4", text, kOld, newText, kNew, true},       // 4: later
        {"5", v2Installed, kOld, v1, kNew, true},     // 5: a lower version, but later
        {"5", v2Installed, kNew, v1, kOld, false},    // 5: lower and earlier
        {"6", v1Installed, kOld, v1, kOld, false},    // 6: the same version and time
        {"6", v1Installed, kOld, v1, kNew, true},     // 6: the same version, later
        {"7", v1Installed, kOld, v2, kNew, false},    // 7 and any other value: never
        {"-1", text, kOld, newText, kNew, false},
        {"x", text, kOld, newText, kNew, true},       // no number: mode 0
    };
    std::vector<Entry> entries;
    for (size_t i = 0; i < std::size(rows); ++i)
        entries.push_back({"AppDir\\file" + std::to_string(i), rows[i].packaged, rows[i].packagedTime});
    FileInstaller& files = installer(entries);
    std::set<std::string> copiesBefore = tempCopies();

    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        std::string path = target("file" + std::to_string(i) + ".dll");
        zrtest::writeFile(path, row.installed);
        setLastWrite(path, row.installedTime);

        files.install(",AppDir\\file" + std::to_string(i) + "," + path + ",0," + row.mode);

        EXPECT_TRUE(zrtest::readFile(path) == (row.replaced ? row.packaged : row.installed))
            << "row " << i << ": mode " << row.mode << (row.replaced ? " replaces" : " keeps");
        EXPECT_EQ(row.replaced ? row.packagedTime : row.installedTime, lastWriteStamp(path)) << "row " << i;
        EXPECT_EQ(path, loggedFiles().back()) << "row " << i << ": installed either way";
    }
    EXPECT_EQ(std::size(rows), loggedFiles().size());
    for (const std::string& copy : tempCopies())
        EXPECT_TRUE(copiesBefore.count(copy)) << "comparison copy left behind: " << copy;
    EXPECT_FALSE(files.restartNeeded());
}

TEST_F(FileInstallerTest, InstallFile_FlagsCountRegisterAndHideFromTheLog) {
    const std::string component = fixture("component_v1.dll");
    struct Row {
        int flags;
        bool logged;
        bool counted;
        bool registered;
    } rows[] = {
        {0, true, false, false},
        {2, true, false, true},    // DllRegisterServer of the installed file
        {4, true, true, false},    // SharedDLLs count 1
        {8, false, false, false},  // installed, but the uninstaller never hears of it
        {14, false, true, true},
        {16, true, false, false},  // other bits mean nothing
    };
    FileInstaller& files = installer({{"AppDir\\component.dll", component, kNew}});
    for (const Row& row : rows) {
        RegDeleteKeyA(HKEY_CURRENT_USER, kTraceKey);
        std::string path = target("flags" + std::to_string(row.flags) + "\\component.dll");
        files.install(",AppDir\\component.dll," + path + "," + std::to_string(row.flags) + ",0");

        EXPECT_TRUE(zrtest::readFile(path) == component) << row.flags;
        bool logged = !loggedFiles().empty() && loggedFiles().back() == path;
        EXPECT_EQ(row.logged, logged) << row.flags;
        EXPECT_EQ(row.counted ? 1 : -1, sharedCount(path)) << row.flags;
        EXPECT_EQ(row.registered, lstrcmpiA(registeredPath().c_str(), path.c_str()) == 0)
            << row.flags << ": " << registeredPath();
    }
}

TEST_F(FileInstallerTest, InstallFile_KeptFileCountsAsInstalled) {
    // Mode 7 leaves the installed file, which is then logged, counted and
    // registered as if it had just been installed.
    const std::string installed = fixture("component_v1.dll");
    std::string path = target("kept.dll");
    zrtest::writeFile(path, installed);

    installer({{"AppDir\\kept.dll", fixture("component_v2.dll"), kNew}}).install(",AppDir\\kept.dll," + path + ",6,7");

    EXPECT_TRUE(zrtest::readFile(path) == installed);
    EXPECT_EQ(Lines{path}, loggedFiles());
    EXPECT_EQ(1, sharedCount(path));
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), registeredPath().c_str())) << registeredPath();
}

TEST_F(FileInstallerTest, InstallFile_EntryNameIgnoresCase) {
    std::string path = target("Readme.txt");
    installer({{"AppDir\\Readme.txt", "read me", kNew}}).install(",appdir\\README.TXT," + path + ",0,0");
    EXPECT_EQ("read me", zrtest::readFile(path));
    EXPECT_EQ(Lines{path}, loggedFiles());
}

TEST_F(FileInstallerTest, InstallFile_WhatCannotBeInstalledIsSkippedSilently) {
    std::string data = ziptest::noise(30000, 7);
    std::string readOnly = target("readonly.txt");
    zrtest::writeFile(readOnly, "kept");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const DWORD readOnlyAttributes = GetFileAttributesA(readOnly.c_str());
    struct Row {
        std::string record;
        std::string path;       // must not be there afterwards ("" for none)
        const char* comment;
    } rows[] = {
        {",AppDir\\missing.txt," + target("missing.txt") + ",0,0", installDir.file("missing.txt"),
         "an entry not in the archive"},
        {",AppDir\\broken.bin," + target("broken.bin") + ",0,0", installDir.file("broken.bin"),
         "an entry whose data is damaged"},
        {",AppDir\\a.txt," + target("nofolder.txt") + "\\a.txt,0,0", "", "a folder that cannot be made (a file is in the way)"},
        {",AppDir\\missing.txt," + readOnly + ",0,0", "", "a missing entry over an existing file"},
    };
    zrtest::writeFile(installDir.file("nofolder.txt"), "a file, not a folder");

    ziptest::writeZip(package.file("good.zip"), {{"AppDir\\a.txt", "a", kNew}, {"AppDir\\broken.bin", data, kNew, true}});
    std::string zip = zrtest::readFile(package.file("good.zip"));
    zip[zip.find(data) + 100] ^= 0x55;  // the stored data no longer matches its CRC
    zrtest::writeFile(package.file("setup.zip"), zip);
    ASSERT_TRUE(SetCurrentDirectoryA(package.path().c_str()));
    files = std::make_unique<FileInstaller>(*log, label);

    for (const Row& row : rows) {
        files->install(row.record);
        if (!row.path.empty()) {
            EXPECT_FALSE(zrtest::exists(row.path)) << row.comment;
        }
    }
    EXPECT_EQ(Lines{}, loggedFiles());
    EXPECT_EQ("kept", zrtest::readFile(readOnly));
    EXPECT_EQ(readOnlyAttributes, GetFileAttributesA(readOnly.c_str())) << "not even the attributes change";
}

TEST_F(FileInstallerTest, InstallFile_RecordWithTwoFieldsIsIgnored) {
    FileInstaller& files = installer({{"AppDir\\a.txt", "a", kNew}});
    SetWindowTextA(label, "before");
    files.install(",AppDir\\a.txt");
    files.install("");
    EXPECT_EQ(Lines{}, loggedFiles());
    EXPECT_EQ("before", labelText()) << "not even the label changes";
}

TEST_F(FileInstallerTest, InstallFile_FileInUseIsReplacedAtTheNextStart) {
    // Held open without delete sharing, the file can neither be written nor moved
    // aside: the packaged copy waits in the temporary folder for the restart.
    const std::string v2 = fixture("component_v2.dll");
    const std::string installed = fixture("component_v1.dll") + "installed";
    std::string path = target("busy.dll");
    zrtest::writeFile(path, installed);
    FileInstaller& files = installer({{"AppDir\\busy.dll", v2, kNew}});
    {
        HolderProcess holder(HolderProcess::OpenShared, path);
        files.install(",AppDir\\busy.dll," + path + ",0,1");
    }
    EXPECT_TRUE(files.restartNeeded());
    EXPECT_TRUE(zrtest::readFile(path) == installed);
    EXPECT_EQ(Lines{path}, loggedFiles());

    std::string source;
    Lines renames = zrtest::pendingFileRenames();
    for (size_t i = 0; i + 1 < renames.size(); i += 2)
        if (renames[i + 1] == "!\\??\\" + path)
            source = renames[i].substr(4);
    ASSERT_FALSE(source.empty()) << "no move onto " << path << " pending";
    EXPECT_TRUE(zrtest::readFile(source) == v2) << "the packaged copy stays for the move: " << source;
    DeleteFileA(source.c_str());
}

TEST_F(FileInstallerTest, InstallFolder_OnlyNewFoldersAreLogged) {
    FileInstaller& files = installer({{"AppDir\\a.txt", "a", kNew}});
    FolderInstaller folders(files);
    SetWindowTextA(label, "before");
    std::string existing = installDir.file("Existing");
    ASSERT_TRUE(CreateDirectoryA(existing.c_str(), nullptr));
    struct Row {
        std::string record;
        std::string folder;
        bool logged;
    } rows[] = {
        {existing, existing, false},                                               // there before: the uninstaller keeps it
        {installDir.file("New"), installDir.file("New"), true},
        {installDir.file("A\\B") + ",ignored", installDir.file("A\\B"), true},    // missing parents too; only the first field counts
        {installDir.file("New"), installDir.file("New"), false},                 // made by the row before last
    };
    Lines expected;
    for (const Row& row : rows) {
        folders.install(row.record);
        EXPECT_TRUE(GetFileAttributesA(row.folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << row.record;
        if (row.logged)
            expected.push_back(row.folder);
        EXPECT_EQ(expected, loggedFolders()) << row.record;
    }
    EXPECT_EQ(Lines{}, loggedFiles()) << "A is not logged";
    EXPECT_EQ("before", labelText());
}

TEST_F(FileInstallerTest, Construction_WithoutArchiveThrows) {
    struct Row {
        const char* content;  // of setup.zip; null: none
        const char* comment;
    } rows[] = {
        {nullptr, "missing"},
        {"not a zip archive", "unreadable"},
    };
    ASSERT_TRUE(SetCurrentDirectoryA(package.path().c_str()));
    for (const Row& row : rows) {
        if (row.content)
            zrtest::writeFile(package.file("setup.zip"), row.content);
        try {
            FileInstaller files(*log, label);
            ADD_FAILURE() << row.comment << ": no exception";
        } catch (const FileException& e) {
            EXPECT_EQ("setup.zip", e.fileName()) << row.comment;
            EXPECT_EQ(FileException::NotFound, e.code()) << row.comment;
        }
    }
}

TEST(RegisterComponent, CallsDllRegisterServer) {
    zrtest::TempDir dir;
    std::string component = dir.file("component.dll"), text = dir.file("text.dll");
    zrtest::writeFile(component, fixture("component_v2.dll"));
    zrtest::writeFile(text, "not an image");
    struct Row {
        std::string path;
        bool result;
        const char* comment;
    } rows[] = {
        {component, true, "a component"},
        {zrtest::binaryPath("tests/foundation/holder_test_dll.dll"), false, "a DLL without DllRegisterServer"},
        {text, false, "no executable image"},
        {dir.file("missing.dll"), false, "no file"},
    };
    for (const Row& row : rows) {
        RegDeleteKeyA(HKEY_CURRENT_USER, kTraceKey);
        EXPECT_EQ(row.result, registerComponent(row.path.c_str())) << row.comment;
        EXPECT_EQ(row.result, lstrcmpiA(registeredPath().c_str(), row.path.c_str()) == 0) << row.comment;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kTraceKey);
}

TEST(FreeDiskSpace, DrivePathsAskTheRootOthersAsGiven) {
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
    uint64_t rootKB = available.QuadPart >> 10;
    ASSERT_GT(rootKB, 0u);
    // Other programs write to the same disk meanwhile: allow for a little change.
    const uint64_t slack = uint64_t{1} << 20;  // 1 GB
    auto nearRoot = [&](uint32_t kb) { return kb + slack > rootKB && kb < rootKB + slack; };

    uint32_t missingFolder = freeDiskSpaceKB("C:\\No Such Folder\\X");
    EXPECT_TRUE(nearRoot(missingFolder)) << missingFolder << " against " << rootKB << ": the drive's root is asked";
    EXPECT_TRUE(nearRoot(freeDiskSpaceKB("c:"))) << "a bare drive";
    // Without a drive letter the path itself is asked: a folder that does not
    // exist has no free space to tell.
    EXPECT_EQ(0u, freeDiskSpaceKB("\\\\nosuchserver\\share\\dir"));
    EXPECT_EQ(0u, freeDiskSpaceKB("No Such Folder\\X"));
}

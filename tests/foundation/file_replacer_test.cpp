// FileReplacer on the prefix's file system and registry: files that are free,
// read-only, held open or loaded by another process (file_holder.exe), on the NT
// family (Wine's default) and, through replace_probe.exe, on emulated Windows 98.
#include "shared_files.h"

#include "holder_process.h"
#include "win_init_file.h"
#include "owners.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

bool isPending(const std::string& source, const std::string& destination) {
    std::vector<std::string> list = zrtest::pendingFileRenames();
    for (size_t i = 0; i + 1 < list.size(); i += 2)
        if (list[i] == source && list[i + 1] == destination)
            return true;
    return false;
}

std::string nt(const std::string& path) { return "\\??\\" + path; }

// Whether this system lets a read-only file be overwritten. Wine run as root
// does, Windows does not: the replacer's second copy is then never needed.
bool writesReadOnlyFiles(const zrtest::TempDir& dir) {
    std::string probe = dir.file("readonly.probe"), source = dir.file("source.probe");
    zrtest::writeFile(probe, "old");
    zrtest::writeFile(source, "new");
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    bool writes = CopyFileA(source.c_str(), probe.c_str(), FALSE) != 0;
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    return writes;
}

class FileReplacerTest : public ::testing::Test {
protected:
    void SetUp() override {
        source = dir.file("new.tmp");
        zrtest::writeFile(source, "new content");
    }

    zrtest::TempDir dir;
    std::string source;
    FileReplacer replacer;
};

}  // namespace

TEST_F(FileReplacerTest, FreeTargetIsReplacedAtOnce) {
    std::string target = dir.file("free.dll");
    zrtest::writeFile(target, "old");
    EXPECT_EQ(FileReplacer::Replaced, replacer.replaceFile(source.c_str(), target.c_str()));
    EXPECT_EQ("new content", zrtest::readFile(target));
    EXPECT_FALSE(replacer.restartNeeded());
}

TEST_F(FileReplacerTest, ReadOnlyTargetIsReplacedWithoutRestart) {
    std::string target = dir.file("readonly.dll");
    zrtest::writeFile(target, "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    bool firstCopyWrites = writesReadOnlyFiles(dir);

    EXPECT_EQ(FileReplacer::Replaced, replacer.replaceFile(source.c_str(), target.c_str()));
    EXPECT_EQ("new content", zrtest::readFile(target));
    EXPECT_FALSE(replacer.restartNeeded());
    // Where the first copy is refused, the bit is cleared and the copy takes the
    // source's attributes; where it is not (Wine as root), the bit stays.
    DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_EQ(firstCopyWrites, (attributes & FILE_ATTRIBUTE_READONLY) != 0) << "attributes " << attributes;
}

TEST_F(FileReplacerTest, MissingSourceFails) {
    std::string target = dir.file("kept.dll");
    zrtest::writeFile(target, "old");
    EXPECT_EQ(FileReplacer::Failed, replacer.replaceFile(dir.file("missing.tmp").c_str(), target.c_str()));
    EXPECT_EQ("old", zrtest::readFile(target));
    EXPECT_FALSE(replacer.restartNeeded());
}

TEST_F(FileReplacerTest, FolderIsNeverReplaced) {
    std::string target = dir.file("folder");
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    zrtest::writeFile(target + "\\inside.txt", "kept");
    EXPECT_EQ(FileReplacer::Failed, replacer.replaceFile(source.c_str(), target.c_str()));
    EXPECT_EQ("kept", zrtest::readFile(target + "\\inside.txt"));
    EXPECT_FALSE(replacer.restartNeeded());
}

TEST_F(FileReplacerTest, LoadedDllIsMovedAsideAndReplaced) {
    std::string target = dir.file("tool.dll");
    std::string dllBytes = zrtest::readFile(zrtest::binaryPath("tests/foundation/holder_test_dll.dll"));
    ASSERT_FALSE(dllBytes.empty());
    zrtest::writeFile(target, dllBytes);
    zrtest::writeFile(dir.file("tool.001"), "someone else's");  // taken: the next number is used
    HolderProcess holder(HolderProcess::Loaded, target);

    EXPECT_EQ(FileReplacer::Replaced, replacer.replaceFile(source.c_str(), target.c_str()));
    EXPECT_TRUE(replacer.restartNeeded());
    EXPECT_EQ("new content", zrtest::readFile(target));
    EXPECT_EQ(dllBytes, zrtest::readFile(dir.file("tool.002"))) << "the loaded module, moved aside";
    EXPECT_EQ("someone else's", zrtest::readFile(dir.file("tool.001")));
    EXPECT_TRUE(isPending(nt(dir.file("tool.002")), "")) << "deleted at the next start";
}

TEST_F(FileReplacerTest, FileHeldOpenIsMovedAsideAndReplaced) {
    // Held with delete sharing, as programs that expect replacement hold files: it
    // may be renamed but not written. Its name has no "dll": a numbered suffix.
    std::string target = dir.file("data.txt");
    zrtest::writeFile(target, "old");
    HolderProcess holder(HolderProcess::OpenSharedDelete, target);

    EXPECT_EQ(FileReplacer::Replaced, replacer.replaceFile(source.c_str(), target.c_str()));
    EXPECT_TRUE(replacer.restartNeeded());
    EXPECT_EQ("new content", zrtest::readFile(target));
    EXPECT_EQ("old", zrtest::readFile(dir.file("data.txt.001")));
    EXPECT_TRUE(isPending(nt(dir.file("data.txt.001")), ""));
}

TEST_F(FileReplacerTest, FileThatCannotBeRenamedIsReplacedAtRestart) {
    // Held without delete sharing: neither written nor renamed. The new file must
    // replace the old one at the next start, so the move says "replace" ("!").
    std::string target = dir.file("busy.dll");
    zrtest::writeFile(target, "old");
    HolderProcess holder(HolderProcess::OpenShared, target);

    EXPECT_EQ(FileReplacer::Deferred, replacer.replaceFile(source.c_str(), target.c_str()));
    EXPECT_TRUE(replacer.restartNeeded());
    EXPECT_EQ("old", zrtest::readFile(target));
    EXPECT_TRUE(zrtest::exists(source)) << "the source waits for the restart";
    EXPECT_FALSE(zrtest::exists(dir.file("busy.001")));
    EXPECT_TRUE(isPending(nt(source), "!" + nt(target)));
}

TEST_F(FileReplacerTest, FailedCopyPutsTheOldFileBack) {
    // The source is locked, so the copy after the move fails: the old file must
    // not stay missing until the next start.
    std::string target = dir.file("back.dll");
    zrtest::writeFile(target, "old");
    HolderProcess targetHolder(HolderProcess::OpenSharedDelete, target);
    HolderProcess sourceHolder(HolderProcess::Locked, source);

    EXPECT_EQ(FileReplacer::Deferred, replacer.replaceFile(source.c_str(), target.c_str()));
    EXPECT_TRUE(replacer.restartNeeded());
    EXPECT_EQ("old", zrtest::readFile(target));
    EXPECT_FALSE(zrtest::exists(dir.file("back.001"))) << "moved back";
    EXPECT_TRUE(isPending(nt(source), "!" + nt(target)));
}

TEST_F(FileReplacerTest, Windows98WritesWinInitAndDefers) {
    struct Row {
        const char* comment;
        HolderProcess::How how;
        const char* name;
    } rows[] = {
        {"a file held open", HolderProcess::OpenShared, "held.dat"},
        {"a loaded DLL", HolderProcess::Loaded, "a.dll"},
    };
    std::string probe = zrtest::binaryPath("tests/foundation/replace_probe.exe");
    std::string dllBytes = zrtest::readFile(zrtest::binaryPath("tests/foundation/holder_test_dll.dll"));
    zrtest::setEmulatedVersion("replace_probe.exe", "win98");
    for (const Row& row : rows) {
        std::string target = dir.file(row.name);
        zrtest::writeFile(target, dllBytes);
        HolderProcess holder(row.how, target);
        WinInitFile winInit;
        zrtest::ProcessResult run = zrtest::runProcess("\"" + probe + "\" \"" + source + "\" \"" + target + "\"");

        ASSERT_TRUE(run.started) << row.comment;
        EXPECT_EQ(0, run.exitCode) << row.comment << ": " << run.output;
        std::string output = run.output.substr(0, run.output.find_last_not_of("\r\n") + 1);
        EXPECT_EQ("platform=1 version=4.10 result=Deferred restart=1", output) << row.comment;
        EXPECT_EQ("[Rename]\r\n" + target + "=" + source + "\r\n", zrtest::readFile(winInit.path())) << row.comment;
        EXPECT_EQ(dllBytes, zrtest::readFile(target)) << row.comment;
        EXPECT_TRUE(zrtest::exists(source)) << row.comment;
    }
    zrtest::setEmulatedVersion("replace_probe.exe", "");
}

#pragma once
// A small product folder for zrpack's tests, made in a TempDir: a setup script
// that names every kind of file zrpack checks, two language files, licence,
// readme and splash picture, a payload of four files in three folders, things
// that must not travel (a hidden file, a sources folder), and a fake kit whose
// programs are a few bytes that begin with "MZ". Every file gets a fixed
// modification time, so that two fixtures give the same package.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "test_support.h"
#include "zrpack_command.h"

namespace zrpacktest {

// 5 May 2006 13:25:58 UTC; payload files get this time plus 2 s per file.
constexpr int64_t kFileTime = 1146835558;

class ProductFixture {
public:
    ProductFixture();

    std::string project() const { return dir_.file("project"); }
    std::string kit() const { return dir_.file("kit"); }
    std::string outFolder() const { return dir_.file("out"); }
    std::string package() const { return dir_.file("out/Tiny.exe"); }
    const zrtest::TempDir& dir() const { return dir_; }

    // build project -o package --kit kit
    std::vector<std::string> buildArgs() const;

    // A file under the project folder (relative with '/'), folders made as
    // needed, with the modification time given.
    void write(const std::string& relative, const std::string& bytes, int64_t time = kFileTime);
    void remove(const std::string& relative);

    // Setup.ini, as lines numbered from 1; writeScript joins them with CR LF.
    std::vector<std::string> script;
    void setLine(int number, const std::string& text);
    void writeScript();

    // What the package must carry beside setup.exe and setup.zip, and what
    // setup.zip must hold, by name.
    std::map<std::string, std::string> topFiles;
    struct Entry {
        std::string bytes;
        int64_t time;
    };
    std::map<std::string, Entry> payload;  // by entry name (backslashes)

    static const std::string kStub;
    static const std::string kSetup;

private:
    zrtest::TempDir dir_;
};

// The fixture script's lines, numbered in a comment each so that tests can
// name the line a message must point at.
std::vector<std::string> baseScript();

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
};

// runZrpack in this process, with err as a terminal or not.
RunResult runInProcess(const std::vector<std::string>& args, bool terminal = false);

// The built program, dist/bin/zrpack.
std::string zrpackProgram();

// The names of the entries in folder (none: empty).
std::vector<std::string> folderEntries(const std::string& folder);

// Changes one byte of a file (offset from its start), to spoil a package on purpose.
void changeByte(const std::string& path, long offsetFromStart);

}  // namespace zrpacktest

#pragma once
// zrpack's command line: build a package from a product folder, and list,
// verify or extract a package. The program's main() only supplies the
// streams; tests call runZrpack directly as well as running the program.

#include <ostream>
#include <string>
#include <vector>

// Exit codes.
enum ZrpackExit : int {
    kExitSuccess = 0,
    kExitFailure = 1,  // a refused project, a damaged package, a failed write
    kExitUsage = 2,    // a command line that is not understood
};

struct Console {
    std::ostream& out;        // results: listings, what was written
    std::ostream& err;        // problems, each line prefixed "zrpack: ", and progress
    bool terminal = false;    // err is a terminal: progress is one line updated in place
    int columns = 80;         // its width, so that the progress line never wraps
    std::string programPath;  // the running zrpack; the default kit lies at ../win32 from its folder
};

// args without the program name. Returns the exit code.
int runZrpack(const std::vector<std::string>& args, Console& console);

// The kit used when no --kit is given: the folder win32 beside the folder that
// holds the program (dist/bin/zrpack uses dist/win32/).
std::string defaultKitFolder(const std::string& programPath);

#pragma once
// Running a native program from a native test (POSIX only): its exit code and
// what it wrote to standard output and standard error, kept apart.

#include <string>
#include <vector>

namespace zrtest {

struct ProgramResult {
    bool started = false;
    bool timedOut = false;  // killed at the deadline
    int exitCode = -1;      // -1 when it did not end normally
    std::string out;
    std::string err;
};

// Runs argv[0] (a path) with argv, the current environment plus environment
// ("NAME=value" each, replacing a variable of the same name), in workingDir
// when given, and waits at most timeoutMs for it to end. Standard input is
// /dev/null.
ProgramResult runProgram(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {},
                         const std::string& workingDir = "", int timeoutMs = 60000);

}  // namespace zrtest

// robot.exe: runs the script on its command line (the language is described at
// the top of robot.cpp) and prints what it saw on standard output.
#include "robot.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // LF line ends, as the scripts that read the output expect.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> words(argv + 1, argv + argc);
    return robot::runScript(words, [](const std::string& line) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
}

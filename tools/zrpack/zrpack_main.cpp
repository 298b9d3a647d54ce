// zrpack: builds packages on Linux and looks into them. See zrpack --help.
#include <climits>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sys/ioctl.h>
#include <unistd.h>

#include "work_folder.h"
#include "zrpack_command.h"

namespace {

// An interrupted build leaves no work folder and no half-written package.
void onSignal(int number) {
    removeWorkFolderOnSignal();
    std::signal(number, SIG_DFL);
    std::raise(number);
}

std::string programPath(const char* argv0) {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0) {
        path[length] = '\0';
        return path;
    }
    return argv0 ? argv0 : "zrpack";
}

}  // namespace

int main(int argc, char** argv) {
    for (int number : {SIGINT, SIGTERM, SIGHUP})
        std::signal(number, onSignal);

    Console console{std::cout, std::cerr, false, 80, ""};
    console.terminal = isatty(STDERR_FILENO) == 1;
    struct winsize size;
    if (console.terminal && ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        console.columns = size.ws_col;
    console.programPath = programPath(argv[0]);

    std::vector<std::string> args(argv + 1, argv + argc);
    int exit = runZrpack(args, console);
    std::cout.flush();
    return exit;
}

// A small program for the framework tests, for what only a program of its own
// can show. "framework_probe module-directory" writes moduleDirectory() to its
// standard output.
#include "window.h"

#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "module-directory") == 0) {
        std::string directory = moduleDirectory();
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), directory.data(), static_cast<DWORD>(directory.size()), &written,
                  nullptr);
        return 0;
    }
    return 2;
}

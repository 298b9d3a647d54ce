#include "command_line.h"

bool imitationRequested(int argc, const char* const* argv) {
    if (argc < 2 || !argv[1])
        return false;
    const char* first = argv[1];
    return first[0] == '-' && (first[1] == 'i' || first[1] == 'I') && first[2] == '\0';
}

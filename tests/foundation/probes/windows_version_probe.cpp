// Prints what WindowsVersion sees, for the system-info tests, which start it under
// each emulated Windows version: "<platform> <major>.<minor>" and the names of
// the predicates that hold.
#include "system_info.h"

#include <cstdio>

int main() {
    WindowsVersion version;
    std::printf("%u %u.%u", static_cast<unsigned>(version.platform()), static_cast<unsigned>(version.major()),
                static_cast<unsigned>(version.minor()));
    struct Predicate {
        const char* name;
        bool holds;
    } predicates[] = {
        {"95", version.isWindows95()},  {"98", version.isWindows98()},     {"ME", version.isWindowsME()},
        {"NT4", version.isWindowsNT4()}, {"2000", version.isWindows2000()}, {"XP", version.isWindowsXP()},
        {"9x", version.is9x()},          {"NT", version.isNT()},
    };
    for (const Predicate& p : predicates)
        if (p.holds)
            std::printf(" %s", p.name);
    // No line end: the console's text mode would make it CR LF.
    return 0;
}

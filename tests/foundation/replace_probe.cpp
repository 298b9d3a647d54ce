// replace_probe SOURCE TARGET: replaces TARGET with SOURCE through FileReplacer
// and prints what the running system and the replacement reported, as
//   platform=<id> version=<major>.<minor> result=<Replaced|Deferred|Failed> restart=<0|1>
// The tests run it under an emulated Windows version.
#include "errors.h"
#include "shared_files.h"
#include "system_info.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3)
        return 3;
    try {
        WindowsVersion version;
        FileReplacer replacer;
        FileReplacer::Result result = replacer.replaceFile(argv[1], argv[2]);
        static const char* const names[] = {"Replaced", "Deferred", "Failed"};
        std::printf("platform=%u version=%u.%u result=%s restart=%d\n", version.platform(), version.major(),
                    version.minor(), names[result], replacer.restartNeeded() ? 1 : 0);
        return 0;
    } catch (const WinException& e) {
        std::printf("WinException %s %u\n", e.message(), e.code());
        return 1;
    }
}

#include "test_support.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <ftw.h>
#include <unistd.h>

namespace zrtest {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zrtest.XXXXXX";
    if (!mkdtemp(&pattern[0]))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

void removeTree(const std::string& path) {
    if (path.empty())
        return;
    nftw(path.c_str(),
         [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); },
         16, FTW_DEPTH | FTW_PHYS);
}

}  // namespace zrtest

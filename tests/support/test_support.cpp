#include "test_support.h"

#include "file.h"

#include <cstdio>
#include <stdexcept>

namespace zrtest {

std::string platformPath(const std::string& unixPath) {
#ifdef _WIN32
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
#else
    return unixPath;
#endif
}

std::string sourcePath(const std::string& relative) {
    return platformPath(relative.empty() ? ZR_SOURCE_DIR : std::string(ZR_SOURCE_DIR) + "/" + relative);
}

std::string binaryPath(const std::string& relative) {
    return platformPath(relative.empty() ? ZR_BINARY_DIR : std::string(ZR_BINARY_DIR) + "/" + relative);
}

std::string distPath(const std::string& name) {
#ifdef _WIN32
#if defined(_WIN64)
    return sourcePath("dist/win64/" + name);
#else
    return sourcePath("dist/win32/" + name);
#endif
#else
    return sourcePath("dist/bin/" + name);
#endif
}

std::string readFile(const std::string& path) {
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

bool exists(const std::string& path) { return fileExists(path.c_str()); }

std::string TempDir::file(const std::string& name) const { return joinPath(path_, name); }

TempDir::~TempDir() { removeTree(path_); }

}  // namespace zrtest

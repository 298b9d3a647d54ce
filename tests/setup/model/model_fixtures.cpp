#include "model_fixtures.h"

#include "test_support.h"

#include <stdexcept>

namespace modeltest {

std::string fixturePath(const std::string& relative) {
    return zrtest::sourcePath("tests/setup/model/fixtures/" + relative);
}

SystemFolders fakeFolders(const std::string& setupDir) {
    SystemFolders folders;
    folders.programFiles = "C:\\Program Files";
    folders.setupDir = setupDir;
    folders.winDir = "C:\\WINDOWS";
    folders.winSysDir = "C:\\WINDOWS\\system32";
    folders.desktop = "C:\\Profile\\Desktop";
    folders.startUp = "C:\\Profile\\Start Menu\\Programs\\Startup";
    folders.startMenu = "C:\\Profile\\Start Menu";
    folders.startMenuPrograms = "C:\\Profile\\Start Menu\\Programs";
    folders.commonFiles = "C:\\Program Files\\Common Files";
    return folders;
}

std::string expectedLog(const std::string& fixture, const std::string& logPath) {
    std::string bytes = zrtest::readFile(fixturePath(fixture));
    const std::string marker = "@LOG@";
    size_t at = bytes.find(marker);
    if (at == std::string::npos)
        throw std::runtime_error("fixture " + fixture + " is missing or has no " + marker + " line");
    bytes.replace(at, marker.size(), logPath);
    return bytes;
}

}  // namespace modeltest

#include "model_fixtures.h"

#include "install_log.h"
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

void fillFullLog(InstallLog& log) {
    log.addFolder("C:\\Apps\\Sample");
    log.addFolder("C:\\Apps\\Sample\\Docs");
    log.addFile("C:\\Apps\\Sample\\tool.exe");
    log.addFile("C:\\Apps\\Sample\\Docs\\guide.txt");
    log.addFile("C:\\Apps\\Sample\\tool.exe");  // duplicate
    log.setCategory(InstallLog::SharedFiles);
    log.addFolder("C:\\Common\\Example");
    log.addFile("C:\\Common\\Example\\core.dll");
    log.setCategory(InstallLog::SystemFiles);
    log.addFolder("C:\\WINDOWS\\Example");
    log.addFile("C:\\WINDOWS\\system32\\helper.dll");
    log.addFile("C:\\Apps\\Sample\\tool.exe");  // also a system file: listed there too
    log.addRegistryKey("HKLM,SOFTWARE\\Example Works\\Sample Tool");
    log.addFolder("C:\\Menu\\Programs\\Sample Tool Tools");
    log.addEntry(InstallLog::ShortcutFiles, InstallLog::FileEntry, "C:\\Menu\\Programs\\Sample Tool Tools\\Tool.lnk");
    log.setCategory(InstallLog::Unused);
    log.addFile("C:\\dropped.txt");  // category 3 keeps no files or folders
    log.addFolder("C:\\dropped");
    log.addRegistryKey("HKCU,Software\\Category3");
    log.setCategory(InstallLog::ApplicationFiles);
    log.addFile("C:\\Apps\\Sample\\error.log");
    log.addRegistryKey("HKCR,.smp");
}

}  // namespace modeltest

#include "product_fixture.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace zrpacktest {

const std::string ProductFixture::kStub = "MZ stand-in for selfextract.exe";
const std::string ProductFixture::kSetup = "MZ stand-in for setup.exe, the setup engine";

std::vector<std::string> baseScript() {
    return {
        "[SETUP_INFO]",                                       // 1
        "DefaultInstallationPath=%ProgramFiles%\\Tiny",       // 2
        "SetupLanguages=English,Dansk",                       // 3
        "DefaultSetupLanguage=English",                       // 4
        "[DIALOGS]",                                          // 5
        "SplashWindow=Yes",                                   // 6
        "LicenseDialog=Yes",                                  // 7
        "ReadmeDialog=Yes",                                   // 8
        "[SPLASH_WINDOW]",                                    // 9
        "Bitmap_Pathname=%SetupDir%\\splash.bmp",             // 10
        "[LICENSE_DIALOG]",                                   // 11
        "License_Pathname=%SetupDir%\\licence.txt",           // 12
        "[README_DIALOG]",                                    // 13
        "Readme_Pathname=%SetupDir%\\readme.txt",             // 14
        "[APPLICATION_FILES]",                                // 15
        ",AppDir\\tool.exe,%AppDir%\\tool.exe,0,1",           // 16
        "",                                                   // 17 (blank: no record)
        ",appdir\\docs\\GUIDE.TXT,%AppDir%\\Docs\\guide.txt,0,0",  // 18 (any case matches)
        "[SHARED_FILES]",                                     // 19
        ",Shared\\core.dll,%CommonFiles%\\core.dll,6,1",      // 20
        "[SYSTEM_FILES]",                                     // 21
        ",System\\sys.txt,%WinSysDir%\\sys.txt,0,4",          // 22
    };
}

ProductFixture::ProductFixture() : script(baseScript()) {
    mkdir(project().c_str(), 0755);
    mkdir(kit().c_str(), 0755);
    mkdir(outFolder().c_str(), 0755);
    zrtest::writeFile(kit() + "/selfextract.exe", kStub);
    zrtest::writeFile(kit() + "/setup.exe", kSetup);

    writeScript();
    write("English.dat", "[WELCOME_DIALOG]\r\nDialog_Title=Welcome\r\n");
    write("Dansk.dat", "[WELCOME_DIALOG]\r\nDialog_Title=Velkommen\r\n");
    write("licence.txt", "Use it well.\r\n");
    write("readme.txt", "Read me first.\r\n");
    write("splash.bmp", "BM" + std::string(64, '\x7f'));
    // Not carried: hidden files and folders other than payload/.
    write(".gitattributes", "* -text\n");
    write("src/tool.cpp", "int main() {}\n");

    int64_t time = kFileTime;
    write("payload/AppDir/tool.exe", "MZ the product's program" + std::string(3000, 'x'), time);
    write("payload/AppDir/Docs/guide.txt", "How to use the tool.\r\n", time += 2);
    write("payload/Shared/core.dll", "MZ a shared component", time += 2);
    write("payload/System/sys.txt", "", time += 2);  // empty entries are fine
    write("payload/AppDir/.hidden", "not carried", time += 2);
}

std::vector<std::string> ProductFixture::buildArgs() const {
    return {"build", project(), "-o", package(), "--kit", kit()};
}

void ProductFixture::write(const std::string& relative, const std::string& bytes, int64_t time) {
    for (size_t slash = relative.find('/'); slash != std::string::npos; slash = relative.find('/', slash + 1))
        mkdir((project() + "/" + relative.substr(0, slash)).c_str(), 0755);
    const std::string path = project() + "/" + relative;
    zrtest::writeFile(path, bytes);
    struct timespec times[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the time of " + path);

    const std::string name = relative.substr(relative.find_last_of('/') + 1);
    if (name[0] == '.' || relative.compare(0, 4, "src/") == 0)
        return;
    if (relative.compare(0, 8, "payload/") == 0) {
        std::string entry = relative.substr(8);
        std::replace(entry.begin(), entry.end(), '/', '\\');
        payload[entry] = {bytes, time};
    } else if (relative.find('/') == std::string::npos) {
        topFiles[relative] = bytes;
    }
}

void ProductFixture::remove(const std::string& relative) {
    std::remove((project() + "/" + relative).c_str());
    topFiles.erase(relative);
    if (relative.compare(0, 8, "payload/") == 0) {
        std::string entry = relative.substr(8);
        std::replace(entry.begin(), entry.end(), '/', '\\');
        payload.erase(entry);
    }
}

void ProductFixture::setLine(int number, const std::string& text) {
    script.at(static_cast<size_t>(number - 1)) = text;
    writeScript();
}

void ProductFixture::writeScript() {
    std::string text;
    for (const std::string& line : script)
        text += line + "\r\n";
    write("Setup.ini", text);
}

RunResult runInProcess(const std::vector<std::string>& args, bool terminal) {
    std::ostringstream out, err;
    Console console{out, err, terminal, 80, zrpackProgram()};
    int exit = runZrpack(args, console);
    return {exit, out.str(), err.str()};
}

std::string zrpackProgram() { return zrtest::distPath("zrpack"); }

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void changeByte(const std::string& path, long offsetFromStart) {
    std::string bytes = zrtest::readFile(path);
    bytes.at(static_cast<size_t>(offsetFromStart)) ^= 0x20;
    zrtest::writeFile(path, bytes);
}

}  // namespace zrpacktest

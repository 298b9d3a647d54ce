#pragma once
// A package folder as the self-extractor leaves it, for tests that run
// setup.exe under Wine: the engine, its script, language files and setup.zip.

#include "robot.h"

#include <string>
#include <vector>

namespace setuptest {

class PackageFolder {
public:
    // setup.exe is copied under exeName: Wine's emulated Windows version is set
    // per program name, so tests that change it use a name of their own.
    explicit PackageFolder(const std::string& exeName = "setup.exe");

    PackageFolder& script(const std::string& text);
    PackageFolder& language(const std::string& name, const std::string& text);
    // setup.zip with one entry per (name, content), all with one DOS time.
    PackageFolder& archive(const std::vector<std::pair<std::string, std::string>>& entries = {{"unused.txt", "x"}});
    // A copy of a file of the build into the package folder.
    PackageFolder& copy(const std::string& from, const std::string& name);

    std::string file(const std::string& name) const;
    const std::string& path() const;
    const std::string& exe() const { return exe_; }

private:
    std::string dir_;
    std::string exe_;
};

// The first line of a script: the product goes into <package>\Product, so each
// test installs into a folder of its own.
extern const char kProductHere[];

// How long a test waits for setup's windows and end: generous, since CI runs
// test programs side by side on two cores.
constexpr int kSetupTimeoutMs = 30000;

// Starts the package's setup (with arguments, if any) in the package folder;
// false, with a failure recorded, when it cannot be started.
bool startSetup(robot::Robot& robot, const PackageFolder& package, const std::string& arguments = "");
// Waits for a window of the program with this caption; nullptr (and a failure
// recorded) when it does not come.
HWND waitWindow(robot::Robot& robot, const std::string& caption, int timeoutMs = kSetupTimeoutMs);
// Presses a button and waits until the window is gone.
void clickAndWaitGone(HWND window, unsigned id);
// The text of a control, or "<missing>".
std::string controlText(HWND window, unsigned id);
const robot::ControlInfo* findControl(const std::vector<robot::ControlInfo>& controls, unsigned id);
// The program's exit code, or 9999 when it did not end in time.
int exitCode(robot::Robot& robot, int timeoutMs = kSetupTimeoutMs);

}  // namespace setuptest

#pragma once
// The check of the setup script's system requirements at the start of the
// wizard, apart from the boxes that report it.

#include <string>
#include <vector>

class SetupModel;

// Which of the six named systems the program runs on (at most one is true; a
// later Windows is none of them).
struct RunningSystem {
    bool windows95 = false;
    bool windows98 = false;
    bool windowsME = false;
    bool windowsNT4 = false;
    bool windows2000 = false;
    bool windowsXP = false;
};

struct RequirementFailure {
    std::string systemName;  // "Windows 95", ..., "Windows XP"
    bool abort;              // SysReqAbortInstallation: setup ends after this one
};

// The failures to report, in order. Empty when SysReqAnyWindows is true or the
// running system's switch is true. With abort the list ends at the first
// failure.
std::vector<RequirementFailure> checkSystemRequirements(const SetupModel& model, const RunningSystem& running);

// text with its first "%1" replaced by value; later ones stay.
std::string replaceFirstPlaceholder(const std::string& text, const std::string& value);

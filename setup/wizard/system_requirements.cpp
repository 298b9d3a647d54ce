#include "system_requirements.h"

#include "setup_model.h"

std::vector<RequirementFailure> checkSystemRequirements(const SetupModel& model, const RunningSystem& running) {
    std::vector<RequirementFailure> failures;
    if (model.isTrue("SysReqAnyWindows"))
        return failures;
    bool abort = model.isTrue("SysReqAbortInstallation");
    const struct {
        bool runs;
        const char* switchName;
        const char* systemName;
    } systems[] = {
        {running.windows95, "SysReqWindows95", "Windows 95"},
        {running.windows98, "SysReqWindows98", "Windows 98"},
        {running.windowsME, "SysReqWindowsME", "Windows ME"},
        {running.windowsNT4, "SysReqWindowsNT4", "Windows NT4"},
        {running.windows2000, "SysReqWindows2000", "Windows 2000"},
        {running.windowsXP, "SysReqWindowsXP", "Windows XP"},
    };
    for (const auto& system : systems) {
        if (system.runs && !model.isTrue(system.switchName)) {
            failures.push_back({system.systemName, abort});
            if (abort)
                break;
        }
    }
    return failures;
}

std::string replaceFirstPlaceholder(const std::string& text, const std::string& value) {
    std::string result = text;
    size_t at = result.find("%1");
    if (at != std::string::npos)
        result.replace(at, 2, value);
    return result;
}

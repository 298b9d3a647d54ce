#include "model_fixtures.h"
#include "setup_model.h"
#include "system_requirements.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

// A model whose script has the given SYSTEM_REQUIREMENTS lines (none: no section).
std::vector<RequirementFailure> failuresFor(const std::string& requirements, const RunningSystem& running) {
    zrtest::TempDir dir;
    std::string script = "[GENERAL_INFO]\r\nProductName=P\r\n";
    if (!requirements.empty())
        script += "[SYSTEM_REQUIREMENTS]\r\n" + requirements;
    zrtest::writeFile(dir.file("Setup.ini"), script);
    zrtest::writeFile(dir.file("English.dat"), "[STRINGS]\r\n1=Requirements\r\n");
    SetupModel model(modeltest::fakeFolders(dir.path()));
    return checkSystemRequirements(model, running);
}

RunningSystem on98() {
    RunningSystem running;
    running.windows98 = true;
    return running;
}

std::string describe(const std::vector<RequirementFailure>& failures) {
    std::string text;
    for (const RequirementFailure& f : failures)
        text += f.systemName + (f.abort ? " (abort);" : ";");
    return text;
}

}  // namespace

TEST(SystemRequirements, FailuresPerScript) {
    struct Row {
        const char* comment;
        const char* requirements;
        RunningSystem running;
        const char* expected;
    } rows[] = {
        {"no section: every named system warns", "", on98(), "Windows 98;"},
        {"the running system's switch is on", "Windows98=Yes\r\n", on98(), ""},
        {"another system's switch does not help", "Windows95=Yes\r\n", on98(), "Windows 98;"},
        {"abort is carried with the failure", "AbortInstallation=Yes\r\n", on98(), "Windows 98 (abort);"},
        {"AnyWindows skips everything, even with abort", "AnyWindows=Yes\r\nAbortInstallation=Yes\r\n", on98(), ""},
        {"a later Windows is none of the six", "", RunningSystem(), ""},
        {"switches are first-character booleans", "Windows98=1\r\n", on98(), ""},
        {"True is not a switch value that counts", "Windows98=True\r\n", on98(), "Windows 98;"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, describe(failuresFor(row.requirements, row.running))) << row.comment;
}

TEST(SystemRequirements, OnlyTheFirstPlaceholderIsReplaced) {
    EXPECT_EQ("Not on Windows 98 (%1)", replaceFirstPlaceholder("Not on %1 (%1)", "Windows 98"));
    EXPECT_EQ("no marker", replaceFirstPlaceholder("no marker", "Windows 98"));
}

#pragma once
// Shared by the Win32 installer tests: the logs of one install run in a product
// folder of its own, the setup model over the fixture script, and registry
// look-ups on the real registry.

#include "install_log.h"
#include "record_installer.h"
#include "system_folders.h"
#include "test_support.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace installtest {

// The logs as the install driver holds them when the registry, file-type and
// shortcut sections run: category 1 (system) left set by the file sections.
// Both logs write their files when the run goes, and may throw then, so a test
// fixture holds the run through a pointer (see newRun).
struct InstallRun {
    InstallRun() { log.setCategory(InstallLog::SystemFiles); }

    const std::vector<std::string>& registryKeys() const { return log.lines(InstallLog::RegEntryList); }
    const std::vector<std::string>& folders() const { return log.lines(InstallLog::AppFolderList); }
    // The shortcut files, without the log's own setup.log that comes first.
    std::vector<std::string> files() const;

    zrtest::TempDir productDir;
    InstallLog log{productDir.path(), false};
    ErrorLog errors{productDir.file("error.log"), log};
};

inline std::unique_ptr<InstallRun> newRun() { return std::make_unique<InstallRun>(); }

// This system's folders, with the fixture script and language file as the
// setup folder (tests/setup/install/fixtures/model).
SystemFolders fixtureFolders();

// The running test's name, for registry keys and company names of its own: the
// test programs share one registry.
std::string testName();

bool keyExists(HKEY root, const std::string& path);
// The raw bytes of a value and its type; false when the key or value is missing.
bool readValue(HKEY root, const std::string& path, const std::string& name, std::string* bytes, DWORD* type = nullptr);
// The number of values in a key (the default value counts when set); -1 without the key.
int valueCount(HKEY root, const std::string& path);
// Deletes a key with everything below it; a missing key is fine.
void deleteKey(HKEY root, const std::string& path);

}  // namespace installtest

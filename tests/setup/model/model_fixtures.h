#pragma once
// Shared by the setup model's test programs: the fixture folders and system
// folders for loading a model without Windows.

#include "system_folders.h"

#include <string>

class InstallLog;

namespace modeltest {

// A folder or file under tests/setup/model/fixtures ('/' separated), in the
// running platform's form.
std::string fixturePath(const std::string& relative);

// Fixed system folders in the Windows form, with setupDir as given.
SystemFolders fakeFolders(const std::string& setupDir);

// The bytes of an expected setup.log fixture with its "@LOG@" line replaced by
// the path of the log itself. Throws when the fixture is missing.
std::string expectedLog(const std::string& fixture, const std::string& logPath);

// The entries of expected_full.log, added to a fresh log of category 0: every
// list and category, a duplicate, and category-3 files and folders that are
// dropped.
void fillFullLog(InstallLog& log);

}  // namespace modeltest

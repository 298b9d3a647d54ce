#pragma once
// Splitting a Windows path into its folder and its name. Portable: the text is
// always split at a backslash, whatever platform runs the code, because the
// paths it is given come from setup scripts and the registry.

#include <string>

// folder receives everything before the last backslash (without it), name
// everything after it. A path without a backslash gives an empty folder and the
// whole path as the name. Either output may be null when it is not wanted.
void splitPath(const std::string& path, std::string* folder, std::string* name);

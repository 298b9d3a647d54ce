#pragma once
// The parts of a SHORTCUTS record that need no shell: the kind of shortcut, the
// folder it goes into, and the folder levels to create for it.
//
// Record: type,link path,target or URL,arguments,icon file,icon index,show command,working folder
// The link path has no extension; the kind decides it.

#include <cstddef>
#include <string>
#include <vector>

enum class ShortcutKind { None, ShellLink, InternetShortcut };

// By the first character of the type field, case included: "s" a shell link,
// "i" or "w" an internet shortcut, anything else (or nothing) None.
ShortcutKind shortcutKind(const std::string& typeField);

// ".lnk", ".url", or "" for None.
const char* shortcutExtension(ShortcutKind kind);

// The part of the link path before its last backslash; "" without one.
std::string linkFolder(const std::string& linkPath);

// A path that names a drive: its second character is a colon.
bool isDrivePath(const std::string& path);

// A path of at most this many characters fits the shell's path buffers with its
// terminating zero; a longer shortcut or folder path is refused rather than cut.
constexpr size_t kMaxShortcutPath = 259;

// The folders to create, in order, for a shortcut folder that does not exist
// yet: the prefix before every backslash from index 3 (drive paths, past the
// root's backslash) or 1 (all others) up to but not including the last
// character, then the folder itself. Prefixes that exist already are simply not
// created again. Empty for the empty folder and for a drive root ("C:", "C:\").
std::vector<std::string> shortcutFolderSteps(const std::string& folder);

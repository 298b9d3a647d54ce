#pragma once
// The pure parts of deferred replacement, kept apart from the Win32 calls so that
// they build and are tested on any platform: the name an in-use file is moved
// aside to on the NT family, and the edit of WinInit.ini for Windows 95, 98 and
// ME. Paths here are always Windows paths.

#include <cstddef>
#include <functional>
#include <string>

// The section header of WinInit.ini, with its line end: 10 bytes.
constexpr char kRenameHeader[] = "[Rename]\r\n";
constexpr size_t kRenameHeaderSize = sizeof kRenameHeader - 1;

// The longest entry line WinInit.ini is given, line end included.
constexpr size_t kWinInitLineMax = 1024;

// What an insertion may add besides its line: a line break that ends the file's
// last line, and the section header.
constexpr size_t kWinInitSlack = 2 + kRenameHeaderSize;

// The name a file in use is moved aside to before its replacement is copied in;
// the old file is deleted from there at the next start. In the target's folder
// and naming no existing file (exists answers that), tried with the numbers 001
// to 998 in turn:
// - when the file name holds the lower-case letters "dll", their last occurrence
//   is replaced by the number (C:\App\tool.dll -> C:\App\tool.001);
// - otherwise the number is appended after a dot (C:\App\data.txt -> C:\App\data.txt.001).
// When every number is taken, the name with 998 is returned (and the move fails).
std::string backupNameFor(const std::string& target, const std::function<bool(const std::string&)>& exists);

// "destination=source\r\n", or "NUL=source\r\n" when destination is null. A null
// source counts as the empty text.
std::string winInitRenameLine(const char* source, const char* destination);

// Puts line at the top of the first [Rename] section of the text in view, whose
// first oldSize bytes are the file; view must hold oldSize + line.size() +
// kWinInitSlack bytes. The text is searched as a C string, up to its first zero
// byte, for the exact header (a section written [rename], or a header without
// its line end, does not count). When there is none, the header is appended at
// oldSize, after a CR LF if the file's last line lacks its line end (the header
// would otherwise be part of that line and the entry lost). Returns the new size
// of the text.
size_t insertRenameLine(char* view, size_t oldSize, const std::string& line);

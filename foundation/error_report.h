#pragma once
// What each program's top level shows for an exception that reached it. Kept
// apart from MessageBoxA so that every report can be checked without a box.

#include <exception>
#include <optional>
#include <string>
#include <vector>

struct ErrorReport {
    std::string text;
    std::string caption;
    unsigned style;  // MessageBoxA style
};

// MB_ICONWARNING with the single OK button.
constexpr unsigned kWarningBoxStyle = 0x30;

// The setup engine: "<message>, Error <code>" / "Exception" for a WinException,
// "<code text>: \"<file>\"" / "Error" for a FileException, "Unknown" / "Exception"
// for anything else. failure must not be null.
ErrorReport setupReport(std::exception_ptr failure);

// The uninstaller: as the setup engine for a WinException, "Model Exception" for a
// ModelException, "Unknown" for anything else; a FileException is not shown
// (empty result).
std::optional<ErrorReport> uninstallReport(std::exception_ptr failure);

// A failure that happened while another one was already unwinding the program
// (a destructor that could not write its file, say) cannot be thrown. It is kept
// here instead, and the top level reports it after the failure it is handling.
void deferFailure(std::exception_ptr failure);
// Hands the kept failures over, oldest first, and forgets them.
std::vector<std::exception_ptr> takeDeferredFailures();

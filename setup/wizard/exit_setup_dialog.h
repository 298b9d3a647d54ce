#pragma once
// The Exit Setup confirmation that every page's Cancel opens. Windows only.

#include <windows.h>

class SetupModel;

// Runs the Exit Setup dialog modally with the page as owner. True when the user
// confirmed (Exit Setup, Enter, Esc or the close box: the page then ends with
// CmdEndSetup); false after Resume.
bool confirmExitSetup(HWND page, SetupModel& model);

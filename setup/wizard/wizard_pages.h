#pragma once
// The wizard's page dialogs, by page index. Windows only.

#include <windows.h>

class SetupModel;

// Whether the kit carries a dialog for the page.
bool wizardPageExists(int page);

// Runs the page's dialog modally with owner as its owner and returns the
// command it ended with (CmdNextPage, CmdPreviousPage or CmdEndSetup). A page
// dialog that cannot be created throws WinException("Can't create wizard page").
unsigned runWizardPage(int page, HINSTANCE instance, HWND owner, SetupModel& model);

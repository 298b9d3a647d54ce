#pragma once
// The wizard's page dialogs, by page index. Windows only.

#include <windows.h>

#include <initializer_list>
#include <utility>

class SetupModel;

// Sets the dialog's caption and each control's text from the model's
// variables: the texts of the chosen language.
void showTexts(HWND dialog, const SetupModel& model, const char* captionVariable,
               std::initializer_list<std::pair<int, const char*>> controlVariables);

// Whether the kit carries a dialog for the page.
bool wizardPageExists(int page);

// Runs the page's dialog modally with owner as its owner and returns the
// command it ended with (CmdNextPage, CmdPreviousPage or CmdEndSetup). A page
// dialog that cannot be created throws WinException("Can't create wizard page").
unsigned runWizardPage(int page, HINSTANCE instance, HWND owner, SetupModel& model);

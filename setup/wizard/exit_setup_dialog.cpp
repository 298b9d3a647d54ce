#include "exit_setup_dialog.h"

#include "resource.h"
#include "setup_model.h"
#include "setup_process.h"
#include "window.h"
#include "wizard_commands.h"
#include "wizard_pages.h"

namespace {

class ExitSetupHandler : public DialogHandler {
public:
    ExitSetupHandler(HWND, SetupModel* model) : DialogHandler(model), model_(*model) {}

    bool onInitDialog(HWND dialog) override {
        showTexts(dialog, model_, "ExitSetupTitle",
                  {{IDC_TEXT1, "ExitSetupText1"}, {IDC_TEXT2, "ExitSetupText2"}, {IDC_TEXT3, "ExitSetupText3"},
                   {IDC_RESUME, "ExitResume"}, {IDC_EXIT_SETUP, "ExitExit"}});
        centreOnDesktop(dialog);
        return true;
    }

    bool onCommand(HWND dialog, unsigned id, unsigned) override {
        switch (id) {
        case IDC_EXIT_SETUP:
        case IDCANCEL:  // Esc and the close box
            EndDialog(dialog, CmdEndSetup);
            return true;
        case IDC_RESUME:
            EndDialog(dialog, CmdResume);
            return true;
        default:
            return false;
        }
    }

private:
    SetupModel& model_;
};

}  // namespace

bool confirmExitSetup(HWND page, SetupModel& model) {
    DialogFactoryOf<ExitSetupHandler, SetupModel> factory(&model);
    return runModalDialog(programInstance(), page, IDD_EXIT_SETUP, factory) == CmdEndSetup;
}

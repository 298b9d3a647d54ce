#include "exit_setup_dialog.h"

#include "resource.h"
#include "setup_model.h"
#include "setup_process.h"
#include "window.h"
#include "wizard_commands.h"

namespace {

class ExitSetupHandler : public DialogHandler {
public:
    ExitSetupHandler(HWND, SetupModel* model) : DialogHandler(model), model_(*model) {}

    bool onInitDialog(HWND dialog) override {
        setCaption(dialog, model_.getVariable("ExitSetupTitle"));
        DialogControl(dialog, IDC_TEXT1).setText(model_.getVariable("ExitSetupText1"));
        DialogControl(dialog, IDC_TEXT2).setText(model_.getVariable("ExitSetupText2"));
        DialogControl(dialog, IDC_TEXT3).setText(model_.getVariable("ExitSetupText3"));
        DialogControl(dialog, IDC_RESUME).setText(model_.getVariable("ExitResume"));
        DialogControl(dialog, IDC_EXIT_SETUP).setText(model_.getVariable("ExitExit"));
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

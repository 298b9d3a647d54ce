#include "progress_page.h"

#include "exit_setup_dialog.h"
#include "install_thread.h"
#include "resource.h"
#include "setup_model.h"
#include "window.h"
#include "wizard_commands.h"
#include "wizard_pages.h"

namespace {

class ProgressPage : public DialogHandler {
public:
    ProgressPage(HWND, SetupModel* model) : DialogHandler(model), model_(*model) {}

    bool onInitDialog(HWND dialog) override {
        showTexts(dialog, model_, "ProcessTitle", {{IDCANCEL, "ProcessCancel"}});
        install_ = std::make_unique<InstallThread>(dialog, model_, GetDlgItem(dialog, IDC_PROGRESS_BAR),
                                                   GetDlgItem(dialog, IDC_STATUS_LINE));
        install_->start();
        centreOnDesktop(dialog);
        return true;
    }

    bool onCommand(HWND dialog, unsigned id, unsigned) override {
        switch (id) {
        case CmdInstallFinished:
            EndDialog(dialog, CmdNextPage);
            return true;
        case IDCANCEL:
            if (!confirmExitSetup(dialog, model_))
                return false;
            // The model, its log and this page's controls go once setup ends:
            // the run must be over before that.
            install_->stopAndWait();
            EndDialog(dialog, CmdEndSetup);
            return true;
        default:
            return false;
        }
    }

private:
    SetupModel& model_;
    std::unique_ptr<InstallThread> install_;
};

}  // namespace

std::unique_ptr<DialogFactory> makeProgressPageFactory(SetupModel& model) {
    return std::make_unique<DialogFactoryOf<ProgressPage, SetupModel>>(&model);
}

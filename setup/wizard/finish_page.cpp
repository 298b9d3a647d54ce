#include "finish_page.h"

#include "resource.h"
#include "setup_model.h"
#include "window.h"
#include "wizard_commands.h"
#include "wizard_pages.h"

namespace {

class FinishPage : public DialogHandler {
public:
    FinishPage(HWND, SetupModel* model) : DialogHandler(model), model_(*model) {}

    bool onInitDialog(HWND dialog) override {
        showTexts(dialog, model_, "FinishTitle",
                  {{IDC_TEXT1, "FinishText1"}, {IDC_TEXT2, "FinishText2"}, {IDC_BACK, "FinishBack"},
                   {IDC_FINISH, "FinishFinish"}});
        prepareChoice(dialog, IDC_VIEW_README, model_.showViewReadme(), model_.viewReadmeChecked(), "FinishCheck1");
        prepareChoice(dialog, IDC_RUN_APPLICATION, model_.showRunApplication(), model_.runApplicationChecked(),
                      "FinishCheck2");
        centreOnDesktop(dialog);
        return true;
    }

    // Only Finish ends the page: there is no way back and no Cancel here.
    bool onCommand(HWND dialog, unsigned id, unsigned) override {
        if (id != IDC_FINISH)
            return false;
        // A hidden box is never ticked, so it never chooses anything.
        model_.setViewReadmeChosen(DialogControl(dialog, IDC_VIEW_README).isChecked());
        model_.setRunApplicationChosen(DialogControl(dialog, IDC_RUN_APPLICATION).isChecked());
        EndDialog(dialog, CmdNextPage);
        return true;
    }

private:
    void prepareChoice(HWND dialog, int id, bool shown, bool ticked, const char* textVariable) {
        DialogControl box(dialog, id);
        if (shown) {
            box.show();
            box.setText(model_.getVariable(textVariable));
            box.setChecked(ticked);
        } else {
            box.hide();
            box.setChecked(false);
        }
    }

    SetupModel& model_;
};

}  // namespace

std::unique_ptr<DialogFactory> makeFinishPageFactory(SetupModel& model) {
    return std::make_unique<DialogFactoryOf<FinishPage, SetupModel>>(&model);
}

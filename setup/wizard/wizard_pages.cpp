#include "wizard_pages.h"

#include "errors.h"
#include "finish_page.h"
#include "progress_page.h"
#include "resource.h"
#include "setup_model.h"
#include "window.h"
#include "wizard_state.h"

namespace {

struct PageDialog {
    int page;
    int templateId;
    std::unique_ptr<DialogFactory> (*makeFactory)(SetupModel& model);
};

// The pages the kit carries, in page order.
const PageDialog kPages[] = {
    {PageProgress, IDD_PROGRESS, makeProgressPageFactory},
    {PageFinish, IDD_FINISH, makeFinishPageFactory},
};

const PageDialog* findPage(int page) {
    for (const PageDialog& dialog : kPages)
        if (dialog.page == page && dialog.makeFactory)
            return &dialog;
    return nullptr;
}

}  // namespace

bool wizardPageExists(int page) { return findPage(page) != nullptr; }

unsigned runWizardPage(int page, HINSTANCE instance, HWND owner, SetupModel& model) {
    const PageDialog* dialog = findPage(page);
    if (!dialog)
        throw WinException("Can't create wizard page");
    std::unique_ptr<DialogFactory> factory = dialog->makeFactory(model);
    INT_PTR result = runModalDialog(instance, owner, dialog->templateId, *factory);
    if (result == -1)
        throw WinException("Can't create wizard page");
    return static_cast<unsigned>(result);
}

void showTexts(HWND dialog, const SetupModel& model, const char* captionVariable,
               std::initializer_list<std::pair<int, const char*>> controlVariables) {
    setCaption(dialog, model.getVariable(captionVariable));
    for (const auto& control : controlVariables)
        DialogControl(dialog, control.first).setText(model.getVariable(control.second));
}

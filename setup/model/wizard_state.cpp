#include "wizard_state.h"

void WizardState::enable(int page) {
    if (page >= 0 && page < kPageCount)
        enabled_[page] = true;
}

bool WizardState::pageEnabled(int page) const { return page >= 0 && page < kPageCount && enabled_[page]; }

void WizardState::computeStartPage() {
    startPage_ = PageProgress;
    for (int page = PageLanguage; page <= PageStart; ++page) {
        if (enabled_[page]) {
            startPage_ = page;
            break;
        }
    }
    currentPage_ = startPage_;
}

int WizardState::nextPage() const {
    // Clamped first, so that any current page that was set keeps the search inside
    // the page list.
    int first = currentPage_ < 0 ? 0 : currentPage_ >= kPageCount ? kPageCount : currentPage_ + 1;
    for (int page = first; page < kPageCount; ++page)
        if (enabled_[page])
            return page;
    return -1;
}

int WizardState::previousPage() const {
    int first = currentPage_ <= 0 ? -1 : currentPage_ > kPageCount ? kPageCount - 1 : currentPage_ - 1;
    for (int page = first; page >= 0; --page)
        if (enabled_[page])
            return page;
    return -1;
}

#include "wizard_state.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

WizardState stateWith(std::initializer_list<int> pages) {
    WizardState state;
    for (int page : pages)
        state.enable(page);
    state.computeStartPage();
    return state;
}

}  // namespace

TEST(WizardState, StartPageIsFirstEnabledBeforeProgress) {
    struct Row {
        const char* comment;
        std::initializer_list<int> pages;
        int start;
    } rows[] = {
        {"Welcome first", {PageWelcome, PageStart, PageProgress}, PageWelcome},
        {"Language first", {PageLanguage, PageWelcome, PageProgress}, PageLanguage},
        {"only Start", {PageStart, PageProgress}, PageStart},
        {"no page 0 to 7: Progress even with Finish on", {PageProgress, PageFinish, PageCompletionActions},
         PageProgress},
        {"nothing enabled at all still starts at Progress", {}, PageProgress},
    };
    for (const Row& row : rows) {
        WizardState state = stateWith(row.pages);
        EXPECT_EQ(row.start, state.startPage()) << row.comment;
        EXPECT_EQ(row.start, state.currentPage()) << row.comment;
    }
}

TEST(WizardState, NextAndPreviousSkipDisabledPages) {
    WizardState state = stateWith({PageWelcome, PageReadme, PageTargetDirectory, PageProgress, PageFinish,
                                   PageCompletionActions});
    struct Row {
        int current, next, previous;
    } rows[] = {
        {PageWelcome, PageReadme, -1},  // nothing before the first page
        {PageLicense, PageReadme, PageWelcome},  // from a disabled page too
        {PageReadme, PageTargetDirectory, PageWelcome},
        {PageTargetDirectory, PageProgress, PageReadme},
        {PageFinish, PageCompletionActions, PageProgress},
        {PageCompletionActions, -1, PageFinish},  // nothing after the last page
        {-1, PageWelcome, -1},  // out-of-range current pages stay inside the list
        {kPageCount + 5, -1, PageCompletionActions},
    };
    for (const Row& row : rows) {
        state.setCurrentPage(row.current);
        EXPECT_EQ(row.next, state.nextPage()) << row.current;
        EXPECT_EQ(row.previous, state.previousPage()) << row.current;
    }
}

TEST(WizardState, EnableIgnoresIndicesOutsideTheList) {
    WizardState state;
    state.enable(-1);
    state.enable(kPageCount);
    for (int page = -1; page <= kPageCount; ++page)
        EXPECT_FALSE(state.pageEnabled(page)) << page;
}

#pragma once
// Which wizard pages take part and where the wizard stands. Kept in the setup
// model, so that navigation is plain data, testable without windows.

// Page indices, in navigation order.
constexpr int PageLanguage = 0;
constexpr int PageWelcome = 1;
constexpr int PageLicense = 2;
constexpr int PageReadme = 3;
constexpr int PageUserInfo = 4;
constexpr int PageTargetDirectory = 5;
constexpr int PageProgramFolder = 6;
constexpr int PageStart = 7;
constexpr int PageProgress = 8;
constexpr int PageFinish = 9;
constexpr int PageCompletionActions = 10;
constexpr int kPageCount = 11;

class WizardState {
public:
    // Every page off; start and current page 0 until computeStartPage.
    WizardState() = default;

    // Indices outside 0 to 10 are ignored (enable) or off (pageEnabled).
    void enable(int page);
    bool pageEnabled(int page) const;

    // The first enabled page among Language to Start, or Progress when none of
    // them is; the current page becomes the start page.
    void computeStartPage();
    int startPage() const { return startPage_; }

    int currentPage() const { return currentPage_; }
    void setCurrentPage(int page) { currentPage_ = page; }

    // The nearest enabled page after (before) the current one, or -1.
    int nextPage() const;
    int previousPage() const;

private:
    bool enabled_[kPageCount] = {};
    int startPage_ = 0;
    int currentPage_ = 0;
};

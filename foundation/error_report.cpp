#include "error_report.h"

#include "errors.h"

#include <cstdio>
#include <atomic>

namespace {

ErrorReport winReport(const WinException& e) {
    // The code is shown as a signed number, as "%d" of the Windows formatter does.
    char text[600];
    std::snprintf(text, sizeof text, "%s, Error %d", e.message(), static_cast<int>(e.code()));
    return {text, "Exception", kWarningBoxStyle};
}

ErrorReport unknownReport() { return {"Unknown", "Exception", kWarningBoxStyle}; }

}  // namespace

ErrorReport setupReport(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const WinException& e) {
        return winReport(e);
    } catch (const FileException& e) {
        return {std::string(e.codeText()) + ": \"" + e.fileName() + "\"", "Error", kWarningBoxStyle};
    } catch (...) {
        return unknownReport();
    }
}

std::optional<ErrorReport> uninstallReport(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const AppException& e) {
        switch (e.kind()) {
        case AppException::KindWin:
            return winReport(static_cast<const WinException&>(e));
        case AppException::KindModel:
            return ErrorReport{"Model Exception", "Exception", kWarningBoxStyle};
        case AppException::KindFile:
            return std::nullopt;
        default:
            return unknownReport();
        }
    } catch (...) {
        return unknownReport();
    }
}

namespace {

// A spin lock: the release programs are built without the threads runtime that
// std::mutex needs, and the list is touched only while a failure is handled.
std::atomic_flag deferredLock = ATOMIC_FLAG_INIT;
class DeferredHold {
public:
    DeferredHold() {
        while (deferredLock.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~DeferredHold() { deferredLock.clear(std::memory_order_release); }
};

std::vector<std::exception_ptr>& deferred() {
    static std::vector<std::exception_ptr> failures;
    return failures;
}

}  // namespace

void deferFailure(std::exception_ptr failure) {
    DeferredHold hold;
    deferred().push_back(std::move(failure));
}

std::vector<std::exception_ptr> takeDeferredFailures() {
    DeferredHold hold;
    std::vector<std::exception_ptr> failures;
    failures.swap(deferred());
    return failures;
}

#include "error_report.h"

#include "errors.h"

#include <cstdio>
#include <mutex>

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

std::mutex deferredLock;
std::vector<std::exception_ptr>& deferred() {
    static std::vector<std::exception_ptr> failures;
    return failures;
}

}  // namespace

void deferFailure(std::exception_ptr failure) {
    std::lock_guard<std::mutex> hold(deferredLock);
    deferred().push_back(std::move(failure));
}

std::vector<std::exception_ptr> takeDeferredFailures() {
    std::lock_guard<std::mutex> hold(deferredLock);
    std::vector<std::exception_ptr> failures;
    failures.swap(deferred());
    return failures;
}

#include "errors.h"
#include "file.h"
#include "install_log.h"
#include "record_installer.h"

#include <exception>
#include <utility>

ErrorLog::ErrorLog(std::string path, InstallLog& installLog) : path_(std::move(path)), installLog_(installLog) {}

ErrorLog::~ErrorLog() noexcept(false) {
    if (std::uncaught_exceptions() > 0) {
        try {
            write();
        } catch (...) {
        }
        return;
    }
    write();
}

void ErrorLog::add(const std::string& line) { lines_.push_back(line); }

void ErrorLog::add(const std::string& message, const std::string& detail) { lines_.push_back(message + detail); }

void ErrorLog::write() {
    if (lines_.empty())
        return;
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\r\n";
    lines_.clear();
    File file;
    if (!file.open(path_.c_str(), File::CreateWrite))
        throw FileException(path_, FileException::DiskFull);
    file.write(text.data(), static_cast<uint32_t>(text.size()), nullptr);
    file.close();
    installLog_.setCategory(InstallLog::ApplicationFiles);
    installLog_.addFile(path_);
}

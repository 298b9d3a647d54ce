#pragma once
// The section processors of the install run and the error list they share.

#include <string>
#include <vector>

class InstallLog;

// One processor per record section. install takes one record of the section,
// variables already expanded, and reports nothing back: a failed record is
// skipped silently or becomes a line of error.log.
class RecordInstaller {
public:
    virtual ~RecordInstaller() = default;
    virtual void install(const std::string& record) = 0;
};

// The error lines of one install run, written as error.log into the product
// folder when the list is destroyed. An empty list writes nothing, so an
// error.log of an earlier installation stays as it was.
class ErrorLog {
public:
    // path: the full path of error.log. installLog learns of the file once it is
    // written, so that the uninstaller removes it with the application files.
    ErrorLog(std::string path, InstallLog& installLog);

    // Writes the file unless the list is empty. A file that cannot be created
    // throws FileException(path, 5) - unless an exception is already leaving the
    // install run, when the failure is ignored (the run drops every failure).
    ~ErrorLog() noexcept(false);

    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    void add(const std::string& line);
    // message immediately followed by detail, no separator.
    void add(const std::string& message, const std::string& detail);

    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& path() const { return path_; }

private:
    void write();

    std::string path_;
    InstallLog& installLog_;
    std::vector<std::string> lines_;
};

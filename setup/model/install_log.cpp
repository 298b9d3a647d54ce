#include "install_log.h"

#include "error_report.h"
#include "errors.h"
#include "file.h"

#include <algorithm>
#include <exception>

namespace {

const char* const kHeaders[InstallLog::kListCount] = {
    "[COMMON]", "[SHAREDFILES]", "[STDFILES]", "[APPFILES]", "[APPFOLDERS]", "[APPDIR]", "[REGENTRY]",
};

// List by kind (rows) and category (columns 0 to 4); -1: not kept.
constexpr int kRoutes[3][5] = {
    // file
    {InstallLog::AppFileList, InstallLog::StdFileList, InstallLog::SharedFileList, -1, InstallLog::AppFileList},
    // folder
    {InstallLog::AppDirList, InstallLog::AppFolderList, InstallLog::AppFolderList, -1, InstallLog::AppFolderList},
    // registry key
    {InstallLog::RegEntryList, InstallLog::RegEntryList, InstallLog::RegEntryList, InstallLog::RegEntryList,
     InstallLog::RegEntryList},
};

}  // namespace

InstallLog::InstallLog(const std::string& appDir, bool disabled) : disabled_(disabled) {
    if (disabled_ || appDir.empty())
        return;
    path_ = joinPath(appDir, "setup.log");
    lists_[AppFileList].push_back(path_);
}

InstallLog::~InstallLog() noexcept(false) {
    if (disabled_)
        return;
    if (std::uncaught_exceptions() == 0) {
        write();
        return;
    }
    // Another failure is on its way to the top level; a second exception from
    // here would end the program without a word.
    try {
        write();
    } catch (...) {
        try {
            deferFailure(std::current_exception());
        } catch (...) {
            // Out of memory while keeping it: nothing is left to report with.
        }
    }
}

int InstallLog::route(int category, int kind) {
    if (kind < FileEntry || kind > RegistryKeyEntry)
        return -1;
    if (category < ApplicationFiles || category > ShortcutFiles)
        return kind == RegistryKeyEntry ? RegEntryList : -1;
    return kRoutes[kind][category];
}

void InstallLog::setCategory(int category) {
    if (!disabled_)
        category_ = category;
}

void InstallLog::addFile(const std::string& path) { addEntry(category_, FileEntry, path); }

void InstallLog::addFolder(const std::string& path) { addEntry(category_, FolderEntry, path); }

void InstallLog::addRegistryKey(const std::string& text) { addEntry(category_, RegistryKeyEntry, text); }

void InstallLog::addEntry(int category, int kind, const std::string& text) {
    int list = route(category, kind);
    if (list >= 0)
        add(list, text);
}

void InstallLog::addCommon(const std::string& line) {
    if (!disabled_)
        lists_[Common].push_back(line);
}

void InstallLog::add(int list, const std::string& text) {
    if (disabled_)
        return;
    std::vector<std::string>& lines = lists_[list];
    if (std::find(lines.begin(), lines.end(), text) == lines.end())
        lines.push_back(text);
}

template <typename Sink>
void InstallLog::eachLine(Sink sink) const {
    for (int list = 0; list < kListCount; ++list) {
        sink(kHeaders[list]);
        const std::vector<std::string>& lines = lists_[list];
        // COMMON keeps its order; the entry lists are written last added first.
        if (list == Common) {
            for (const std::string& line : lines)
                sink(line);
        } else {
            for (auto line = lines.rbegin(); line != lines.rend(); ++line)
                sink(*line);
        }
    }
}

std::string InstallLog::render() const {
    std::string bytes;
    eachLine([&bytes](const std::string& line) { bytes += line + "\r\n"; });
    return bytes;
}

void InstallLog::write() {
    File file;
    if (path_.empty() || !file.open(path_.c_str(), File::CreateWrite))
        throw FileException(path_.empty() ? "setup.log" : path_, FileException::DiskFull);
    // One write per line: the file is unbuffered, so each line is out before the
    // next. A write that fails after the create is not reported.
    eachLine([&file](const std::string& line) {
        std::string bytes = line + "\r\n";
        file.write(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr);
    });
}

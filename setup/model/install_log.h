#pragma once
// The record of one installation: what the installers created, sorted into lists
// by kind and by the category of what was being installed, and written as
// setup.log into the product folder when the log is destroyed. The uninstaller
// works from that file alone.
//
// setup.log, every line ended by CR LF:
//   [COMMON]
//   Application_Name=<product name>     the COMMON lines, in the order added
//   <13 lines of UNINSTALL_DIALOG>
//   [SHAREDFILES]  entries, last added first
//   [STDFILES]     ...
//   [APPFILES]     ... (the log's own path, added first, comes last)
//   [APPFOLDERS]   ...
//   [APPDIR]       ...
//   [REGENTRY]     ...
// Files come before folders and every list is reversed, so the uninstaller meets
// each folder after everything inside it, and nested folders deepest first.

#include <string>
#include <vector>

class InstallLog {
public:
    // What is being installed. The install driver sets it before each pair of
    // sections; the shortcut installer names ShortcutFiles for its files.
    enum Category : int {
        ApplicationFiles = 0,  // APPLICATION_FOLDERS/FILES and error.log
        SystemFiles = 1,       // SYSTEM_FOLDERS/FILES, then registry and shortcut folders
        SharedFiles = 2,       // SHARED_FOLDERS/FILES
        Unused = 3,            // only registry keys are kept
        ShortcutFiles = 4,
    };
    enum Kind : int { FileEntry = 0, FolderEntry = 1, RegistryKeyEntry = 2 };
    // The lists, in the order of the file.
    enum List : int { Common = 0, SharedFileList, StdFileList, AppFileList, AppFolderList, AppDirList, RegEntryList };
    static constexpr int kListCount = 7;

    // A log for the product folder appDir: its file is appDir\setup.log (one
    // separator, whether or not appDir ends with one), recorded first in APPFILES.
    // With an empty appDir the log has no file: it records entries as usual, but
    // writing it fails rather than dropping setup.log into whatever folder is
    // current. A disabled log (an imitation run) records and writes nothing.
    InstallLog(const std::string& appDir, bool disabled);

    // Writes setup.log unless disabled. A file that cannot be created throws
    // FileException(path, 5), or ("setup.log", 5) when the log has no path. If an
    // exception is already unwinding this thread, throwing would end the program:
    // the failure is handed to deferFailure() for the top level to report instead.
    ~InstallLog() noexcept(false);

    InstallLog(const InstallLog&) = delete;
    InstallLog& operator=(const InstallLog&) = delete;

    bool disabled() const { return disabled_; }
    // Full path of setup.log; empty when the log has no file.
    const std::string& path() const { return path_; }

    void setCategory(int category);
    int category() const { return category_; }

    // Entries go to the list of their kind and category (see route); an entry
    // with no list, or already in its list (same bytes), is dropped.
    void addFile(const std::string& path);
    void addFolder(const std::string& path);
    void addRegistryKey(const std::string& text);  // "HKLM,SOFTWARE\Vendor\Product"
    void addEntry(int category, int kind, const std::string& text);
    // A line of [COMMON], added as it is (no duplicate check).
    void addCommon(const std::string& line);

    // The list of an entry, or -1 when such entries are not kept: files go to
    // APPFILES (categories 0 and 4), STDFILES (1) or SHAREDFILES (2); folders to
    // APPDIR (0) or APPFOLDERS (1, 2, 4); registry keys always to REGENTRY.
    static int route(int category, int kind);

    // The lines of one list, in the order added.
    const std::vector<std::string>& lines(int list) const { return lists_[list]; }

    // The exact bytes of setup.log.
    std::string render() const;

private:
    // Calls sink with every line of the file, without line ends.
    template <typename Sink>
    void eachLine(Sink sink) const;
    void write();
    void add(int list, const std::string& text);

    std::string path_;
    bool disabled_;
    int category_ = ApplicationFiles;
    std::vector<std::string> lists_[kListCount];
};

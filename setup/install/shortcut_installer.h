#pragma once
// The SHORTCUTS section's processor: shell links (.lnk) and internet shortcuts
// (.url), saved through the shell's COM objects. It creates the shortcut's
// folder where needed and logs every folder level it creates (under the log's
// current category) and every shortcut it saves (as a shortcut file). Failures
// become error.log lines. Windows only.

#include "record_installer.h"

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

class InstallLog;
class SetupModel;

class ShortcutInstaller : public RecordInstaller {
public:
    // Initialises COM for the calling thread and sets the label's text to
    // "Create shortcuts". label (the Progress page's status line) may be null:
    // nothing is sent then. model and both logs must outlive the installer, which
    // must be used and destroyed on the thread that created it.
    ShortcutInstaller(SetupModel& model, InstallLog& installLog, ErrorLog& errors, HWND label);
    // Empties the label and uninitialises COM.
    ~ShortcutInstaller() override;

    ShortcutInstaller(const ShortcutInstaller&) = delete;
    ShortcutInstaller& operator=(const ShortcutInstaller&) = delete;

    // One record (see shortcut_record.h). The link path and a shell link's target
    // are expanded once more.
    void install(const std::string& record) override;

private:
    // Creates folder and its missing parents; true when the folder is there.
    bool makeFolder(const std::string& folder);
    void writeShellLink(const std::vector<std::string>& fields, const std::string& linkPath);
    void writeInternetShortcut(const std::string& url, const std::string& linkPath);
    // Saves through the shortcut object's IPersistFile and logs the file.
    void save(IPersistFile* file, const std::string& linkPath);
    void setLabel(const char* text);

    SetupModel& model_;
    InstallLog& installLog_;
    ErrorLog& errors_;
    HWND label_;
    HRESULT comInit_;
};

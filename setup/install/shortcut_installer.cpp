#include "shortcut_installer.h"

#include "error_lines.h"
#include "install_log.h"
#include "owners.h"
#include "record_fields.h"
#include "setup_model.h"
#include "shortcut_record.h"

#include <direct.h>
#include <intshcut.h>
#include <shlobj.h>

namespace {

bool isFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

ShortcutInstaller::ShortcutInstaller(SetupModel& model, InstallLog& installLog, ErrorLog& errors, HWND label)
    : model_(model), installLog_(installLog), errors_(errors), label_(label), comInit_(CoInitialize(nullptr)) {
    setLabel("Create shortcuts");
}

ShortcutInstaller::~ShortcutInstaller() {
    setLabel("");
    // Only a successful CoInitialize (S_OK or S_FALSE) is to be balanced.
    if (SUCCEEDED(comInit_))
        CoUninitialize();
}

void ShortcutInstaller::setLabel(const char* text) {
    if (label_)
        SendMessageA(label_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ShortcutInstaller::install(const std::string& record) {
    std::vector<std::string> fields = splitRecord(record, 8);
    const std::string& type = fields[0];
    std::string linkPath = fields[1];
    model_.expand(linkPath);
    if (linkPath.empty()) {
        errors_.add(errorline::kEmptyLinkPath);
        return;
    }
    // The shortcut is attempted even without its folder; saving then fails with
    // a line of its own.
    std::string folder = linkFolder(linkPath);
    if (!makeFolder(folder))
        errors_.add(errorline::kCannotMakeShortcutFolder, folder);

    ShortcutKind kind = shortcutKind(type);
    switch (kind) {
    case ShortcutKind::ShellLink:
        writeShellLink(fields, linkPath + shortcutExtension(kind));
        break;
    case ShortcutKind::InternetShortcut:
        writeInternetShortcut(fields[2], linkPath + shortcutExtension(kind));
        break;
    case ShortcutKind::None:
        errors_.add(errorline::kUnknownLinkType, type);
        break;
    }
}

bool ShortcutInstaller::makeFolder(const std::string& folder) {
    if (folder.empty())
        return true;
    if (isDrivePath(folder)) {
        if (folder.size() < 4)
            return true;  // a drive root
        char root[] = {folder[0], ':', '\\', '\0'};
        UINT driveType = GetDriveTypeA(root);
        if (driveType == DRIVE_UNKNOWN || driveType == DRIVE_NO_ROOT_DIR)
            return false;
    }
    if (folder.size() > kMaxShortcutPath)
        return false;
    if (isFolder(folder))
        return true;
    // Upper levels first, so the log lists a parent before the folders in it.
    for (const std::string& step : shortcutFolderSteps(folder))
        if (_mkdir(step.c_str()) == 0)
            installLog_.addFolder(step);
    return isFolder(folder);
}

void ShortcutInstaller::writeShellLink(const std::vector<std::string>& fields, const std::string& linkPath) {
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.receive()))) {
        errors_.add(errorline::kNoShellLink);
        return;
    }
    std::string target = fields[2];
    model_.expand(target);
    link->SetPath(target.c_str());
    const std::string& arguments = fields[3];
    const std::string& iconFile = fields[4];
    const std::string& iconIndex = fields[5];
    const std::string& showCommand = fields[6];
    const std::string& workingFolder = fields[7];
    if (!arguments.empty())
        link->SetArguments(arguments.c_str());
    if (!iconFile.empty())
        link->SetIconLocation(iconFile.c_str(), parseDecimal(iconIndex));
    if (!showCommand.empty())
        link->SetShowCmd(parseDecimal(showCommand));
    if (!workingFolder.empty())
        link->SetWorkingDirectory(workingFolder.c_str());
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive()))) {
        errors_.add(errorline::kNoPersistFile);
        return;
    }
    save(file.get(), linkPath);
}

void ShortcutInstaller::writeInternetShortcut(const std::string& url, const std::string& linkPath) {
    // An internet shortcut that cannot be made or given its address is dropped
    // without a line.
    ComPtr<IUniformResourceLocatorA> locator;
    if (FAILED(CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER, IID_IUniformResourceLocatorA,
                                locator.receive())))
        return;
    if (FAILED(locator->SetURL(url.c_str(), IURL_SETURL_FL_USE_DEFAULT_PROTOCOL)))
        return;
    ComPtr<IPersistFile> file;
    if (FAILED(locator->QueryInterface(IID_IPersistFile, file.receive())))
        return;
    save(file.get(), linkPath);
}

void ShortcutInstaller::save(IPersistFile* file, const std::string& linkPath) {
    // A path the shell's buffers cannot hold whole is refused, never cut: a cut
    // path would save the shortcut under another name.
    wchar_t widePath[MAX_PATH];
    if (linkPath.size() > kMaxShortcutPath ||
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH) == 0 ||
        FAILED(file->Save(widePath, FALSE))) {
        errors_.add(errorline::kCannotSaveShortcut, linkPath);
        return;
    }
    installLog_.addEntry(InstallLog::ShortcutFiles, InstallLog::FileEntry, linkPath);
}

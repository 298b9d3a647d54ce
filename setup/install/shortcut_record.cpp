#include "shortcut_record.h"

ShortcutKind shortcutKind(const std::string& typeField) {
    if (typeField.empty())
        return ShortcutKind::None;
    switch (typeField[0]) {
    case 's': return ShortcutKind::ShellLink;
    case 'i': case 'w': return ShortcutKind::InternetShortcut;
    default: return ShortcutKind::None;
    }
}

const char* shortcutExtension(ShortcutKind kind) {
    switch (kind) {
    case ShortcutKind::ShellLink: return ".lnk";
    case ShortcutKind::InternetShortcut: return ".url";
    case ShortcutKind::None: break;
    }
    return "";
}

std::string linkFolder(const std::string& linkPath) {
    size_t last = linkPath.rfind('\\');
    return last == std::string::npos ? std::string() : linkPath.substr(0, last);
}

bool isDrivePath(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

std::vector<std::string> shortcutFolderSteps(const std::string& folder) {
    bool drive = isDrivePath(folder);
    if (folder.empty() || (drive && folder.size() < 4))
        return {};
    std::vector<std::string> steps;
    for (size_t i = drive ? 3 : 1; i + 1 < folder.size(); ++i)
        if (folder[i] == '\\')
            steps.push_back(folder.substr(0, i));
    steps.push_back(folder);
    return steps;
}

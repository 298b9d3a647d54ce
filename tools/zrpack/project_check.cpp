#include "project_check.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sys/stat.h>

#include "errors.h"
#include "ini_document.h"
#include "language_list.h"
#include "package_format.h"
#include "record_fields.h"
#include "script_locator.h"

namespace {

// Sizes and offsets in a package are 32-bit.
constexpr uint64_t kMaxCarriedSize = 0xFFFFFFFFull;

const char* const kFileSections[] = {"APPLICATION_FILES", "SHARED_FILES", "SYSTEM_FILES"};

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The setup script with what the checks need beside it.
struct Script {
    std::string label;  // the script's name as the project spells it
    IniDocument document;
    const ProductFolder& folder;
};

// The entry names a file that is there but was left out for its dot.
bool isHiddenPayloadFile(const ProductFolder& folder, const std::string& entry) {
    std::string relative = entry;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty() || (relative[0] != '.' && relative.find("/.") == std::string::npos))
        return false;
    struct stat st;
    return stat((folder.path + "/payload/" + relative).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void checkLineEnds(const std::string& label, const std::string& text, ProblemList* problems) {
    BareLineFeeds bare = findBareLineFeeds(text);
    if (bare.count == 0)
        return;
    std::string more = bare.count > 1 ? " (and " + std::to_string(bare.count - 1) + " more lines)" : "";
    problems->error(label, bare.firstLine,
                    "line ends in LF without CR" + more + "; setup reads only CR LF line ends");
}

// The archive entry of every record of the three file sections must be in
// payload/. Setup expands a record before it splits it, so an entry can only
// be checked when no reference reaches into the first two fields.
void checkFileRecords(const Script& script, const ScriptLocator& locator, ProblemList* problems) {
    std::set<std::string> entries;
    for (const PayloadFile& file : script.folder.payload)
        entries.insert(foldCase(file.entryName));

    for (const char* section : kFileSections) {
        const int count = script.document.recordCount(section);
        const std::vector<int> lines = locator.recordLines(section);
        for (int i = 0; i < count; ++i) {
            std::string record;
            script.document.record(section, i, &record);
            const int line = i < static_cast<int>(lines.size()) ? lines[i] : 0;
            const std::string where = std::string("[") + section + "] ";
            if (fieldCount(record) < 3) {
                problems->warning(script.label, line,
                                  where + "record has fewer than three fields; setup skips it");
                continue;
            }
            const std::vector<std::string> fields = splitRecord(record, 2);
            const std::string& entry = fields[1];
            const size_t firstPercent = record.find('%');
            if (holdsReference(record) && firstPercent < fields[0].size() + 1 + entry.size()) {
                problems->warning(script.label, line,
                                  where + "archive entry " + quoted(entry) +
                                      " holds a variable reference; it cannot be checked against payload/");
                continue;
            }
            if (entries.count(foldCase(entry)) != 0)
                continue;
            std::string hint;
            std::string backslashed = entry;
            std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
            if (backslashed != entry && entries.count(foldCase(backslashed)) != 0)
                hint = " (entry names use backslashes: " + quoted(backslashed) + ")";
            else if (isHiddenPayloadFile(script.folder, entry))
                hint = " (names that begin with a dot are left out)";
            problems->error(script.label, line,
                            where + "archive entry " + quoted(entry) + " is not in payload/" + hint);
        }
    }
}

void checkLanguageFile(const Script& script, int line, const std::string& what,
                       const std::string& language, std::set<std::string>* found,
                       ProblemList* problems) {
    const std::string fileName = language + ".dat";
    if (const TopFile* file = findTopFile(script.folder, fileName)) {
        found->insert(file->name);
        return;
    }
    std::string hint;
    const size_t first = language.find_first_not_of(' ');
    const size_t last = language.find_last_not_of(' ');
    if (first != std::string::npos && (first > 0 || last + 1 < language.size()) &&
        findTopFile(script.folder, language.substr(first, last + 1 - first) + ".dat"))
        hint = " (setup does not trim the blanks around a name)";
    problems->error(script.label, line,
                    what + ": language file " + quoted(fileName) + " is not in the project folder" + hint);
}

// Every language offered and the one setup starts with need their file beside
// setup.exe; setup ends at once when the first one is missing and when the user
// picks one whose file is missing.
void checkLanguages(const Script& script, const ScriptLocator& locator, ProblemList* problems) {
    std::set<std::string> found;
    const std::string list = script.document.getString("SETUP_INFO", "SetupLanguages", "");
    const int listLine = locator.keyLine("SETUP_INFO", "SetupLanguages");
    if (holdsReference(list)) {
        problems->warning(script.label, listLine,
                          "[SETUP_INFO] SetupLanguages holds a variable reference; its language files cannot be checked");
    } else if (!list.empty()) {
        std::string language;
        for (int i = 0; languageListItem(list, i, &language); ++i) {
            if (language.empty())
                problems->error(script.label, listLine,
                                "[SETUP_INFO] SetupLanguages: item " + std::to_string(i + 1) +
                                    " is an empty language name");
            else
                checkLanguageFile(script, listLine, "[SETUP_INFO] SetupLanguages", language, &found,
                                  problems);
        }
    }

    const std::string first = script.document.getString("SETUP_INFO", "DefaultSetupLanguage", "");
    if (first.empty()) {
        const int sectionLine = locator.sectionLine("SETUP_INFO");
        const std::string what = sectionLine > 0 ? "[SETUP_INFO] has no DefaultSetupLanguage"
                                                 : "no [SETUP_INFO] DefaultSetupLanguage";
        if (const TopFile* file = findTopFile(script.folder, "English.dat"))
            found.insert(file->name);
        else
            problems->error(script.label, sectionLine,
                            what + ", so setup opens \"English.dat\", which is not in the project folder");
    } else if (holdsReference(first)) {
        problems->warning(script.label, locator.keyLine("SETUP_INFO", "DefaultSetupLanguage"),
                          "[SETUP_INFO] DefaultSetupLanguage holds a variable reference; its language file cannot be checked");
    } else {
        checkLanguageFile(script, locator.keyLine("SETUP_INFO", "DefaultSetupLanguage"),
                          "[SETUP_INFO] DefaultSetupLanguage", first, &found, problems);
    }

    // Language files are read as setup reads the script.
    for (const std::string& name : found) {
        IniDocument language;
        try {
            language.load(script.folder.path, name);
        } catch (const FileException&) {
            problems->error(name, 0, "cannot be read");
            continue;
        }
        checkLineEnds(name, language.text(), problems);
    }
}

// Files that setup opens from its own folder when a dialog switch is on.
struct DialogFile {
    const char* dialogSwitch;  // key of [DIALOGS]
    const char* section;
    const char* key;
};
const DialogFile kDialogFiles[] = {
    {"SplashWindow", "SPLASH_WINDOW", "Bitmap_Pathname"},
    {"LicenseDialog", "LICENSE_DIALOG", "License_Pathname"},
    {"ReadmeDialog", "README_DIALOG", "Readme_Pathname"},
};

void checkDialogFiles(const Script& script, const ScriptLocator& locator, ProblemList* problems) {
    for (const DialogFile& dialog : kDialogFiles) {
        // Setup's switch rule: the expanded value begins with Y, y or 1.
        const std::string on = script.document.getString("DIALOGS", dialog.dialogSwitch, "");
        const std::string where = std::string("[") + dialog.section + "] " + dialog.key;
        if (holdsReference(on)) {
            problems->warning(script.label, locator.keyLine("DIALOGS", dialog.dialogSwitch),
                              std::string("[DIALOGS] ") + dialog.dialogSwitch +
                                  " holds a variable reference; the file of " + where + " is not checked");
            continue;
        }
        if (on.empty() || (on[0] != 'Y' && on[0] != 'y' && on[0] != '1'))
            continue;
        const std::string path = script.document.getString(dialog.section, dialog.key, "");
        // Only files beside setup.exe travel with the package; any other path
        // names a file on the user's machine.
        const std::string prefix = "%SetupDir%";
        if (path.compare(0, prefix.size(), prefix) != 0 || path.size() <= prefix.size() ||
            (path[prefix.size()] != '\\' && path[prefix.size()] != '/'))
            continue;
        const std::string name = path.substr(prefix.size() + 1);
        const int line = locator.keyLine(dialog.section, dialog.key);
        if (name.find_first_of("\\/") != std::string::npos) {
            problems->error(script.label, line,
                            where + " " + quoted(path) +
                                " lies in a subfolder; a package carries only the files at the top of the project folder");
        } else if (holdsReference(name)) {
            problems->warning(script.label, line,
                              where + " " + quoted(path) + " holds a variable reference; it cannot be checked");
        } else if (!findTopFile(script.folder, name)) {
            problems->error(script.label, line,
                            where + " " + quoted(path) + ": " + quoted(name) +
                                " is not in the project folder (" + dialog.dialogSwitch + " is on)");
        }
    }
}

void checkScript(const ProductFolder& folder, ProblemList* problems) {
    const TopFile* file = findTopFile(folder, kScriptName);
    if (!file) {
        problems->error(kScriptName, 0, "not in the project folder; setup reads its script from beside setup.exe");
        return;
    }
    Script script{file->name, IniDocument(), folder};
    try {
        script.document.load(folder.path, file->name);
    } catch (const FileException&) {
        problems->error(file->name, 0, "cannot be read");
        return;
    }
    const ScriptLocator locator(script.document.text());
    checkLineEnds(script.label, script.document.text(), problems);
    checkFileRecords(script, locator, problems);
    checkLanguages(script, locator, problems);
    checkDialogFiles(script, locator, problems);
}

// Windows holds one of two names that differ only in case; the package reader
// refuses names that are no plain file names, and holds only so many.
void checkCarriedNames(const ProductFolder& folder, ProblemList* problems) {
    std::map<std::string, std::string> seen;
    for (const TopFile& file : folder.files) {
        const std::string folded = foldCase(file.name);
        if (folded == foldCase(kSetupProgramName)) {
            problems->error(file.name, 0, "a project file of this name clashes with the kit's setup.exe");
            continue;
        }
        if (folded == foldCase(kArchiveName)) {
            problems->error(file.name, 0, "a project file of this name clashes with the setup.zip made from payload/");
            continue;
        }
        if (!package::isPlainFileName(file.name)) {
            problems->error(file.name, 0,
                            "a package cannot carry this name (Windows does not allow it in a folder)");
            continue;
        }
        if (file.name.size() > package::kMaxNameLength) {
            problems->error(file.name.substr(0, 40) + "...", 0,
                            "name longer than " + std::to_string(package::kMaxNameLength) + " bytes");
            continue;
        }
        if (file.size >= kMaxCarriedSize) {
            problems->error(file.name, 0, std::to_string(file.size) + " bytes; a package holds less than 4 GB");
            continue;
        }
        auto inserted = seen.emplace(folded, file.name);
        if (!inserted.second)
            problems->error(file.name, 0,
                            "differs from " + quoted(inserted.first->second) +
                                " only in case; Windows would hold only one of them");
    }
    const size_t count = folder.files.size() + 2;
    if (count > package::kMaxFiles)
        problems->error(folder.path, 0,
                        std::to_string(count) + " files to carry (with setup.exe and setup.zip); a package carries at most " +
                            std::to_string(package::kMaxFiles));
}

void checkProgram(const std::string& path, const char* what, ProblemList* problems) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        problems->error(path, 0, std::string("not found (") + what +
                                     "; build the kit, or name another with --kit, --stub or --setup)");
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        problems->error(path, 0, std::string("is not a file (") + what + ")");
        return;
    }
    if (static_cast<uint64_t>(st.st_size) >= kMaxCarriedSize) {
        problems->error(path, 0, std::string("is 4 GB or more (") + what + ")");
        return;
    }
    char head[2] = {0, 0};
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        problems->error(path, 0, std::string("cannot be read (") + what + ")");
        return;
    }
    const size_t got = std::fread(head, 1, 2, file);
    std::fclose(file);
    if (got != 2 || head[0] != 'M' || head[1] != 'Z')
        problems->error(path, 0, std::string("is not a Windows program (") + what + ")");
}

}  // namespace

bool holdsReference(const std::string& text) {
    return std::count(text.begin(), text.end(), '%') >= 2;
}

std::vector<std::string> carriedNames(const ProductFolder& folder) {
    std::vector<std::string> names;
    for (const TopFile& file : folder.files)
        names.push_back(file.name);
    names.push_back(kSetupProgramName);
    names.push_back(kArchiveName);
    std::sort(names.begin(), names.end());
    return names;
}

void checkProject(const ProductFolder& folder, ProblemList* problems) {
    checkCarriedNames(folder, problems);
    if (!folder.hasPayload)
        problems->warning("payload/", 0, "no such folder; setup.zip will hold no entries");
    checkScript(folder, problems);
}

void checkKit(const Kit& kit, ProblemList* problems) {
    checkProgram(kit.stubPath, "the package stub, selfextract.exe", problems);
    checkProgram(kit.setupPath, "the setup engine, carried as setup.exe", problems);
}

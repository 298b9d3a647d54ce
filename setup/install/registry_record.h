#pragma once
// What the registry installers write, worked out from a record or from the
// product's settings without touching any registry: the roots a record may name,
// the keys of a file type and the keys of the product registration record.

#include <string>
#include <vector>

// The roots of registry records.
enum class RegistryRoot { None, ClassesRoot, CurrentUser, LocalMachine, Users };

// "HKCR", "HKCU", "HKLM" or "HKU", compared exactly (case included); anything
// else is None.
RegistryRoot registryRoot(const std::string& text);

// A key below HKEY_CLASSES_ROOT and the text of its default value.
struct FileTypeKey {
    std::string path;
    std::string value;
};

// The keys of a FILE_TYPES record (extension, type, description, open command,
// icon file, icon index), in the order they are written and logged: the
// extension (value: the type), the type (the description),
// type\shell\open\command (the command) and, when the icon file is not empty,
// type\DefaultIcon (the icon file, with a comma and the index when the index is
// not empty). Empty when the extension or the type name is empty: such a record
// would write into HKEY_CLASSES_ROOT itself.
std::vector<FileTypeKey> fileTypeKeys(const std::string& record);

// The product registration record under HKEY_LOCAL_MACHINE.
constexpr const char kProductRecordPrefix[] = "SOFTWARE\\Hevra Software\\Velmora\\UserData\\";
constexpr const char kInstallerVersion[] = "1.1";

// The three key paths of the record, upper first: prefix + company, then
// + "\" + product, then + "\" + version. The last holds the values.
std::vector<std::string> productRecordKeys(const std::string& company, const std::string& product,
                                           const std::string& version);

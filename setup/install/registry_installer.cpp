#include "registry_installer.h"

#include "error_lines.h"
#include "install_log.h"
#include "owners.h"
#include "record_fields.h"
#include "registry_data.h"
#include "registry_record.h"
#include "setup_model.h"

#include <vector>

namespace {

HKEY rootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
    case RegistryRoot::None: break;
    }
    return nullptr;
}

// RegCreateKeyExA with no class, non-volatile, all access.
bool createOrOpenKey(HKEY root, const std::string& path, RegKey* key) {
    char noClass[] = "";
    return RegCreateKeyExA(root, path.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           key->receive(), nullptr) == ERROR_SUCCESS;
}

// The folder of the running program, without a trailing backslash; "" when its
// path cannot be had whole.
std::string programFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string module(path, length);
    size_t last = module.rfind('\\');
    return last == std::string::npos ? std::string() : module.substr(0, last);
}

}  // namespace

RegistryInstaller::RegistryInstaller(InstallLog& installLog, ErrorLog& errors)
    : installLog_(installLog), errors_(errors) {}

void RegistryInstaller::install(const std::string& record) {
    std::vector<std::string> fields = splitRecord(record, 6);
    const std::string& recordType = fields[0];
    const std::string& rootText = fields[1];
    const std::string& path = fields[2];
    HKEY root = rootKey(registryRoot(rootText));
    if (!root) {
        errors_.add(errorline::kInvalidRoot, rootText);
        return;
    }
    if (recordType == "key") {
        if (createKey(root, path))
            installLog_.addRegistryKey(rootText + "," + path);
        return;
    }
    if (recordType == "value") {
        if (!setValue(root, path, fields[3], fields[4], fields[5]))
            errors_.add(errorline::kCannotCreateValue, errorline::valueDetail(path, fields[3], fields[4], fields[5]));
        return;
    }
    errors_.add(errorline::kInvalidRecordType, recordType);
}

bool RegistryInstaller::createKey(HKEY root, const std::string& path) {
    RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, key.receive()) == ERROR_SUCCESS)
        return false;
    if (createOrOpenKey(root, path, &key))
        return true;
    errors_.add(errorline::kCannotCreateKey, path);
    return false;
}

bool RegistryInstaller::setValue(HKEY root, const std::string& path, const std::string& name,
                                 const std::string& type, const std::string& data) {
    // A value record never creates its key.
    RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, key.receive()) != ERROR_SUCCESS)
        return false;
    // The default value and empty data cannot be set this way.
    if (name.empty() || type.empty() || data.empty())
        return true;
    RegistryType registry = registryType(type);
    if (registry == RegistryType::None)
        return false;
    std::vector<uint8_t> bytes = registryValueData(registry, data);
    BYTE nothing = 0;  // binary data of separators only: zero bytes, but a valid pointer
    return RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(registry),
                          bytes.empty() ? &nothing : bytes.data(), static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool RegistryInstaller::installFileType(const std::string& record) {
    std::vector<FileTypeKey> keys = fileTypeKeys(record);
    if (keys.empty())
        return false;
    // Only the extension is tested: a type of the same name is reused.
    RegKey existing;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keys.front().path.c_str(), 0, KEY_READ, existing.receive()) ==
        ERROR_SUCCESS)
        return false;
    for (const FileTypeKey& entry : keys) {
        RegKey key;
        if (!createOrOpenKey(HKEY_CLASSES_ROOT, entry.path, &key))
            return false;
        RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.value.c_str()),
                       static_cast<DWORD>(entry.value.size()));
        key.reset();
        installLog_.addRegistryKey("HKCR," + entry.path);
    }
    return true;
}

void RegistryInstaller::writeProductRecord(const SetupModel& model) {
    std::vector<std::string> keys =
        productRecordKeys(model.companyName(), model.productName(), model.productVersion());
    for (const std::string& path : keys)
        if (createKey(HKEY_LOCAL_MACHINE, path))
            installLog_.addRegistryKey("HKLM," + path);
    const std::string& versionKey = keys.back();
    setValue(HKEY_LOCAL_MACHINE, versionKey, "AppDir", "s", model.appDir());
    setValue(HKEY_LOCAL_MACHINE, versionKey, "AppShortcutFolder", "s", model.getVariable("AppSCFolder"));
    setValue(HKEY_LOCAL_MACHINE, versionKey, "InstallSource", "s", programFolder());
    setValue(HKEY_LOCAL_MACHINE, versionKey, "InstallerVersion", "s", kInstallerVersion);
}

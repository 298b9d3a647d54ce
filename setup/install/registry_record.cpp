#include "registry_record.h"

#include "record_fields.h"

RegistryRoot registryRoot(const std::string& text) {
    if (text == "HKCR")
        return RegistryRoot::ClassesRoot;
    if (text == "HKCU")
        return RegistryRoot::CurrentUser;
    if (text == "HKLM")
        return RegistryRoot::LocalMachine;
    if (text == "HKU")
        return RegistryRoot::Users;
    return RegistryRoot::None;
}

std::vector<FileTypeKey> fileTypeKeys(const std::string& record) {
    std::vector<std::string> fields = splitRecord(record, 6);
    const std::string& extension = fields[0];
    const std::string& type = fields[1];
    const std::string& iconFile = fields[4];
    const std::string& iconIndex = fields[5];
    // An empty name would open HKEY_CLASSES_ROOT itself, and the type's keys
    // would land directly below it (HKCR\shell\open\command).
    if (extension.empty() || type.empty())
        return {};
    std::vector<FileTypeKey> keys = {
        {extension, type},
        {type, fields[2]},
        {type + "\\shell\\open\\command", fields[3]},
    };
    if (!iconFile.empty())
        keys.push_back({type + "\\DefaultIcon", iconIndex.empty() ? iconFile : iconFile + "," + iconIndex});
    return keys;
}

std::vector<std::string> productRecordKeys(const std::string& company, const std::string& product,
                                           const std::string& version) {
    std::string companyKey = kProductRecordPrefix + company;
    std::string productKey = companyKey + "\\" + product;
    return {companyKey, productKey, productKey + "\\" + version};
}

#include "owners.h"
#include "system_info.h"

#include <cstdio>

bool readString(HKEY root, const std::string& path, std::string* text) {
    size_t split = path.rfind('\\');
    std::string keyPath = split == std::string::npos ? std::string() : path.substr(0, split);
    std::string valueName = split == std::string::npos ? path : path.substr(split + 1);

    RegKey key;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return false;
    // One byte more than the 260 the value may hold, so that a text stored
    // without its terminating zero still ends.
    BYTE data[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD size = MAX_PATH;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
        return false;

    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        *text = reinterpret_cast<const char*>(data);
        return true;
    case REG_DWORD: {
        int32_t number;
        memcpy(&number, data, sizeof number);
        *text = std::to_string(number);
        return true;
    }
    case REG_BINARY:
        *text = "Binary data";
        return false;
    default:
        *text = "Can't convert to string";
        return false;
    }
}

bool readSoftwareString(const std::string& path, std::string* text) {
    return readString(HKEY_LOCAL_MACHINE, "Software\\" + path, text);
}

#include "shared_files.h"

#include "owners.h"

namespace {

const char kSharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The list belongs to Windows: it is opened, never created.
bool openSharedDlls(REGSAM access, RegKey* key) {
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, access, key->receive()) == ERROR_SUCCESS;
}

// The count as stored; false for a missing value or data longer than 4 bytes.
// Shorter data fills the low bytes of a count that starts at 0.
bool readCount(HKEY key, const char* path, DWORD* count) {
    *count = 0;
    DWORD size = sizeof *count;
    return RegQueryValueExA(key, path, nullptr, nullptr, reinterpret_cast<BYTE*>(count), &size) == ERROR_SUCCESS;
}

void writeCount(HKEY key, const char* path, DWORD count) {
    RegSetValueExA(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
}

}  // namespace

int32_t incrementSharedCount(const char* path) {
    RegKey key;
    if (!openSharedDlls(KEY_SET_VALUE | KEY_QUERY_VALUE, &key))
        return -1;
    DWORD count;
    count = readCount(key.get(), path, &count) ? count + 1 : 1;
    writeCount(key.get(), path, count);
    return static_cast<int32_t>(count);
}

int32_t decrementSharedCount(const char* path) {
    RegKey key;
    if (!openSharedDlls(KEY_SET_VALUE | KEY_QUERY_VALUE, &key))
        return -1;
    DWORD stored;
    if (!readCount(key.get(), path, &stored))
        return -1;
    int32_t count = static_cast<int32_t>(stored);
    if (count > 0)
        writeCount(key.get(), path, static_cast<DWORD>(--count));
    return count;
}

void deleteSharedCount(const char* path) {
    RegKey key;
    if (openSharedDlls(KEY_SET_VALUE, &key))
        RegDeleteValueA(key.get(), path);
}

bool fileIsPresent(const char* path) {
    UniqueHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid();
}

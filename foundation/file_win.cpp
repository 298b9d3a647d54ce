#include "file.h"

#include <cstring>

#include <windows.h>

#include "path_walk.h"

namespace {

HANDLE asHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

File::~File() { close(); }

bool File::isOpen() const { return asHandle(handle_) != INVALID_HANDLE_VALUE; }

bool File::open(const char* path, int mode) {
    close();
    DWORD access;
    DWORD creation = OPEN_EXISTING;
    switch (mode) {
    case Read: access = GENERIC_READ; break;
    case ReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    case Write: access = GENERIC_WRITE; break;
    case CreateWrite: access = GENERIC_WRITE; creation = CREATE_ALWAYS; break;
    default: return false;
    }
    HANDLE h = CreateFileA(path ? path : "", access, FILE_SHARE_READ, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = reinterpret_cast<intptr_t>(h);
    return h != INVALID_HANDLE_VALUE;
}

bool File::create(const char* path) {
    close();
    HANDLE h = CreateFileA(path ? path : "", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = reinterpret_cast<intptr_t>(h);
    return h != INVALID_HANDLE_VALUE;
}

void File::close() {
    if (isOpen()) {
        CloseHandle(asHandle(handle_));
        handle_ = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
    }
}

bool File::size(uint32_t* size) {
    DWORD low = isOpen() ? GetFileSize(asHandle(handle_), nullptr) : INVALID_FILE_SIZE;
    bool ok = low != INVALID_FILE_SIZE;
    if (size)
        *size = ok ? low : 0;
    return ok;
}

bool File::read(void* buffer, uint32_t count, uint32_t* bytesRead) {
    DWORD got = 0;
    bool ok = isOpen() && ReadFile(asHandle(handle_), buffer, count, &got, nullptr) && got == count;
    if (bytesRead)
        *bytesRead = got;
    return ok;
}

bool File::write(const void* buffer, uint32_t count, uint32_t* bytesWritten) {
    DWORD done = 0;
    bool ok = isOpen() && WriteFile(asHandle(handle_), buffer, count, &done, nullptr) && done == count;
    if (bytesWritten)
        *bytesWritten = done;
    return ok;
}

bool File::seek(int32_t distance, int origin) {
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (!isOpen() || origin < 0 || origin > 2)
        return false;
    return SetFilePointer(asHandle(handle_), distance, nullptr, methods[origin]) != INVALID_SET_FILE_POINTER;
}

bool fileExists(const char* path) { return GetFileAttributesA(path ? path : "") != INVALID_FILE_ATTRIBUTES; }

bool deleteFile(const char* path) { return DeleteFileA(path ? path : "") != 0; }

bool removeDirectory(const char* path) { return RemoveDirectoryA(path ? path : "") == 1; }

bool createPath(const char* path) {
    if (!path)
        path = "";
    // The walk was made for a buffer of MAX_PATH characters; the ANSI folder
    // functions take no more anyway, so longer input is refused up front rather
    // than cut short.
    if (std::strlen(path) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return detail::walkCreatePath(path, [](const std::string& folder) {
        return CreateDirectoryA(folder.c_str(), nullptr) == 1;
    });
}

bool lastErrorIsAlreadyExists() { return GetLastError() == ERROR_ALREADY_EXISTS; }

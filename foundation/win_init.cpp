#include "shared_files.h"

#include "deferred_replace.h"
#include "file.h"
#include "owners.h"

#include <cstdint>

bool addWinInitRename(const char* source, const char* destination) {
    std::string line = winInitRenameLine(source, destination);
    if (line.size() > kWinInitLineMax)
        return false;

    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::string path = joinPath(windows, "WinInit.Ini");

    // Unshared for the whole edit: a second writer's open fails rather than
    // interleaving with this one.
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    DWORD oldSize = GetFileSize(file.get(), nullptr);
    if (oldSize == INVALID_FILE_SIZE)
        return false;
    uint64_t mappedSize = uint64_t{oldSize} + line.size() + kWinInitSlack;
    if (mappedSize > 0xFFFFFFFFu)
        return false;

    // The mapping grows the file with zeros: room for the line and, if the file
    // has no section yet, its header. What is not used is cut off again below,
    // and on every failure the file keeps its old size.
    size_t newSize = oldSize;
    bool inserted = false;
    {
        UniqueHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READWRITE, 0,
                                                static_cast<DWORD>(mappedSize), nullptr));
        MappedView view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0) : nullptr);
        if (view) {
            newSize = insertRenameLine(static_cast<char*>(view.get()), oldSize, line);
            inserted = true;
        }
    }  // the view and the mapping must be gone before the file can be cut
    SetFilePointer(file.get(), static_cast<LONG>(newSize), nullptr, FILE_BEGIN);
    return SetEndOfFile(file.get()) && inserted;
}

#include "deferred_replace.h"

#include <cstdio>
#include <cstring>

std::string backupNameFor(const std::string& target, const std::function<bool(const std::string&)>& exists) {
    // Only the file name may change: a backup in another folder would be a write
    // outside the product's folder.
    size_t nameStart = target.find_last_of("\\/");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dll = target.rfind("dll");
    bool replaceDll = dll != std::string::npos && dll >= nameStart;

    std::string name;
    for (int number = 1; number <= 998; ++number) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%03d", number);
        name = replaceDll ? target.substr(0, dll) + digits + target.substr(dll + 3) : target + "." + digits;
        if (!exists(name))
            break;
    }
    return name;
}

std::string winInitRenameLine(const char* source, const char* destination) {
    std::string line = destination ? destination : "NUL";
    line += '=';
    line += source ? source : "";
    line += "\r\n";
    return line;
}

size_t insertRenameLine(char* view, size_t oldSize, const std::string& line) {
    // Up to the first zero byte, as a C string search would see it.
    size_t textEnd = 0;
    while (textEnd < oldSize && view[textEnd] != '\0')
        ++textEnd;
    std::string text(view, textEnd);
    size_t header = text.find(kRenameHeader);

    size_t insertAt;
    size_t size = oldSize;
    if (header != std::string::npos) {
        // The start of the line after the header.
        insertAt = text.find('\n', header) + 1;
        std::memmove(view + insertAt + line.size(), view + insertAt, size - insertAt);
    } else {
        if (size > 0 && view[size - 1] != '\n') {
            std::memcpy(view + size, "\r\n", 2);
            size += 2;
        }
        std::memcpy(view + size, kRenameHeader, kRenameHeaderSize);
        size += kRenameHeaderSize;
        insertAt = size;
    }
    std::memcpy(view + insertAt, line.data(), line.size());
    return size + line.size();
}

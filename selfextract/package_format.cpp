#include "package_format.h"

#include <cctype>
#include <climits>
#include <cstring>

#include <zlib.h>

namespace package {

uint32_t updateCrc(uint32_t crc, const void* data, size_t size) {
    // zlib keeps the ZIP convention: it inverts the register on the way in and on
    // the way out. Inverting around its call gives the plain register that the
    // package checksum uses, at zlib's speed.
    uLong reg = ~crc & 0xFFFFFFFFu;
    const Bytef* bytes = static_cast<const Bytef*>(data);
    while (size > 0) {
        uInt piece = size > UINT_MAX ? UINT_MAX : static_cast<uInt>(size);
        reg = crc32(reg, bytes, piece);
        bytes += piece;
        size -= piece;
    }
    return ~static_cast<uint32_t>(reg);
}

namespace {

bool equalsIgnoringCase(const std::string& text, size_t length, const char* word) {
    if (length != std::strlen(word))
        return false;
    for (size_t i = 0; i < length; ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != word[i])
            return false;
    return true;
}

// CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 and CLOCK$ name devices in
// every folder, also with an extension ("nul.txt") and trailing blanks.
bool isDeviceName(const std::string& name) {
    size_t stem = name.find('.');
    if (stem == std::string::npos)
        stem = name.size();
    while (stem > 0 && name[stem - 1] == ' ')
        --stem;
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
    for (const char* device : devices)
        if (equalsIgnoringCase(name, stem, device))
            return true;
    if (stem == 4 && name[3] >= '1' && name[3] <= '9')
        return equalsIgnoringCase(name, 3, "COM") || equalsIgnoringCase(name, 3, "LPT");
    return false;
}

}  // namespace

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name)
        if (c < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return false;
    return !isDeviceName(name);
}

}  // namespace package

#include "registry_data.h"

RegistryType registryType(const std::string& typeField) {
    if (typeField.empty())
        return RegistryType::None;
    switch (typeField[0]) {
    case 's': case 'S': return RegistryType::String;
    case 'd': case 'D': return RegistryType::Dword;
    case 'b': case 'B': return RegistryType::Binary;
    default: return RegistryType::None;
    }
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

uint32_t parseHexNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // "0x" counts as a prefix only when a hex digit follows it; otherwise the
    // number is the lone 0.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigit(text[i + 2]) >= 0)
        i += 2;
    uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && hexDigit(text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<uint64_t>(hexDigit(text[i]));
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    if (overflow)
        return 0xFFFFFFFFu;
    uint32_t result = static_cast<uint32_t>(value);
    return negative ? static_cast<uint32_t>(0u - result) : result;
}

std::vector<uint8_t> parseBinaryData(const std::string& data) {
    std::vector<uint8_t> bytes;
    size_t i = 0;
    while (i < data.size()) {
        while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
            ++i;
        if (i == data.size())
            break;
        size_t end = i;
        while (end < data.size() && data[end] != ' ' && data[end] != '\t' && data[end] != '\r' && data[end] != '\n')
            ++end;
        bytes.push_back(static_cast<uint8_t>(parseHexNumber(data.substr(i, end - i)) & 0xFF));
        i = end;
    }
    return bytes;
}

std::vector<uint8_t> registryValueData(RegistryType type, const std::string& data) {
    switch (type) {
    case RegistryType::String: {
        std::vector<uint8_t> bytes(data.begin(), data.end());
        bytes.push_back(0);
        return bytes;
    }
    case RegistryType::Dword: {
        uint32_t number = parseHexNumber(data);
        return {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
                static_cast<uint8_t>(number >> 24)};
    }
    case RegistryType::Binary:
        return parseBinaryData(data);
    case RegistryType::None:
        break;
    }
    return {};
}

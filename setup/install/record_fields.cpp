#include "record_fields.h"

#include <cctype>
#include <climits>

std::vector<std::string> splitRecord(const std::string& record, size_t fieldCount) {
    std::vector<std::string> fields;
    fields.reserve(fieldCount);
    size_t start = 0;
    while (fields.size() < fieldCount && start <= record.size()) {
        size_t comma = record.find(',', start);
        if (comma == std::string::npos) {
            fields.push_back(record.substr(start));
            start = record.size() + 1;
        } else {
            fields.push_back(record.substr(start, comma - start));
            start = comma + 1;
        }
    }
    fields.resize(fieldCount);
    return fields;
}

size_t fieldCount(const std::string& record) {
    size_t count = 1;
    for (char c : record)
        count += c == ',';
    return count;
}

int parseDecimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;  // saturate, keep scanning
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

#include "font_description.h"

#include <algorithm>
#include <limits>

namespace {

// atol without its undefined overflow: saturates at the 32-bit limits.
int32_t readNumber(const std::string& text, size_t at) {
    while (at < text.size() &&
           (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\v' || text[at] == '\f' ||
            text[at] == '\r'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    int64_t value = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > limit)
            value = limit;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

FontSpec parseFontSpec(const std::string& text) {
    FontSpec description;
    size_t comma = text.find(',');
    if (comma == std::string::npos)
        return description;
    description.faceName = text.substr(0, std::min(comma, FontSpec::kMaxFaceName));

    // The first five commas; field n (1 = height ... 5 = strike-out) starts after
    // comma n.
    size_t commas[5] = {comma};
    size_t count = 1;
    while (count < 5 && (commas[count] = text.find(',', commas[count - 1] + 1)) != std::string::npos)
        ++count;

    auto field = [&](size_t n) { return readNumber(text, commas[n - 1] + 1); };
    if (count < 2)
        return description;
    description.height = field(1);
    if (count < 3)
        return description;
    description.weight = field(2);
    if (count < 4)
        return description;
    description.italic = static_cast<uint8_t>(field(3));
    if (count < 5)
        return description;
    description.underline = static_cast<uint8_t>(field(4));
    // The strike-out field needs no comma after it.
    description.strikeOut = static_cast<uint8_t>(field(5));
    return description;
}

// Expansion of arbitrary text over an arbitrary variable table must end quickly
// and without a fault, whatever the values refer to. The input is split at its
// first NUL byte: before it, one variable per line as name=value; after it, the
// text to expand. Without a NUL byte the whole input is both.
#include "font_description.h"
#include "language_list.h"
#include "variable_table.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\0');
    std::string definitions = input.substr(0, split);
    std::string text = split == std::string::npos ? input : input.substr(split + 1);

    VariableTable table;
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= definitions.size()) {
        size_t end = definitions.find('\n', start);
        if (end == std::string::npos)
            end = definitions.size();
        std::string line = definitions.substr(start, end - start);
        size_t equals = line.find('=');
        if (equals != std::string::npos) {
            names.push_back(line.substr(0, equals));
            table.setVariable(names.back(), line.substr(equals + 1));
        }
        start = end + 1;
    }

    std::string expanded = text;
    table.expand(expanded);
    if (text.find('%') == std::string::npos && expanded != text)
        __builtin_trap();  // text without references is left alone
    // A few names are enough: each read may expand to the substitution limit.
    for (size_t i = 0; i < names.size() && i < 4; ++i) {
        table.getVariable(names[i]);
        table.isTrue(names[i]);
    }

    parseFontSpec(expanded);
    std::string language;
    for (int i = -1; i < 4; ++i)
        languageListItem(expanded, i, &language);
    return 0;
}

// Every query on arbitrary bytes must end without a fault. The input is split at
// its first two NUL bytes into section name, key name and document text.
#include "ini_document.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t first = input.find('\0');
    size_t second = first == std::string::npos ? std::string::npos : input.find('\0', first + 1);
    std::string section = "S", key = "K", text = input;
    if (second != std::string::npos) {
        section = input.substr(0, first);
        key = input.substr(first + 1, second - first - 1);
        text = input.substr(second + 1);
    }
    IniDocument doc;
    doc.setText(text);
    doc.getString(section, key, "default");
    doc.getBool(section, key, true);
    int count = doc.recordCount(section);
    std::string line;
    for (int i = -1; i <= count; ++i) {
        bool found = doc.record(section, i, &line);
        if (found != (i >= 0 && i < count))
            __builtin_trap();  // record and recordCount must agree
    }
    return 0;
}

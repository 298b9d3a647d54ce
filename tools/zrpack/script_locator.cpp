#include "script_locator.h"

#include <algorithm>

ScriptLocator::ScriptLocator(const std::string& text) {
    document_.setText(text);
    lineStarts_.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            lineStarts_.push_back(i + 1);
}

int ScriptLocator::lineOf(size_t offset) const {
    auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<int>(after - lineStarts_.begin());
}

int ScriptLocator::sectionLine(const std::string& section) const {
    return lineAt(document_.sectionOffset(section));
}

int ScriptLocator::keyLine(const std::string& section, const std::string& key) const {
    return lineAt(document_.keyOffset(section, key));
}

std::vector<int> ScriptLocator::recordLines(const std::string& section) const {
    std::vector<int> lines;
    for (size_t at; (at = document_.recordOffset(section, static_cast<int>(lines.size()))) != std::string::npos;)
        lines.push_back(lineOf(at));
    return lines;
}

BareLineFeeds findBareLineFeeds(const std::string& text) {
    BareLineFeeds found;
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n')
            continue;
        if (i == 0 || text[i - 1] != '\r') {
            if (found.count++ == 0)
                found.firstLine = line;
        }
        ++line;
    }
    return found;
}

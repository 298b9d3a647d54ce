#include "script_locator.h"

#include <algorithm>

ScriptLocator::ScriptLocator(const std::string& text) : text_(text) {
    lineStarts_.push_back(0);
    for (size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n')
            lineStarts_.push_back(i + 1);
}

int ScriptLocator::lineOf(size_t offset) const {
    auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<int>(after - lineStarts_.begin());
}

size_t ScriptLocator::sectionStart(const std::string& section) const {
    size_t at = text_.find("[" + section + "]");
    return at == npos ? npos : at + section.size();
}

int ScriptLocator::sectionLine(const std::string& section) const {
    size_t at = text_.find("[" + section + "]");
    return at == npos ? 0 : lineOf(at);
}

int ScriptLocator::keyLine(const std::string& section, const std::string& key) const {
    size_t pos = sectionStart(section);
    if (pos == npos)
        return 0;
    size_t end = text_.find('[', pos);
    if (end == npos)
        end = text_.size();
    size_t at = text_.find(key + "=", pos);
    return at == npos || at >= end ? 0 : lineOf(at);
}

bool ScriptLocator::isBlankLine(size_t start) const {
    size_t end = text_.find("\r\n", start);
    if (end == npos)
        return true;
    for (size_t i = start; i < end; ++i) {
        switch (text_[i]) {
        case ' ': case '\t': case '\n': case '\v': case '\f': case '\r':
            break;
        default:
            return false;
        }
    }
    return true;
}

size_t ScriptLocator::nextRecordLine(size_t p) const {
    for (;;) {
        size_t lineEnd = text_.find("\r\n", p);
        if (lineEnd == npos || lineEnd + 2 >= text_.size())
            return npos;
        p = lineEnd + 2;
        if (!isBlankLine(p))
            return p;
    }
}

std::vector<int> ScriptLocator::recordLines(const std::string& section) const {
    std::vector<int> lines;
    size_t p = sectionStart(section);
    if (p == npos)
        return lines;
    while ((p = nextRecordLine(p)) != npos && text_[p] != '[')
        lines.push_back(lineOf(p));
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

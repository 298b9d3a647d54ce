#include "ini_document.h"

#include "errors.h"
#include "file.h"

#include <cstring>

void IniDocument::load(const std::string& folder, const std::string& name) {
    File file;
    if (!file.open(folder.c_str(), name.c_str(), File::Read))
        throw FileException(name, FileException::CannotOpen);
    uint32_t size = 0;
    file.size(&size);
    // A read that comes short leaves the rest of the text as zero bytes.
    std::string text(size, '\0');
    if (size > 0)
        file.read(&text[0], size, nullptr);
    text_ = std::move(text);
}

size_t IniDocument::sectionStart(const std::string& section) const {
    size_t at = text_.find("[" + section + "]");
    if (at == npos)
        return npos;
    return at + section.size();
}

size_t IniDocument::sectionOffset(const std::string& section) const {
    return text_.find("[" + section + "]");
}

size_t IniDocument::keyOffset(const std::string& section, const std::string& key) const {
    size_t pos = sectionStart(section);
    if (pos == npos)
        return npos;
    size_t end = text_.find('[', pos);
    if (end == npos)
        end = text_.size();
    size_t at = text_.find(key + "=", pos);
    return at == npos || at >= end ? npos : at;
}

std::string IniDocument::getString(const std::string& section, const std::string& key,
                                   const std::string& fallback) const {
    size_t at = keyOffset(section, key);
    if (at == npos)
        return fallback;
    size_t end = text_.find('[', sectionStart(section));
    if (end == npos)
        end = text_.size();
    size_t valueStart = at + key.size() + 1;
    size_t valueEnd = text_.find('\r', valueStart);
    if (valueEnd == npos)
        valueEnd = end;
    // A value may run past a "[" that ended the section for the key search (the
    // section end only bounds the key); a value without CR stops at that end.
    if (valueEnd < valueStart)
        valueEnd = valueStart;
    return text_.substr(valueStart, valueEnd - valueStart);
}

bool IniDocument::getBool(const std::string& section, const std::string& key, bool fallback) const {
    std::string value = getString(section, key, "");
    if (value.empty())
        return fallback;
    auto equalsIgnoringCase = [&value](const char* word) {
        size_t n = std::strlen(word);
        if (value.size() != n)
            return false;
        for (size_t i = 0; i < n; ++i) {
            char c = value[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != word[i])
                return false;
        }
        return true;
    };
    return equalsIgnoringCase("yes") || equalsIgnoringCase("true") || value[0] == '1';
}

bool IniDocument::isBlankLine(size_t start) const {
    size_t end = text_.find("\r\n", start);
    if (end == npos)
        return true;  // a line without CR LF after it is never a record
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

size_t IniDocument::nextRecordLine(size_t p) const {
    for (;;) {
        size_t lineEnd = text_.find("\r\n", p);
        if (lineEnd == npos || lineEnd + 2 >= text_.size())
            return npos;
        p = lineEnd + 2;
        if (!isBlankLine(p))
            return p;
    }
}

int IniDocument::recordCount(const std::string& section) const {
    size_t p = sectionStart(section);
    if (p == npos)
        return 0;
    int count = 0;
    while ((p = nextRecordLine(p)) != npos && text_[p] != '[')
        ++count;
    return count;
}

size_t IniDocument::recordOffset(const std::string& section, int index) const {
    size_t p = sectionStart(section);
    if (p == npos || index < 0)
        return npos;
    for (int n = 0;; ++n) {
        p = nextRecordLine(p);
        if (p == npos || text_[p] == '[')
            return npos;
        if (n == index)
            return p;
    }
}

bool IniDocument::record(const std::string& section, int index, std::string* line) const {
    line->clear();
    size_t p = recordOffset(section, index);
    if (p == npos)
        return false;
    size_t end = text_.find("\r\n", p);
    *line = text_.substr(p, (end == npos ? text_.size() : end) - p);
    return true;
}

#pragma once
// A whole INI-style text file held in memory, answering two kinds of question:
// the value of a key in a section, and the plain lines ("records") of a section.
//
// Every question is a fresh search over the raw bytes, and the rules are those of
// the searches, not of a parser; setup scripts, language files and install logs in
// the field rely on them:
//   - "[" + section + "]" is found anywhere in the text; the first occurrence wins.
//   - key + "=" is a plain substring search from the section header on, so the
//     first occurrence wins and it need not stand at a line start. The section
//     ends, for key lookups, at the next "[" anywhere (also one inside a value).
//   - A value runs to the next CR (or to the section end). Nothing is trimmed.
//   - Records are the non-blank lines after the header, each ended by CR LF, up to
//     a line that begins with "[". A last line without CR LF is never a record.
// No comments, no quoting, no escapes; names are compared byte for byte.

#include <string>

class IniDocument {
public:
    IniDocument() = default;

    // Reads folder\name whole. A file that cannot be opened throws
    // FileException(name, CannotOpen) naming the bare name, not the path.
    void load(const std::string& folder, const std::string& name);

    // Replaces the text, exactly as given.
    void setText(std::string text) { text_ = std::move(text); }
    const std::string& text() const { return text_; }

    // The key's value, or fallback when the section or the key is missing.
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& fallback) const;

    // "yes" or "true" in any case (the whole value), or a value that begins with
    // "1", is true; any other value is false; a missing or empty value is fallback.
    bool getBool(const std::string& section, const std::string& key, bool fallback) const;

    int recordCount(const std::string& section) const;

    // Record number index (from 0) of the section, without its CR LF. false, with
    // an empty line, when there is no such record.
    bool record(const std::string& section, int index, std::string* line) const;

    // Where the lookups above find things, as offsets into text(), or npos: the
    // section header's "[", the key's first character, the record's first
    // character. Tools that report on a script point at its lines with them.
    size_t sectionOffset(const std::string& section) const;
    size_t keyOffset(const std::string& section, const std::string& key) const;
    size_t recordOffset(const std::string& section, int index) const;

private:
    static constexpr size_t npos = std::string::npos;

    // Offset inside the header (its start plus the length of the name), from
    // which every later search of the section starts; npos when there is none.
    size_t sectionStart(const std::string& section) const;
    // Start of the line after the one p is in, skipping blank lines; npos when
    // there is none.
    size_t nextRecordLine(size_t p) const;
    bool isBlankLine(size_t start) const;

    std::string text_;
};

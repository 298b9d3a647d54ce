#pragma once
// Line numbers for the setup script's sections, keys and records: the places
// IniDocument finds, so a message can point at the line setup would read.

#include <cstddef>
#include <string>
#include <vector>

#include "ini_document.h"

class ScriptLocator {
public:
    explicit ScriptLocator(const std::string& text);

    // Line numbers count from 1; 0 means the place does not exist.
    int sectionLine(const std::string& section) const;
    int keyLine(const std::string& section, const std::string& key) const;
    // The line of each record, in the order of IniDocument::record.
    std::vector<int> recordLines(const std::string& section) const;

    // The line that holds byte offset.
    int lineOf(size_t offset) const;

private:
    int lineAt(size_t offset) const { return offset == std::string::npos ? 0 : lineOf(offset); }

    IniDocument document_;
    std::vector<size_t> lineStarts_;
};

// The first line that ends in LF without CR before it, and how many such lines
// there are (0 and 0 when every line ends in CR LF). Setup finds records and
// ends values only at CR, so a script or language file saved with LF alone
// reads as one long line.
struct BareLineFeeds {
    int firstLine = 0;
    int count = 0;
};
BareLineFeeds findBareLineFeeds(const std::string& text);

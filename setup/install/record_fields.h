#pragma once
// Splitting of the record lines of the setup script's record sections. A record
// is split at every comma: there is no quoting and no trimming, so no field can
// hold a comma and quote characters stay part of the text.

#include <string>
#include <vector>

// The record's fields, always exactly fieldCount of them: missing fields at the
// end are empty, fields after the last wanted one are dropped.
std::vector<std::string> splitRecord(const std::string& record, size_t fieldCount);

// How many fields the record has (its commas plus one).
size_t fieldCount(const std::string& record);

// A decimal number with the C library's atoi rules: leading blanks, an optional
// sign, the digits up to the first other character; 0 when there are none.
// Values beyond the range of int are clamped.
int parseDecimal(const std::string& text);

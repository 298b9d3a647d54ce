#pragma once
// The list of offered languages, as the setup script's SetupLanguages holds it:
// names separated by commas, each a language file's name without ".dat".

#include <string>

// The longest language name kept; longer items are cut to it (the name is also
// the stem of a file name, so such an item never names an existing file anyway).
constexpr size_t kMaxLanguageName = 1023;

// Item number index (from 0) of list into *name, true when it exists. Items are
// not trimmed. A comma that ends the list starts no item ("English," has one); a
// leading comma does (",English" has an empty first item), and an empty list has
// one, empty, item. A missing item (any negative index too) gives false and
// "English".
bool languageListItem(const std::string& list, int index, std::string* name);

#include "language_list.h"

#include <algorithm>

bool languageListItem(const std::string& list, int index, std::string* name) {
    size_t start = 0;
    for (int item = 0; index >= 0 && item < index; ++item) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos || comma + 1 == list.size()) {
            index = -1;
            break;
        }
        start = comma + 1;
    }
    if (index < 0) {
        *name = "English";
        return false;
    }
    size_t end = list.find(',', start);
    if (end == std::string::npos)
        end = list.size();
    *name = list.substr(start, std::min(end - start, kMaxLanguageName));
    return true;
}

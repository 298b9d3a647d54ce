#include "error_lines.h"

namespace errorline {

std::string valueDetail(const std::string& keyPath, const std::string& name, const std::string& type,
                        const std::string& data) {
    return "key='" + keyPath + "' value name='" + name + "' value type='" + type + "' value='" + data;
}

}  // namespace errorline

#include "variable_table.h"

#include <string_view>
#include <vector>

namespace {

// Text still to be scanned. Substituted values are pushed on top of what is left
// of the text they replaced a reference in, so the stack, read from the top down,
// is exactly the rest of the text as an in-place expansion would see it. depth
// counts the substitutions a segment is nested in; it grows towards the top.
struct Segment {
    std::string_view text;
    int depth;
};

}  // namespace

const std::string* VariableTable::rawValue(const std::string& name) const {
    auto found = values_.find(name);
    return found == values_.end() ? nullptr : &found->second;
}

std::string VariableTable::getVariable(const std::string& name) const {
    const std::string* value = rawValue(name);
    if (!value)
        return std::string();
    std::string text = *value;
    expand(text);
    return text;
}

void VariableTable::setVariable(const std::string& name, const std::string& value) { values_[name] = value; }

bool VariableTable::isTrue(const std::string& name) const {
    std::string value = getVariable(name);
    return !value.empty() && (value[0] == 'Y' || value[0] == 'y' || value[0] == '1');
}

void VariableTable::expand(std::string& text) const {
    if (text.find('%') == std::string::npos)
        return;
    const std::string source = std::move(text);  // the bottom segment views it
    std::string out;
    std::vector<Segment> pending{{source, 0}};
    std::string name;
    int substitutions = 0;

    for (;;) {
        // Everything before the next "%" is final.
        while (!pending.empty()) {
            Segment& top = pending.back();
            size_t at = top.text.find('%');
            if (at == std::string_view::npos) {
                out.append(top.text);
                pending.pop_back();
                continue;
            }
            out.append(top.text.substr(0, at));
            top.text.remove_prefix(at);
            break;
        }
        if (pending.empty())
            break;

        // The reference opens in the top segment; its closing "%" may lie in the
        // text below (a value "50% Off" pairs its sign with the next reference).
        const int depth = pending.back().depth;
        name.clear();
        bool closed = false;
        for (size_t i = pending.size(); i-- > 0;) {
            std::string_view segment = pending[i].text;
            size_t from = i + 1 == pending.size() ? 1 : 0;
            size_t close = segment.find('%', from);
            if (close == std::string_view::npos) {
                name.append(segment.substr(from));
                continue;
            }
            name.append(segment.substr(from, close - from));
            pending[i].text.remove_prefix(close + 1);
            pending.resize(i + 1);
            closed = true;
            break;
        }
        if (!closed) {
            // A "%" without a partner stays, and so does the rest.
            for (size_t i = pending.size(); i-- > 0;)
                out.append(pending[i].text);
            break;
        }

        const std::string* value = nullptr;
        if (depth < kMaxNesting && substitutions < kMaxSubstitutions)
            value = rawValue(name);
        if (value) {
            ++substitutions;
            if (!value->empty())
                pending.push_back({*value, depth + 1});
        }
    }
    text = std::move(out);
}

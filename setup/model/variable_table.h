#pragma once
// The setup engine's variables: named texts whose values may refer to other
// variables as "%Name%". Values are stored raw and expanded whenever they are
// read, so a text that mentions %AppDir% follows every later change of AppDir.

#include <map>
#include <string>

class VariableTable {
public:
    // Limits that make every expansion end, also for values that refer to
    // themselves: a reference met inside substituted text nested this deep, or
    // after this many substitutions in one expansion, vanishes like an unknown
    // name. No sound script comes near either.
    static constexpr int kMaxNesting = 16;
    static constexpr int kMaxSubstitutions = 10000;

    // The value with every reference expanded; the empty text for a name that
    // was never set. Never changes the table.
    std::string getVariable(const std::string& name) const;

    // Stores value raw, replacing any earlier value. Names are compared byte for
    // byte.
    void setVariable(const std::string& name, const std::string& value);

    // Expands the references in text, in place. A reference is "%", a name and
    // "%"; it is replaced by the name's raw value (nothing for an unknown name)
    // and scanning goes on at the start of the replacement, so the replacement
    // and the text after it are scanned together: "%%" vanishes, a lone "%"
    // stays, and "5% or 10%" becomes "5".
    void expand(std::string& text) const;

    // True when the expanded value begins with "Y", "y" or "1".
    bool isTrue(const std::string& name) const;

    // The raw value, or nullptr when the name was never set.
    const std::string* rawValue(const std::string& name) const;

private:
    std::map<std::string, std::string> values_;
};

#pragma once
// The texts of error.log lines. An ErrorLog line is a message immediately
// followed by a detail, with no separator; several messages end in a colon for
// that reason. Scripts in the field are diagnosed by these exact texts.

#include <string>

namespace errorline {

// Registry records.
constexpr const char kInvalidRoot[] = "Invalid major key:";
constexpr const char kCannotCreateKey[] = "Cannot create key:";
constexpr const char kCannotCreateValue[] = "Cannot create value:";
constexpr const char kInvalidRecordType[] = "Invalid record type(need key or value):";

// The detail of a "Cannot create value:" line: every field as the record had it
// after expansion.
std::string valueDetail(const std::string& keyPath, const std::string& name, const std::string& type,
                        const std::string& data);

// Shortcut records.
constexpr const char kEmptyLinkPath[] = "bad format Shortcut record:link path is empty";
constexpr const char kCannotMakeShortcutFolder[] = "can't make dir for shortcut:";
constexpr const char kUnknownLinkType[] = "Unknown link type:";
constexpr const char kNoShellLink[] = "can't get IShellLink interface";
constexpr const char kNoPersistFile[] = "can't get IPersistFile interface";
constexpr const char kCannotSaveShortcut[] = "can't save shortcut:";

}  // namespace errorline

#pragma once
// The WinInit.ini edits, as a table shared by the test of the pure insertion
// (every platform) and the test of addWinInitRename on the Windows folder.

#include <string>
#include <utility>
#include <vector>

struct WinInitCase {
    const char* comment;
    bool fileExists;
    std::string before;
    // (source, destination) in the order they are added; a null destination
    // asks for a deletion.
    std::vector<std::pair<const char*, const char*>> renames;
    std::string after;
};

// A WinInit.ini of exactly 100 bytes with other sections and no [Rename].
inline std::string hundredByteWinInit() {
    std::string text = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nwoafont=dosapp.fon\r\n[settings]\r\nkey=";
    text += std::string(100 - 2 - text.size(), 'v');
    text += "\r\n";
    return text;
}

inline std::vector<WinInitCase> winInitCases() {
    const std::string line = "C:\\App\\a.dll=C:\\Temp\\x.tmp\r\n";
    const std::pair<const char*, const char*> rename{"C:\\Temp\\x.tmp", "C:\\App\\a.dll"};
    return {
        {"no file yet: created with the section", false, "", {rename}, "[Rename]\r\n" + line},
        {"an empty file", true, "", {rename}, "[Rename]\r\n" + line},
        {"100 bytes without the section: appended, the file ends after the line", true, hundredByteWinInit(),
         {rename}, hundredByteWinInit() + "[Rename]\r\n" + line},
        {"a section with entries: the new line stands right below the header", true,
         "[Rename]\r\nC:\\old.dll=C:\\t1.tmp\r\n", {rename}, "[Rename]\r\n" + line + "C:\\old.dll=C:\\t1.tmp\r\n"},
        {"two insertions: the later one stands above the earlier one", true, "[Rename]\r\n",
         {{"C:\\t1.tmp", "C:\\first.dll"}, {"C:\\t2.tmp", "C:\\second.dll"}},
         "[Rename]\r\nC:\\second.dll=C:\\t2.tmp\r\nC:\\first.dll=C:\\t1.tmp\r\n"},
        {"no destination: a deletion", false, "", {{"C:\\App\\old.dll", nullptr}},
         "[Rename]\r\nNUL=C:\\App\\old.dll\r\n"},
        {"the rest of the file is kept byte for byte", true,
         "[boot]\r\na=1\r\n[Rename]\r\nx=y\r\n[Other]\r\nk=v\r\n", {rename},
         "[boot]\r\na=1\r\n[Rename]\r\n" + line + "x=y\r\n[Other]\r\nk=v\r\n"},
        {"[rename] in lower case is another section", true, "[rename]\r\nx=y\r\n", {rename},
         "[rename]\r\nx=y\r\n[Rename]\r\n" + line},
        {"a header without its line end does not count", true, "a=1\r\n[Rename]", {rename},
         "a=1\r\n[Rename]\r\n[Rename]\r\n" + line},
        {"a last line without line end is ended before the header", true, "[boot]\r\nshell=x", {rename},
         "[boot]\r\nshell=x\r\n[Rename]\r\n" + line},
        {"the first of two sections gets the line", true, "[Rename]\r\n[Rename]\r\nx=y\r\n", {rename},
         "[Rename]\r\n" + line + "[Rename]\r\nx=y\r\n"},
        {"the search ends at a zero byte", true, std::string("a\0[Rename]\r\n", 12), {rename},
         std::string("a\0[Rename]\r\n", 12) + "[Rename]\r\n" + line},
    };
}

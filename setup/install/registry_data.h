#pragma once
// Conversion of the value records of the setup script into registry data. The
// numbers use the rules of the C library's strtoul in base 16 as they stand on
// 32-bit Windows, whatever platform this is built for.

#include <cstdint>
#include <string>
#include <vector>

// Registry value types by their Win32 numbers.
enum class RegistryType : uint32_t {
    None = 0,    // the type field names no type: nothing is written
    String = 1,  // REG_SZ
    Binary = 3,  // REG_BINARY
    Dword = 4,   // REG_DWORD
};

// Only the first character of the type field counts, in either case:
// s String, d Dword, b Binary; anything else (or nothing) None.
RegistryType registryType(const std::string& typeField);

// strtoul(text, 16) of a 32-bit unsigned long: leading blanks, an optional sign,
// an optional 0x, hex digits up to the first other character; 0 without digits;
// 0xFFFFFFFF when the digits do not fit in 32 bits; a minus sign negates modulo 2^32.
uint32_t parseHexNumber(const std::string& text);

// Binary data: tokens separated by blanks, tabs, CR and LF, each read with
// parseHexNumber and kept as its low 8 bits, in order. A token of any length is
// read whole (a long one overflows like any other number).
std::vector<uint8_t> parseBinaryData(const std::string& data);

// The bytes handed to the registry for a value of the given type: the text with
// its terminating zero, the four bytes of the number (little-endian, as Windows
// stores a DWORD), or the binary bytes. Empty for RegistryType::None.
std::vector<uint8_t> registryValueData(RegistryType type, const std::string& data);

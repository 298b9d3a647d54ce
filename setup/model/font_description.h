#pragma once
// A font description as the setup script writes it ("Face,height,weight,italic,
// underline,strikeout"), read into the fields of a Win32 LOGFONTA. Portable: the
// wizard copies it into a LOGFONTA.

#include <cstdint>
#include <string>

struct FontSpec {
    // A LOGFONTA face name holds 31 characters and its terminator.
    static constexpr size_t kMaxFaceName = 31;

    int32_t height = -12;
    int32_t weight = 400;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 1;  // DEFAULT_CHARSET
    uint8_t quality = 2;  // PROOF_QUALITY
    std::string faceName = "Arial";
};

// Text without a comma (empty, or a bare face name such as "Tahoma") leaves every
// default. Otherwise the face is the text before the first comma, cut to 31
// characters, and height, weight, italic and underline follow, each taken only when
// another comma follows it; strike-out, the sixth field, is taken whenever a fifth
// comma exists. The first field without its comma ends the parse. Numbers are read
// as atol does (leading blanks, a sign, digits up to the first other character, 0
// without digits), kept within 32 bits; the last three fields keep their low byte,
// so 255 means "on".
FontSpec parseFontSpec(const std::string& text);

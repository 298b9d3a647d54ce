#include "registry_data.h"

#include <gtest/gtest.h>

TEST(RegistryType, FirstCharacterInEitherCase) {
    EXPECT_EQ(RegistryType::String, registryType("String"));
    EXPECT_EQ(RegistryType::String, registryType("s"));
    EXPECT_EQ(RegistryType::Dword, registryType("dword"));
    EXPECT_EQ(RegistryType::Binary, registryType("B"));
    EXPECT_EQ(RegistryType::None, registryType("x"));
    EXPECT_EQ(RegistryType::None, registryType(""));
}

TEST(ParseHexNumber, BehavesLikeStrtoulBase16On32BitWindows) {
    struct Row {
        const char* text;
        uint32_t expected;
    } rows[] = {
        {"10", 16},
        {"0x10", 16},
        {"1F", 31},
        {"zz", 0},                  // no digits
        {"  ff", 255},              // leading blanks
        {"12zz", 0x12},             // stops at the first other character
        {"0x", 0},                  // a prefix without digits is the number 0
        {"FFFFFFFF", 0xFFFFFFFFu},
        {"100000000", 0xFFFFFFFFu}, // beyond 32 bits: the largest value
        {"-1", 0xFFFFFFFFu},        // a minus sign negates modulo 2^32
        {"-2", 0xFFFFFFFEu},
        {"+A", 10},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, parseHexNumber(row.text)) << row.text;
}

TEST(ParseBinaryData, TokensBecomeTheirLowByte) {
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ((Bytes{0x01, 0xFF, 0x7F}), parseBinaryData("01 ff 7F"));
    EXPECT_EQ((Bytes{0xFF}), parseBinaryData("1FF"));
    EXPECT_EQ((Bytes{0x0A, 0x0B}), parseBinaryData("\tA\r\n B "));
    EXPECT_EQ(Bytes{}, parseBinaryData(" \t\r\n"));
    EXPECT_EQ((Bytes{0xFF}), parseBinaryData(std::string(300, 'F')));  // a long token is read whole
}

TEST(RegistryValueData, BytesPerType) {
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ((Bytes{'C', ':', '\\', 'A', 0}), registryValueData(RegistryType::String, "C:\\A"));
    EXPECT_EQ((Bytes{0x1F, 0, 0, 0}), registryValueData(RegistryType::Dword, "1F"));
    EXPECT_EQ((Bytes{0x78, 0x56, 0x34, 0x12}), registryValueData(RegistryType::Dword, "0x12345678"));
    EXPECT_EQ((Bytes{0x5A, 0x52}), registryValueData(RegistryType::Binary, "5A 52"));
    EXPECT_EQ(Bytes{}, registryValueData(RegistryType::None, "abc"));
}

#include "font_description.h"

#include <gtest/gtest.h>

TEST(FontSpec, ParsesFieldsThatAreFollowedByTheirComma) {
    struct Row {
        const char* comment;
        const char* text;
        const char* face;
        int32_t height, weight;
        int italic, underline, strikeOut;
    } rows[] = {
        {"all six fields", "Times New Roman,-32,700,255,0,0", "Times New Roman", -32, 700, 255, 0, 0},
        {"height without its comma is not taken", "Verdana,-20", "Verdana", -12, 400, 0, 0, 0},
        {"no comma: the defaults stand, face too", "Tahoma", "Arial", -12, 400, 0, 0, 0},
        {"empty text", "", "Arial", -12, 400, 0, 0, 0},
        {"height followed by a comma", "Verdana,-20,", "Verdana", -20, 400, 0, 0, 0},
        {"weight needs the third comma", "Verdana,-20,700", "Verdana", -20, 400, 0, 0, 0},
        {"italic needs the fourth comma", "Verdana,-20,700,1", "Verdana", -20, 700, 0, 0, 0},
        {"underline and strike-out come with the fifth comma", "V,1,2,3,4,5", "V", 1, 2, 3, 4, 5},
        {"strike-out needs nothing after it", "V,1,2,3,4,", "V", 1, 2, 3, 4, 0},
        {"atol: blanks, sign, digits up to the first other character", "V, +15px, 7x,a,,", "V", 15, 7, 0, 0, 0},
        {"byte fields keep their low byte", "V,0,0,256,257,-1", "V", 0, 0, 0, 1, 255},
        {"numbers saturate at 32 bits", "V,-99999999999,99999999999,", "V", INT32_MIN, INT32_MAX, 0, 0, 0},
        {"empty face before the first comma", ",-10,", "", -10, 400, 0, 0, 0},
    };
    for (const Row& row : rows) {
        FontSpec description = parseFontSpec(row.text);
        EXPECT_EQ(row.face, description.faceName) << row.comment;
        EXPECT_EQ(row.height, description.height) << row.comment;
        EXPECT_EQ(row.weight, description.weight) << row.comment;
        EXPECT_EQ(row.italic, description.italic) << row.comment;
        EXPECT_EQ(row.underline, description.underline) << row.comment;
        EXPECT_EQ(row.strikeOut, description.strikeOut) << row.comment;
        EXPECT_EQ(1, description.charSet) << row.comment;  // never read from the text
        EXPECT_EQ(2, description.quality) << row.comment;
    }
}

TEST(FontSpec, LongFaceNameIsCutTo31Characters) {
    std::string face(40, 'F');
    FontSpec description = parseFontSpec(face + ",-10,");
    EXPECT_EQ(std::string(31, 'F'), description.faceName);
    EXPECT_EQ(-10, description.height);
}

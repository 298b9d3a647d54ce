// The background's numbers: colours, alignments, text placement, the gradient's
// bands and the style read from the SW variables.
#include "background_layout.h"
#include "model_fixtures.h"
#include "setup_model.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

// A model loaded from a script with these SETUP_WINDOW lines, the setup window
// switched on or off.
struct StyleFixture {
    explicit StyleFixture(const std::string& setupWindow, bool enabled = true) {
        zrtest::writeFile(dir.file("Setup.ini"),
                          std::string("[GENERAL_INFO]\r\nProductName=Tool\r\n[DIALOGS]\r\nSetupWindow=") +
                              (enabled ? "Yes" : "No") + "\r\n[SETUP_WINDOW]\r\n" + setupWindow);
        zrtest::writeFile(dir.file("English.dat"), "[STRINGS]\r\n1=Setup\r\n");
    }
    BackgroundStyle style() const {
        SetupModel model(modeltest::fakeFolders(dir.path()));
        return readBackgroundStyle(model);
    }
    zrtest::TempDir dir;
};

}  // namespace

TEST(BackgroundLayout, ColoursReadAsBase16) {
    struct Row {
        const char* text;
        Colour expected;
    } rows[] = {
        {"0x000000FF", 0x000000FF},  // pure red: the lowest byte
        {"0x00FF0000", 0x00FF0000},  // pure blue
        {"C0C0C0", 0x00C0C0C0},      // no prefix needed
        {"8000", 0x00008000},        // digits without 0x are still hex: dark green
        {"0Xff", 0x000000FF},        // prefix and digits in either case
        {"", 0},                     // empty: black
        {"grey", 0},                 // no digits: black
        {"80zz80", 0x80},            // the parse stops at the first non-digit
        {"  0x10", 0x10},            // leading blanks are skipped
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, parseColour(row.text)) << row.text;
}

TEST(BackgroundLayout, OnlyTheFirstCharacterOfAnAlignmentCounts) {
    struct Row {
        const char* text;
        Alignment expected;
    } rows[] = {
        {"1", Alignment::Centre},
        {"2", Alignment::Right},
        {"0", Alignment::Left},
        {"", Alignment::Left},       // empty: left
        {"12", Alignment::Centre},   // the 2 does not count
        {"21", Alignment::Right},
        {"3", Alignment::Left},      // unknown numbers: left
        {"right", Alignment::Left},  // words are not understood
        {" 1", Alignment::Left},     // nor is a leading blank skipped
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, parseAlignment(row.text)) << '"' << row.text << '"';
}

TEST(BackgroundLayout, TextPlacementByAlignmentAndAnchor) {
    struct Row {
        const char* comment;
        Alignment alignment;
        TextAnchor anchor;
        int width;
        int x;
        unsigned flags;
    } rows[] = {
        {"centred on width >> 1", Alignment::Centre, TextAnchor::Top, 1001, 500, 6},
        {"even width", Alignment::Centre, TextAnchor::Top, 1024, 512, 6},
        {"centred footer: TA_CENTER | TA_BOTTOM", Alignment::Centre, TextAnchor::Bottom, 1001, 500, 14},
        {"right: 20 pixels from the edge", Alignment::Right, TextAnchor::Top, 800, 780, 2},
        {"right footer: TA_RIGHT | TA_BOTTOM", Alignment::Right, TextAnchor::Bottom, 800, 780, 10},
        {"left: 20 pixels in", Alignment::Left, TextAnchor::Top, 800, 20, 0},
        {"left footer: TA_BOTTOM", Alignment::Left, TextAnchor::Bottom, 800, 20, 8},
    };
    for (const Row& row : rows) {
        TextPlacement at = placeText(row.alignment, row.anchor, row.width, 77);
        EXPECT_EQ(row.x, at.x) << row.comment;
        EXPECT_EQ(77, at.y) << row.comment;
        EXPECT_EQ(row.flags, at.alignFlags) << row.comment;
    }
}

TEST(BackgroundLayout, TextLines) {
    EXPECT_EQ(10, kHeadingTop);
    EXPECT_EQ(66, subheadingTop(46));  // 20 pixels below the heading's line
    EXPECT_EQ(20, subheadingTop(0));
    EXPECT_EQ(758, footerBottom(768));  // 10 pixels above the bottom edge
    EXPECT_EQ(3, kShadowOffset);
    EXPECT_EQ(0u, kShadowColour);
}

TEST(BackgroundLayout, BandHeightIsTheGradientOver256RoundedHalfUp) {
    struct Row {
        int gradientHeight;
        int expected;
    } rows[] = {
        {0, 1},    // never below 1
        {250, 1},  // height 300
        {383, 1},  // 1.496 rounds down
        {384, 2},  // 1.5 rounds up
        {500, 2},  // height 600
        {639, 2},
        {640, 3},  // 2.5 rounds up
        {900, 4},  // height 1080: 3.52
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, gradientBandHeight(row.gradientHeight)) << row.gradientHeight;
}

TEST(BackgroundLayout, StepColoursMoveFromTheFirstColourTowardTheSecond) {
    struct Row {
        const char* comment;
        Colour from, to;
        int step;
        Colour expected;
    } rows[] = {
        {"step 0 is the first colour * 255 / 256", 0x00FFFFFF, 0x00000000, 0, 0x00FEFEFE},
        {"step 255 is the second colour * 255 / 256", 0x00000000, 0x00FFFFFF, 255, 0x00FEFEFE},
        {"channels apart: red falls while blue rises", 0x000000FF, 0x00FF0000, 128, 0x007F007E},
        {"one colour stays (almost) itself", 0x00408020, 0x00408020, 100, 0x003F7F1F},
        {"black to black", 0, 0, 77, 0},
        {"the high byte of a colour is no channel", 0xFF000000, 0x00000000, 0, 0x00000000},
        // Beyond 256 bands the last colour stays: no running past the second
        // colour and no wrapping round.
        {"step 256 keeps the colour of step 255", 0x00000000, 0x00FFFFFF, 256, 0x00FEFEFE},
        {"so does step 400", 0x00FF8040, 0x00000000, 400, 0x00000000},
        {"and a negative step the colour of step 0", 0x00FFFFFF, 0x00000000, -5, 0x00FEFEFE},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, gradientStepColour(row.from, row.to, row.step)) << row.comment;
}

TEST(BackgroundLayout, GradientBandsForTypicalHeights) {
    const Colour from = 0x00603000, to = 0x00F0C080;
    struct Row {
        const char* comment;
        int height;
        int topRows;     // the first colour's part
        int bandHeight;
        int bandCount;
    } rows[] = {
        {"600: G = 500, B = 2, 250 bands", 600, 100, 2, 250},
        {"300: G = 250, B = 1, 250 bands", 300, 50, 1, 250},
        {"360: G = 300, B = 1, 300 bands", 360, 60, 1, 300},
        {"720: G = 600, B = 2, 300 bands", 720, 120, 2, 300},
        {"700: G = 583, the last band reaches past the edge", 700, 117, 2, 292},
        {"768: G = 640, B = 3", 768, 128, 3, 214},
        {"5: G = 4, bands of one row", 5, 1, 1, 4},
        {"1: G = 0, no bands", 1, 1, 1, 0},
    };
    for (const Row& row : rows) {
        std::vector<ColourBand> bands = gradientBands(row.height, from, to);
        ASSERT_EQ(static_cast<size_t>(row.bandCount + 1), bands.size()) << row.comment;
        EXPECT_EQ(0, bands[0].top) << row.comment;
        EXPECT_EQ(row.topRows, bands[0].height) << row.comment;
        EXPECT_EQ(from, bands[0].colour) << row.comment;
        for (int k = 0; k < row.bandCount; ++k) {
            const ColourBand& band = bands[static_cast<size_t>(k) + 1];
            ASSERT_EQ(row.topRows + k * row.bandHeight, band.top) << row.comment << " band " << k;
            ASSERT_EQ(row.bandHeight, band.height) << row.comment << " band " << k;
            ASSERT_EQ(gradientStepColour(from, to, k), band.colour) << row.comment << " band " << k;
        }
        // The bands cover the gradient part whole, overshooting by less than a band.
        const ColourBand& last = bands.back();
        EXPECT_GE(last.top + last.height, row.height) << row.comment;
        EXPECT_LT(last.top, row.height) << row.comment;
    }
    EXPECT_TRUE(gradientBands(0, from, to).empty());
    EXPECT_TRUE(gradientBands(-4, from, to).empty());
}

TEST(BackgroundLayout, StyleFromTheSetupWindowVariables) {
    StyleFixture fixture(
        "GradientFill=Yes\r\nColorFrom=0x00603000\r\nColorTo=8000\r\n"
        "Heading=%ProductName% Setup\r\nHeadingFont=Tahoma,-20,700,0,1,0\r\nHeadingColor=0x00FFFFFF\r\n"
        "HeadingAlignment=1\r\nHeading3D=Yes\r\n"
        "Subheading=Second\r\nSubheadingFont=Tahoma,-20\r\nSubheadingColor=FF\r\nSubheadingAlignment=2\r\n"
        "Subheading3D=No\r\n"
        "Footer=Foot\r\nFooterFont=Tahoma\r\nFooter3D=1\r\n");
    BackgroundStyle style = fixture.style();
    EXPECT_TRUE(style.gradient);
    EXPECT_EQ(0x00603000u, style.colourFrom);
    EXPECT_EQ(0x00008000u, style.colourTo);

    EXPECT_EQ("Tool Setup", style.heading.text);  // expanded
    EXPECT_EQ("Tahoma", style.heading.font.faceName);
    EXPECT_EQ(-20, style.heading.font.height);
    EXPECT_EQ(700, style.heading.font.weight);
    EXPECT_EQ(0, style.heading.font.italic);
    EXPECT_EQ(1, style.heading.font.underline);
    EXPECT_EQ(0x00FFFFFFu, style.heading.colour);
    EXPECT_EQ(Alignment::Centre, style.heading.alignment);
    EXPECT_TRUE(style.heading.shadow);

    EXPECT_EQ("Second", style.subheading.text);
    EXPECT_EQ("Tahoma", style.subheading.font.faceName);  // no comma after the height:
    EXPECT_EQ(-12, style.subheading.font.height);         // only the face is taken
    EXPECT_EQ(0xFFu, style.subheading.colour);
    EXPECT_EQ(Alignment::Right, style.subheading.alignment);
    EXPECT_FALSE(style.subheading.shadow);

    EXPECT_EQ("Foot", style.footer.text);
    EXPECT_EQ("Arial", style.footer.font.faceName);  // a bare face name changes nothing
    EXPECT_EQ(0u, style.footer.colour);              // no colour: black
    EXPECT_EQ(Alignment::Left, style.footer.alignment);
    EXPECT_TRUE(style.footer.shadow);
}

TEST(BackgroundLayout, SolidFillDoesNotReadTheSecondColour) {
    StyleFixture fixture("GradientFill=No\r\nColorFrom=0x00336699\r\nColorTo=0x00FFFFFF\r\n");
    BackgroundStyle style = fixture.style();
    EXPECT_FALSE(style.gradient);
    EXPECT_EQ(0x00336699u, style.colourFrom);
    EXPECT_EQ(0u, style.colourTo);
}

TEST(BackgroundLayout, WithoutTheSetupWindowEverythingIsDefault) {
    StyleFixture fixture("GradientFill=Yes\r\nColorFrom=FF\r\nHeading=Hidden\r\nHeadingAlignment=1\r\nHeading3D=Y\r\n",
                         false);
    BackgroundStyle style = fixture.style();
    EXPECT_FALSE(style.gradient);
    EXPECT_EQ(0u, style.colourFrom);
    for (const BackgroundText* text : {&style.heading, &style.subheading, &style.footer}) {
        EXPECT_EQ("", text->text);
        EXPECT_EQ("Arial", text->font.faceName);
        EXPECT_EQ(-12, text->font.height);
        EXPECT_EQ(400, text->font.weight);
        EXPECT_EQ(0u, text->colour);
        EXPECT_EQ(Alignment::Left, text->alignment);
        EXPECT_FALSE(text->shadow);
    }
}

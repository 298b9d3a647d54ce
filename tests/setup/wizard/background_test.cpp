// The setup window's background and the splash, under Wine, by their pixels and
// windows: the painter renders into bitmaps of known sizes and the test reads
// the rows back; setup.exe shows its splash and its background to the robot.
#include "background_painter.h"
#include "robot.h"
#include "setup_package.h"
#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

using setuptest::PackageFolder;
using setuptest::clickAndWaitGone;
using setuptest::exitCode;
using setuptest::kProductHere;
using setuptest::waitWindow;

namespace {

class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// An inclusive rectangle of pixels; empty until a pixel is added.
struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool empty() const { return left > right; }
    void add(int x, int y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

// The pixels of a rendered picture as COLORREF values, read once with GetDIBits.
class Pixels {
public:
    Pixels() = default;
    explicit Pixels(const Bitmap& picture) {
        SIZE size = picture.size();
        width_ = size.cx;
        height_ = size.cy;
        bits_.resize(static_cast<size_t>(width_) * height_);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        ScreenDC screen;
        rows_ = GetDIBits(screen.get(), picture.get(), 0, height_, bits_.data(), &info, DIB_RGB_COLORS);
    }
    int width() const { return width_; }
    int height() const { return height_; }
    int rowsRead() const { return rows_; }
    // 0x00BBGGRR, as GetPixel answers.
    COLORREF at(int x, int y) const {
        uint32_t bgr = bits_[static_cast<size_t>(y) * width_ + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    // The pixels of exactly this colour within rows top to bottom - 1.
    Box find(COLORREF colour, int top = 0, int bottom = -1) const {
        Box box;
        if (bottom < 0)
            bottom = height_;
        for (int y = std::max(0, top); y < std::min(bottom, height_); ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) == colour)
                    box.add(x, y);
        return box;
    }

private:
    int width_ = 0;
    int height_ = 0;
    int rows_ = 0;
    std::vector<uint32_t> bits_;
};

// Renders style through the painter at width by height and reads the picture.
Pixels render(const BackgroundStyle& style, int width, int height) {
    ScreenDC screen;
    BackgroundPainter painter;
    painter.render(screen.get(), style, width, height);
    EXPECT_EQ(width, painter.width());
    EXPECT_EQ(height, painter.height());
    Pixels pixels(painter.picture());
    EXPECT_EQ(width, pixels.width());
    EXPECT_EQ(height, pixels.rowsRead());
    return pixels;
}

// What the screen shows in a rectangle of width by height pixels from (x, y).
Pixels screenShot(int x, int y, int width, int height) {
    ScreenDC screen;
    Bitmap shot;
    EXPECT_TRUE(shot.createCompatible(screen.get(), width, height));
    {
        MemoryDC dc(screen.get(), shot.get());
        BitBlt(dc.get(), 0, 0, width, height, screen.get(), x, y, SRCCOPY);
    }
    return Pixels(shot);
}

// The line height (tmHeight + tmExternalLeading) of a font as the painter makes it.
int lineHeightOf(const FontSpec& description) {
    ScreenDC screen;
    Font font(logFontOf(description));
    SelectedObject selected(screen.get(), font.get());
    return lineMetrics(screen.get()).lineHeight;
}

FontSpec font(const char* face, int height, int weight) {
    FontSpec description;
    description.faceName = face;
    description.height = height;
    description.weight = weight;
    return description;
}

constexpr COLORREF kGround = RGB(0x20, 0x40, 0x80);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A plain background with one text in a big bold font, the others empty.
BackgroundStyle oneText(BackgroundText BackgroundStyle::*which, Alignment alignment, bool shadow,
                        const char* text = "HOH") {
    BackgroundStyle style;
    style.colourFrom = kGround;
    (style.*which).text = text;
    (style.*which).font = font("Arial", -40, 700);
    (style.*which).colour = kWhite;
    (style.*which).alignment = alignment;
    (style.*which).shadow = shadow;
    return style;
}

}  // namespace

TEST(BackgroundPainter, SolidFillIsTheFirstColourEverywhere) {
    BackgroundStyle style;
    style.gradient = false;
    style.colourFrom = RGB(0x99, 0x66, 0x33);
    style.colourTo = RGB(255, 255, 255);  // not used without a gradient
    Pixels pixels = render(style, 120, 90);
    Box other;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
            if (pixels.at(x, y) != style.colourFrom)
                other.add(x, y);
    EXPECT_TRUE(other.empty()) << "other colours from " << other.left << "," << other.top;
}

TEST(BackgroundPainter, GradientRows) {
    // From blue to red: per step k red is 255k >> 8 and blue 255(255 - k) >> 8.
    const COLORREF from = 0x00FF0000, to = 0x000000FF;
    const COLORREF step0 = 0x00FE0000, step1 = 0x00FD0000, step100 = 0x009A0063, step249 = 0x000500F8,
                   step255 = 0x000000FE;
    struct Row {
        const char* comment;
        int height;
        int y;
        COLORREF expected;
    } rows[] = {
        {"600: the top 100 rows are the first colour", 600, 0, from},
        {"600: the last row of the top part", 600, 99, from},
        {"600: bands of 2 rows, step 0 first", 600, 100, step0},
        {"600: step 0's second row", 600, 101, step0},
        {"600: step 1", 600, 102, step1},
        {"600: step 100", 600, 300, step100},
        {"600: the last band, step 249", 600, 599, step249},
        {"300: the top 50 rows are the first colour", 300, 49, from},
        {"300: bands of 1 row, step 0 first", 300, 50, step0},
        {"300: step 1", 300, 51, step1},
        {"300: step 100", 300, 150, step100},
        {"300: the last row, step 249", 300, 299, step249},
        // Height 360 has 300 bands of one row: after step 255 the colour stays.
        {"360: step 255", 360, 315, step255},
        {"360: step 256 keeps step 255's colour", 360, 316, step255},
        {"360: and so does the last row, step 299", 360, 359, step255},
    };
    int renderedHeight = 0;
    Pixels pixels;
    for (const Row& row : rows) {
        BackgroundStyle style;
        style.gradient = true;
        style.colourFrom = from;
        style.colourTo = to;
        if (row.height != renderedHeight) {
            pixels = render(style, 16, row.height);
            renderedHeight = row.height;
        }
        // Bands span the whole width.
        EXPECT_EQ(row.expected, pixels.at(0, row.y)) << row.comment;
        EXPECT_EQ(row.expected, pixels.at(15, row.y)) << row.comment;
    }
}

TEST(BackgroundPainter, ShadowLiesThreePixelsRightAndDown) {
    struct Row {
        const char* comment;
        BackgroundText BackgroundStyle::*text;
    } rows[] = {
        {"heading", &BackgroundStyle::heading},
        {"subheading", &BackgroundStyle::subheading},
        {"footer", &BackgroundStyle::footer},
    };
    for (const Row& row : rows) {
        Pixels pixels = render(oneText(row.text, Alignment::Centre, true), 1001, 400);
        Box text = pixels.find(kWhite);
        Box shadow = pixels.find(kBlack);
        ASSERT_FALSE(text.empty()) << row.comment;
        ASSERT_FALSE(shadow.empty()) << row.comment;
        // The text covers part of its shadow's top left; the far edges show.
        EXPECT_EQ(text.right + 3, shadow.right) << row.comment;
        EXPECT_EQ(text.bottom + 3, shadow.bottom) << row.comment;

        Pixels flat = render(oneText(row.text, Alignment::Centre, false), 1001, 400);
        EXPECT_TRUE(flat.find(kBlack).empty()) << row.comment << ": no shadow without 3D";
        EXPECT_EQ(text.left, flat.find(kWhite).left) << row.comment << ": the shadow does not move the text";
    }
}

TEST(BackgroundPainter, AlignmentAndLinesOfTheTexts) {
    const int width = 1001, height = 400;
    const int line = lineHeightOf(font("Arial", -40, 700));
    ASSERT_GT(line, 20);
    struct Row {
        const char* comment;
        BackgroundText BackgroundStyle::*text;
        Alignment alignment;
    } rows[] = {
        {"heading left", &BackgroundStyle::heading, Alignment::Left},
        {"heading centred", &BackgroundStyle::heading, Alignment::Centre},
        {"heading right", &BackgroundStyle::heading, Alignment::Right},
        {"footer left", &BackgroundStyle::footer, Alignment::Left},
        {"footer centred", &BackgroundStyle::footer, Alignment::Centre},
        {"footer right", &BackgroundStyle::footer, Alignment::Right},
    };
    for (const Row& row : rows) {
        Box text = render(oneText(row.text, row.alignment, false), width, height).find(kWhite);
        ASSERT_FALSE(text.empty()) << row.comment;
        // Horizontally: the letters' ink lies within a few pixels of the
        // anchor, inside the side bearings.
        switch (row.alignment) {
        case Alignment::Left:
            EXPECT_GE(text.left, 20) << row.comment;
            EXPECT_LE(text.left, 20 + 5) << row.comment;
            break;
        case Alignment::Right:
            EXPECT_LE(text.right, width - 20 - 1) << row.comment;
            EXPECT_GE(text.right, width - 20 - 1 - 5) << row.comment;
            break;
        case Alignment::Centre:
            EXPECT_NEAR(500, (text.left + text.right) / 2, 2) << row.comment;  // width >> 1
            break;
        }
        // Vertically: the heading's cell starts at row 10, the footer's ends
        // above row height - 10.
        if (row.text == &BackgroundStyle::heading) {
            EXPECT_GE(text.top, 10) << row.comment;
            EXPECT_LT(text.bottom, 10 + line) << row.comment;
        } else {
            EXPECT_LE(text.bottom, height - 10 - 1) << row.comment;
            EXPECT_GE(text.top, height - 10 - line) << row.comment;
        }
    }
}

TEST(BackgroundPainter, SubheadingGoesBelowTheHeadingsLine) {
    const FontSpec big = font("Arial", -60, 700);
    const int headingLine = lineHeightOf(big);
    const int subheadingLine = lineHeightOf(font("Arial", -20, 400));
    ASSERT_GT(headingLine, 60);
    for (const char* heading : {"Heading", ""}) {  // the heading's line counts even without its text
        BackgroundStyle style;
        style.colourFrom = kGround;
        style.heading.text = heading;
        style.heading.font = big;
        style.heading.colour = kWhite;
        style.subheading.text = "HOH";
        style.subheading.font = font("Arial", -20, 400);
        style.subheading.colour = kYellow;
        Box text = render(style, 600, 300).find(kYellow);
        ASSERT_FALSE(text.empty()) << '"' << heading << '"';
        EXPECT_GE(text.top, headingLine + 20) << '"' << heading << '"';
        EXPECT_LT(text.bottom, headingLine + 20 + subheadingLine) << '"' << heading << '"';
    }
}

TEST(BackgroundPainter, EmptyTextsDrawNothing) {
    BackgroundStyle style;
    style.colourFrom = kGround;
    style.heading.shadow = style.subheading.shadow = style.footer.shadow = true;
    style.heading.colour = style.subheading.colour = style.footer.colour = kWhite;
    Pixels pixels = render(style, 200, 200);
    EXPECT_TRUE(pixels.find(kWhite).empty());
    EXPECT_TRUE(pixels.find(kBlack).empty());
}

TEST(BackgroundPainter, DrawingSetsTheContextsAttributesBack) {
    ScreenDC screen;
    Bitmap canvas;
    ASSERT_TRUE(canvas.createCompatible(screen.get(), 300, 200));
    MemoryDC dc(screen.get(), canvas.get());
    Font own(logFontOf(font("Arial", -11, 400)));
    SelectObject(dc.get(), own.get());
    SetTextColor(dc.get(), RGB(1, 2, 3));
    SetTextAlign(dc.get(), TA_UPDATECP);
    SetBkMode(dc.get(), OPAQUE);

    BackgroundStyle style = oneText(&BackgroundStyle::footer, Alignment::Right, true);
    style.heading.text = "Heading";
    drawBackground(dc.get(), style, 300, 200);

    EXPECT_EQ(own.get(), GetCurrentObject(dc.get(), OBJ_FONT));
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc.get()));
    EXPECT_EQ(static_cast<UINT>(TA_UPDATECP), GetTextAlign(dc.get()));
    EXPECT_EQ(OPAQUE, GetBkMode(dc.get()));
    SelectObject(dc.get(), GetStockObject(SYSTEM_FONT));
}

TEST(BackgroundPainter, EachRenderReplacesThePictureAndPaintCopiesIt) {
    ScreenDC screen;
    BackgroundPainter painter;
    BackgroundStyle style;
    style.colourFrom = kGround;

    Bitmap target;
    ASSERT_TRUE(target.createCompatible(screen.get(), 60, 40));
    {
        MemoryDC dc(screen.get(), target.get());
        fillSolid(dc.get(), 0, 0, 60, 40, kYellow);
        painter.paint(dc.get());  // nothing rendered yet: nothing to copy
        EXPECT_EQ(kYellow, GetPixel(dc.get(), 0, 0));
    }

    painter.render(screen.get(), style, 30, 20);
    EXPECT_EQ(30, painter.picture().size().cx);
    style.colourFrom = kWhite;
    painter.render(screen.get(), style, 50, 30);
    EXPECT_EQ(50, painter.picture().size().cx);
    EXPECT_EQ(30, painter.picture().size().cy);

    MemoryDC dc(screen.get(), target.get());
    painter.paint(dc.get());
    EXPECT_EQ(kWhite, GetPixel(dc.get(), 0, 0));    // the latest picture, at the corner
    EXPECT_EQ(kWhite, GetPixel(dc.get(), 49, 29));
    EXPECT_EQ(kYellow, GetPixel(dc.get(), 50, 30));  // and no further
}

TEST(BackgroundPainter, LogFontCarriesTheFontDescription) {
    FontSpec description;
    description.faceName = "Tahoma";
    description.height = -20;
    description.weight = 700;
    description.italic = 255;
    description.underline = 1;
    description.strikeOut = 0;
    LOGFONTA font = logFontOf(description);
    EXPECT_STREQ("Tahoma", font.lfFaceName);
    EXPECT_EQ(-20, font.lfHeight);
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_EQ(255, font.lfItalic);
    EXPECT_EQ(1, font.lfUnderline);
    EXPECT_EQ(0, font.lfStrikeOut);
    EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
    EXPECT_EQ(PROOF_QUALITY, font.lfQuality);
    EXPECT_EQ(0, font.lfWidth);

    description.faceName = std::string(40, 'F');  // cut, never overrun
    font = logFontOf(description);
    EXPECT_EQ(31u, strlen(font.lfFaceName));
}

// setup.exe itself: the splash before the wizard and the background behind it.
namespace {

const char kLanguage[] =
    "[PROCESS_DIALOG]\r\nDialog_Title=Installing\r\nCancel=Stop\r\n"
    "[FINISH_DIALOG]\r\nDialog_Title=All Done\r\nFinish=Close\r\n";

std::string script(const std::string& dialogs, const std::string& more = "") {
    return std::string(kProductHere) +
           "[GENERAL_INFO]\r\nProductName=Splash\r\n[SYSTEM_REQUIREMENTS]\r\nAnyWindows=Yes\r\n"
           "[APPLICATION_FOLDERS]\r\n%AppDir%\r\n[DIALOGS]\r\nFinishDialog=Yes\r\n" + dialogs + more;
}

// Every top-level window of the process, shown or hidden, of this class.
std::vector<HWND> windowsOfClass(DWORD processId, const char* className) {
    struct Search {
        DWORD processId;
        const char* className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->processId && _stricmp(robot::windowClass(window).c_str(), search->className) == 0)
                search->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool anyVisible(const std::vector<HWND>& windows) {
    return std::any_of(windows.begin(), windows.end(), [](HWND w) { return IsWindowVisible(w) != FALSE; });
}

std::string picture() { return zrtest::sourcePath("tests/foundation/picture_40x30.bmp"); }

}  // namespace

TEST(Splash, ShowsThePictureThenHandsOverToTheWizard) {
    PackageFolder package;
    package
        .script(script("SplashWindow=Yes\r\nSetupWindow=Yes\r\n",
                       "[SPLASH_WINDOW]\r\nBitmap_Pathname=%SetupDir%\\splash.bmp\r\n"))
        .language("English.dat", kLanguage)
        .archive()
        .copy(picture(), "splash.bmp");
    robot::Robot robot;
    std::string error;
    ASSERT_TRUE(startSetup(robot, package));
    HWND splash = robot.waitWindow({std::string("ZRSetupSplash"), std::nullopt}, robot::kDefaultTimeoutMs, &error);
    ASSERT_TRUE(splash) << error;

    // A popup of the picture's size with a dialog frame, centred on the screen.
    RECT client = {}, frame = {};
    GetClientRect(splash, &client);
    GetWindowRect(splash, &frame);
    EXPECT_EQ(40, client.right);
    EXPECT_EQ(30, client.bottom);
    RECT expected = {0, 0, 40, 30};
    AdjustWindowRectEx(&expected, WS_POPUP, FALSE, WS_EX_DLGMODALFRAME);
    EXPECT_EQ(expected.right - expected.left, frame.right - frame.left);
    EXPECT_EQ(expected.bottom - expected.top, frame.bottom - frame.top);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) >> 1, frame.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) >> 1, frame.top);
    EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(GetWindowLongA(splash, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(0, GetWindowTextLengthA(splash));

    // While the splash shows, the setup window stays hidden and no page is up;
    // the wizard comes only after the splash has gone.
    HWND page = nullptr;
    for (int i = 0; i < 400 && !page; ++i) {
        bool splashShown = IsWindowVisible(splash) != FALSE;
        std::vector<HWND> pages = windowsOfClass(robot.processId(), "#32770");
        bool setupShown = anyVisible(windowsOfClass(robot.processId(), "ZRSetup"));
        if (splashShown) {
            ASSERT_FALSE(anyVisible(pages)) << "a page before the splash ended";
            ASSERT_FALSE(setupShown) << "the background before the splash ended";
        } else if (anyVisible(pages)) {
            page = pages.front();
        }
        Sleep(50);
    }
    HWND finish = waitWindow(robot, "All Done");
    ASSERT_TRUE(finish);
    EXPECT_FALSE(IsWindowVisible(splash));
    EXPECT_TRUE(IsWindow(splash)) << "the hidden splash lives as long as the setup window";
    std::vector<HWND> setup = windowsOfClass(robot.processId(), "ZRSetup");
    ASSERT_EQ(1u, setup.size());
    EXPECT_TRUE(IsWindowVisible(setup[0]));
    EXPECT_TRUE(IsZoomed(setup[0]));
    EXPECT_EQ(1u, windowsOfClass(robot.processId(), "ZRSetupSplash").size());

    clickAndWaitGone(finish, 1018);
    EXPECT_EQ(0, exitCode(robot));
}

TEST(Splash, APictureThatCannotBeShownStartsTheWizardAtOnce) {
    struct Row {
        const char* comment;
        const char* dialogs;
        const char* path;
    } rows[] = {
        {"a missing file", "SplashWindow=Yes\r\n", "%SetupDir%\\missing.bmp"},
        {"a folder", "SplashWindow=Yes\r\n", "%SetupDir%\\"},
        {"not a bitmap", "SplashWindow=Yes\r\n", "%SetupDir%\\Setup.ini"},
        {"no path at all", "SplashWindow=Yes\r\n", ""},
        {"the splash switched off", "SplashWindow=No\r\n", "%SetupDir%\\splash.bmp"},
    };
    for (const Row& row : rows) {
        PackageFolder package;
        package.script(script(row.dialogs, std::string("[SPLASH_WINDOW]\r\nBitmap_Pathname=") + row.path + "\r\n"))
            .language("English.dat", kLanguage)
            .archive()
            .copy(picture(), "splash.bmp");
        robot::Robot robot;
        ASSERT_TRUE(startSetup(robot, package));
        HWND finish = waitWindow(robot, "All Done");
        ASSERT_TRUE(finish) << row.comment;
        // No splash window was ever made.
        EXPECT_TRUE(windowsOfClass(robot.processId(), "ZRSetupSplash").empty()) << row.comment;
        clickAndWaitGone(finish, 1018);
        EXPECT_EQ(0, exitCode(robot)) << row.comment;
    }
}

TEST(SetupBackground, TheMaximizedWindowShowsItsPicture) {
    PackageFolder package;
    package
        .script(script("SetupWindow=Yes\r\n",
                       "[SETUP_WINDOW]\r\nWindowTitle=Painted\r\nGradientFill=No\r\nColorFrom=0x00336699\r\n"
                       "Footer=HOH\r\nFooterFont=Arial,-40,700,0,0,0\r\nFooterColor=FFFFFF\r\nFooterAlignment=1\r\n"
                       "Footer3D=Yes\r\n"))
        .language("English.dat", kLanguage)
        .archive();
    robot::Robot robot;
    ASSERT_TRUE(startSetup(robot, package));
    HWND finish = waitWindow(robot, "All Done");
    ASSERT_TRUE(finish);
    std::vector<HWND> setup = windowsOfClass(robot.processId(), "ZRSetup");
    ASSERT_EQ(1u, setup.size());
    EXPECT_EQ("Painted", robot::windowText(setup[0]));

    // Read the screen where the setup window's client area lies: the colour
    // left of the page, and the footer centred at the bottom with its shadow.
    RECT client = {};
    GetClientRect(setup[0], &client);
    POINT origin = {0, 0};
    ClientToScreen(setup[0], &origin);
    Pixels left = screenShot(origin.x, origin.y, 10, client.bottom);
    EXPECT_EQ(RGB(0x99, 0x66, 0x33), left.at(5, 5));
    EXPECT_EQ(RGB(0x99, 0x66, 0x33), left.at(5, client.bottom / 2));
    const int middle = client.right >> 1, top = client.bottom - 80;
    Pixels bottom = screenShot(origin.x + middle - 100, origin.y + top, 200, 80);
    Box text = bottom.find(kWhite);
    Box shadow = bottom.find(kBlack);
    ASSERT_FALSE(text.empty());
    ASSERT_FALSE(shadow.empty());
    EXPECT_NEAR(100, (text.left + text.right) / 2, 2);  // centred on width >> 1
    EXPECT_LE(top + text.bottom, client.bottom - 11);    // above the bottom line, height - 10
    EXPECT_EQ(text.bottom + 3, shadow.bottom);
    EXPECT_EQ(text.right + 3, shadow.right);

    clickAndWaitGone(finish, 1018);
    EXPECT_EQ(0, exitCode(robot));
}

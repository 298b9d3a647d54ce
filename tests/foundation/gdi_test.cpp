// The GDI owners and drawing helpers, on memory contexts (no window needed).
#include "gdi.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The screen's context, for making compatible contexts and bitmaps.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace

TEST(Gdi, FillSolidAndBlitCopyTheWholePictureToTheCorner) {
    ScreenDC screen;
    Bitmap picture;
    ASSERT_TRUE(picture.createCompatible(screen.get(), 8, 6));
    EXPECT_EQ(8, picture.size().cx);
    EXPECT_EQ(6, picture.size().cy);
    {
        MemoryDC dc(screen.get(), picture.get());
        fillSolid(dc.get(), 0, 0, 8, 6, RGB(255, 0, 0));
        fillSolid(dc.get(), 2, 1, 3, 2, RGB(0, 0, 255));
    }

    Bitmap target;
    ASSERT_TRUE(target.createCompatible(screen.get(), 10, 10));
    MemoryDC dc(screen.get(), target.get());
    fillSolid(dc.get(), 0, 0, 10, 10, RGB(0, 255, 0));
    blit(dc.get(), picture);
    struct Row {
        int x, y;
        COLORREF colour;
    } rows[] = {
        {0, 0, RGB(255, 0, 0)},  // the picture's corner at the target's corner
        {2, 1, RGB(0, 0, 255)},  // the inner rectangle's first pixel
        {4, 2, RGB(0, 0, 255)},  // and its last
        {5, 3, RGB(255, 0, 0)},  // just past it
        {7, 5, RGB(255, 0, 0)},  // the picture's last pixel
        {8, 0, RGB(0, 255, 0)},  // right of the picture: untouched
        {0, 6, RGB(0, 255, 0)},  // below it: untouched
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.colour, GetPixel(dc.get(), row.x, row.y)) << row.x << "," << row.y;
}

TEST(Gdi, BitmapLoadsFilesAndAdoptsAnother) {
    Bitmap picture;
    EXPECT_TRUE(picture.loadFile(zrtest::sourcePath("tests/foundation/picture_40x30.bmp").c_str()));
    EXPECT_EQ(40, picture.size().cx);
    EXPECT_EQ(30, picture.size().cy);
    EXPECT_FALSE(picture.loadFile(zrtest::sourcePath("tests/foundation/missing.bmp").c_str()));
    EXPECT_FALSE(picture.valid());  // the earlier bitmap went with the failed load
    EXPECT_EQ(0, picture.size().cx);

    Bitmap other;
    ASSERT_TRUE(other.loadFile(zrtest::sourcePath("tests/foundation/picture_40x30.bmp").c_str()));
    HBITMAP handle = other.get();
    picture.adopt(other);
    EXPECT_EQ(handle, picture.get());
    EXPECT_FALSE(other.valid());
}

TEST(Gdi, AttributeOwnersSetTheOldValueBack) {
    ScreenDC screen;
    Bitmap canvas;
    ASSERT_TRUE(canvas.createCompatible(screen.get(), 4, 4));
    MemoryDC dc(screen.get(), canvas.get());
    LOGFONTA description = {};
    description.lfHeight = -20;
    lstrcpyA(description.lfFaceName, "Arial");
    Font font(description);
    ASSERT_TRUE(font.valid());

    int mode = GetBkMode(dc.get());
    COLORREF colour = GetTextColor(dc.get());
    UINT align = GetTextAlign(dc.get());
    HGDIOBJ previousFont = GetCurrentObject(dc.get(), OBJ_FONT);
    {
        SavedBkMode savedMode(dc.get(), mode == TRANSPARENT ? OPAQUE : TRANSPARENT);
        SavedTextColor savedColour(dc.get(), RGB(1, 2, 3));
        SavedTextAlign savedAlign(dc.get(), TA_CENTER | TA_BOTTOM);
        SelectedObject selected(dc.get(), font.get());
        EXPECT_NE(mode, GetBkMode(dc.get()));
        EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc.get()));
        EXPECT_EQ(static_cast<UINT>(TA_CENTER | TA_BOTTOM), GetTextAlign(dc.get()));
        EXPECT_EQ(font.get(), GetCurrentObject(dc.get(), OBJ_FONT));

        // The line height of the selected font.
        TEXTMETRICA metrics;
        ASSERT_TRUE(GetTextMetricsA(dc.get(), &metrics));
        LineMetrics line = lineMetrics(dc.get());
        EXPECT_EQ(metrics.tmHeight + metrics.tmExternalLeading, line.lineHeight);
        EXPECT_EQ(metrics.tmAveCharWidth, line.averageCharWidth);
        EXPECT_GE(line.lineHeight, 20);
    }
    EXPECT_EQ(mode, GetBkMode(dc.get()));
    EXPECT_EQ(colour, GetTextColor(dc.get()));
    EXPECT_EQ(align, GetTextAlign(dc.get()));
    EXPECT_EQ(previousFont, GetCurrentObject(dc.get(), OBJ_FONT));
}

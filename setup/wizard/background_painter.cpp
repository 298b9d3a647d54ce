#include "background_painter.h"

#include <cstring>

LOGFONTA logFontOf(const FontSpec& description) {
    LOGFONTA font = {};
    font.lfHeight = description.height;
    font.lfWeight = description.weight;
    font.lfItalic = description.italic;
    font.lfUnderline = description.underline;
    font.lfStrikeOut = description.strikeOut;
    font.lfCharSet = description.charSet;
    font.lfQuality = description.quality;
    // FontSpec already keeps the face within the field; cut again all the same,
    // the terminator must stay.
    std::strncpy(font.lfFaceName, description.faceName.c_str(), sizeof font.lfFaceName - 1);
    return font;
}

namespace {

void drawText(HDC dc, const BackgroundText& text, const TextPlacement& at) {
    if (text.text.empty())
        return;
    SavedTextAlign align(dc, at.alignFlags);
    SavedTextColor colour(dc, kShadowColour);
    if (text.shadow)
        textOut(dc, at.x + kShadowOffset, at.y + kShadowOffset, text.text);
    SetTextColor(dc, text.colour);
    textOut(dc, at.x, at.y, text.text);
}

}  // namespace

void drawBackground(HDC dc, const BackgroundStyle& style, int width, int height) {
    if (style.gradient) {
        for (const ColourBand& band : gradientBands(height, style.colourFrom, style.colourTo))
            fillSolid(dc, 0, band.top, width, band.height, band.colour);
    } else {
        fillSolid(dc, 0, 0, width, height, style.colourFrom);
    }

    SavedBkMode transparent(dc, TRANSPARENT);
    // The fonts outlive their selections, which set the context's own font back.
    Font headingFont(logFontOf(style.heading.font));
    Font subheadingFont(logFontOf(style.subheading.font));
    Font footerFont(logFontOf(style.footer.font));

    SelectedObject heading(dc, headingFont.get());
    // The subheading goes below the heading's line, whether or not there is a
    // heading text.
    int headingLine = lineMetrics(dc).lineHeight;
    drawText(dc, style.heading, placeText(style.heading.alignment, TextAnchor::Top, width, kHeadingTop));

    SelectedObject subheading(dc, subheadingFont.get());
    drawText(dc, style.subheading,
             placeText(style.subheading.alignment, TextAnchor::Top, width, subheadingTop(headingLine)));

    SelectedObject footer(dc, footerFont.get());
    drawText(dc, style.footer, placeText(style.footer.alignment, TextAnchor::Bottom, width, footerBottom(height)));
}

void BackgroundPainter::render(HDC windowDC, const BackgroundStyle& style, int width, int height) {
    width_ = width;
    height_ = height;
    Bitmap next;
    if (next.createCompatible(windowDC, width, height)) {
        MemoryDC dc(windowDC, next.get());
        if (dc.get())
            drawBackground(dc.get(), style, width, height);
    }
    picture_.adopt(next);
}

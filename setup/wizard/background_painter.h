#pragma once
// The setup window's background: a gradient or a plain colour with the
// heading, the subheading and the footer, rendered once per size change into an
// off-screen bitmap and copied to the window on every paint, so that the window
// never flickers when a page moves over it. Windows only; the layout itself is
// background_layout.h.

#include "background_layout.h"
#include "gdi.h"

#include <windows.h>

// A FontSpec as the LOGFONTA that CreateFontIndirectA takes; the other fields
// are 0.
LOGFONTA logFontOf(const FontSpec& description);

// Draws the whole background into dc, a context whose drawing surface is width
// by height pixels: the background colour or gradient, then the three texts
// with their shadows. Every attribute of dc it changes is set back, and the
// fonts it makes are gone, when it returns.
void drawBackground(HDC dc, const BackgroundStyle& style, int width, int height);

class BackgroundPainter {
public:
    // Renders the background of a client area of width by height pixels into a
    // new bitmap compatible with windowDC and keeps it as the picture, deleting
    // the previous one. GDI failures (no bitmap for a zero-sized window) are not
    // reported: the picture is then empty and the next render tries again.
    void render(HDC windowDC, const BackgroundStyle& style, int width, int height);

    // Copies the picture to (0, 0) of target; nothing before the first render.
    void paint(HDC target) const { blit(target, picture_); }

    const Bitmap& picture() const { return picture_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    Bitmap picture_;
    int width_ = 0;
    int height_ = 0;
};

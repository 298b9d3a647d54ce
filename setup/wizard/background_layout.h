#pragma once
// The setup window's background as numbers: how the SW variables of the setup
// script read (colours, alignments, switches, fonts), where each text goes, and
// which rectangles of which colour make up the gradient. Portable; the painter
// (background_painter.h) only turns these into GDI calls.

#include "font_description.h"

#include <cstdint>
#include <string>
#include <vector>

class SetupModel;

// A Win32 COLORREF, 0x00BBGGRR: the lowest byte is red, then green, then blue.
using Colour = uint32_t;

// A colour as the setup script writes it, read as strtoul in base 16 does: an
// optional 0x, hex digits up to the first other character, 0 without digits
// ("8000" is 0x8000, dark green). The number is the COLORREF as it stands.
Colour parseColour(const std::string& text);

enum class Alignment { Left, Centre, Right };

// Only the first character counts: 1 centres, 2 aligns right, anything else
// (0, empty, a letter) aligns left.
Alignment parseAlignment(const std::string& text);

// SetTextAlign flags by their Win32 values.
constexpr unsigned kTextAlignLeft = 0;    // TA_LEFT
constexpr unsigned kTextAlignRight = 2;   // TA_RIGHT
constexpr unsigned kTextAlignCentre = 6;  // TA_CENTER
constexpr unsigned kTextAlignTop = 0;     // TA_TOP
constexpr unsigned kTextAlignBottom = 8;  // TA_BOTTOM

// Which line of the text y names: the top of the heading and subheading, the
// bottom of the footer.
enum class TextAnchor { Top, Bottom };

// Where TextOutA draws one text and how the context aligns it there.
struct TextPlacement {
    int x;
    int y;
    unsigned alignFlags;
};

// Centred texts sit on width shifted right by one bit, right-aligned ones end 20
// pixels from the right edge, left-aligned ones start 20 pixels from the left.
TextPlacement placeText(Alignment alignment, TextAnchor anchor, int width, int y);

// The drop shadow of a 3D text: drawn in black this far right and down.
constexpr int kShadowOffset = 3;
constexpr Colour kShadowColour = 0;

// The top line of the heading; that of the subheading, below the heading's
// line height (whether or not there is a heading text); the bottom line of the
// footer in a client area of this height.
constexpr int kHeadingTop = 10;
inline int subheadingTop(int headingLineHeight) { return headingLineHeight + 20; }
inline int footerBottom(int height) { return height - 10; }

// One text of the background, with its variables read and expanded.
struct BackgroundText {
    std::string text;  // empty: nothing is drawn
    FontSpec font;
    Colour colour = 0;
    Alignment alignment = Alignment::Left;
    bool shadow = false;
};

struct BackgroundStyle {
    bool gradient = false;
    Colour colourFrom = 0;
    Colour colourTo = 0;  // read only for a gradient
    BackgroundText heading;
    BackgroundText subheading;
    BackgroundText footer;
};

// The SW variables as they expand now (SWGradientFill, SWColorFrom, SWHeading,
// SWHeadingFont, ...). Empty variables give black, left alignment, no shadow
// and the default font.
BackgroundStyle readBackgroundStyle(const SetupModel& model);

// One full-width rectangle of the background, rows top to top + height - 1.
struct ColourBand {
    int top;
    int height;
    Colour colour;
};

// The height of the gradient's bands for a gradient part of gradientHeight
// rows: gradientHeight / 256 rounded half up, at least 1.
int gradientBandHeight(int gradientHeight);

// The colour of band number step: per channel (to * step + from * (255 - step))
// >> 8, so step 0 is from * 255 / 256 and each step moves 1/256 toward to.
// Steps beyond 255 (heights where the rounded band height gives more than 256
// bands) keep the colour of step 255, the gradient's last colour, instead of
// running past to and wrapping round; a step below 0 has the colour of step 0.
Colour gradientStepColour(Colour from, Colour to, int step);

// The rectangles that paint a vertical gradient over a client area of height
// rows, top first: the top sixth (height - height * 5 / 6 rows) in from, then
// bands of gradientBandHeight rows down to the bottom. The last band may reach
// past the bottom edge (the bitmap clips it). Empty for a height of 0 or less.
std::vector<ColourBand> gradientBands(int height, Colour from, Colour to);

#include "background_layout.h"

#include "registry_data.h"
#include "setup_model.h"

#include <algorithm>

Colour parseColour(const std::string& text) { return parseHexNumber(text); }

Alignment parseAlignment(const std::string& text) {
    if (text.empty())
        return Alignment::Left;
    switch (text[0]) {
    case '1': return Alignment::Centre;
    case '2': return Alignment::Right;
    default: return Alignment::Left;
    }
}

TextPlacement placeText(Alignment alignment, TextAnchor anchor, int width, int y) {
    unsigned vertical = anchor == TextAnchor::Top ? kTextAlignTop : kTextAlignBottom;
    switch (alignment) {
    case Alignment::Centre: return TextPlacement{width >> 1, y, kTextAlignCentre | vertical};
    case Alignment::Right: return TextPlacement{width - 20, y, kTextAlignRight | vertical};
    case Alignment::Left: break;
    }
    return TextPlacement{20, y, kTextAlignLeft | vertical};
}

namespace {

BackgroundText readText(const SetupModel& model, const std::string& name) {
    BackgroundText text;
    text.text = model.getVariable("SW" + name);
    text.font = model.fontSpec("SW" + name + "Font");
    text.colour = parseColour(model.getVariable("SW" + name + "Color"));
    text.alignment = parseAlignment(model.getVariable("SW" + name + "Alignment"));
    text.shadow = model.isTrue("SW" + name + "3D");
    return text;
}

}  // namespace

BackgroundStyle readBackgroundStyle(const SetupModel& model) {
    BackgroundStyle style;
    style.gradient = model.isTrue("SWGradientFill");
    style.colourFrom = parseColour(model.getVariable("SWColorFrom"));
    if (style.gradient)
        style.colourTo = parseColour(model.getVariable("SWColorTo"));
    style.heading = readText(model, "Heading");
    style.subheading = readText(model, "Subheading");
    style.footer = readText(model, "Footer");
    return style;
}

int gradientBandHeight(int gradientHeight) {
    // G / 256 + 0.5, rounded down, in integers.
    int band = (gradientHeight + 128) / 256;
    return band <= 1 ? 1 : band;
}

Colour gradientStepColour(Colour from, Colour to, int step) {
    const uint32_t k = static_cast<uint32_t>(std::clamp(step, 0, 255));
    Colour colour = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t f = (from >> shift) & 0xFF;
        uint32_t t = (to >> shift) & 0xFF;
        colour |= (((t * k + f * (255 - k)) >> 8) & 0xFF) << shift;
    }
    return colour;
}

std::vector<ColourBand> gradientBands(int height, Colour from, Colour to) {
    std::vector<ColourBand> bands;
    if (height <= 0)
        return bands;
    // The product first: the gradient part is five sixths of the height,
    // rounded down, and the rest above it stays in the first colour.
    const int gradient = static_cast<int>(static_cast<int64_t>(height) * 5 / 6);
    const int top = height - gradient;
    bands.push_back(ColourBand{0, top, from});
    const int band = gradientBandHeight(gradient);
    for (int step = 0, covered = 0; covered < gradient; ++step, covered += band)
        bands.push_back(ColourBand{top + covered, band, gradientStepColour(from, to, step)});
    return bands;
}

#include "gdi.h"

MemoryDC::MemoryDC(HDC compatibleWith, HGDIOBJ selected) : dc_(CreateCompatibleDC(compatibleWith)) {
    if (dc_ && selected)
        previous_ = SelectObject(dc_, selected);
}

MemoryDC::~MemoryDC() {
    if (!dc_)
        return;
    if (previous_ && previous_ != HGDI_ERROR)
        SelectObject(dc_, previous_);
    DeleteDC(dc_);
}

void Bitmap::reset() {
    if (bitmap_)
        DeleteObject(bitmap_);
    bitmap_ = nullptr;
}

bool Bitmap::loadFile(const char* path) {
    reset();
    bitmap_ = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    return bitmap_ != nullptr;
}

bool Bitmap::createCompatible(HDC dc, int width, int height) {
    reset();
    bitmap_ = CreateCompatibleBitmap(dc, width, height);
    return bitmap_ != nullptr;
}

SIZE Bitmap::size() const {
    BITMAP info = {};
    if (!bitmap_ || !GetObjectA(bitmap_, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void Bitmap::adopt(Bitmap& other) {
    if (&other == this)
        return;
    reset();
    bitmap_ = other.bitmap_;
    other.bitmap_ = nullptr;
}

Font& Font::operator=(Font&& other) noexcept {
    if (this != &other) {
        if (font_)
            DeleteObject(font_);
        font_ = other.font_;
        other.font_ = nullptr;
    }
    return *this;
}

void fillSolid(HDC dc, int x, int y, int width, int height, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush)
        return;
    HGDIOBJ previous = SelectObject(dc, brush);
    PatBlt(dc, x, y, width, height, PATCOPY);
    if (previous && previous != HGDI_ERROR)
        SelectObject(dc, previous);
    DeleteObject(brush);
}

void textOut(HDC dc, int x, int y, const std::string& text) {
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

LineMetrics lineMetrics(HDC dc) {
    TEXTMETRICA metrics = {};
    if (!GetTextMetricsA(dc, &metrics))
        return LineMetrics{0, 0};
    return LineMetrics{metrics.tmAveCharWidth, metrics.tmHeight + metrics.tmExternalLeading};
}

void blit(HDC target, const Bitmap& bitmap) {
    if (!bitmap.valid())
        return;
    SIZE size = bitmap.size();
    MemoryDC source(target, bitmap.get());
    BitBlt(target, 0, 0, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
}

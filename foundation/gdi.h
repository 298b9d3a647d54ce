#pragma once
// Scope owners for device contexts, bitmaps, fonts and drawing attributes, and
// the few drawing operations the windows need. Each owner releases what it
// acquired when it goes out of scope and can never be copied. Windows only.

#include <windows.h>

#include <string>

// The device context of a window's client area (GetDC, ReleaseDC).
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The paint context of one WM_PAINT (BeginPaint, EndPaint).
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC get() const { return dc_; }
    const PAINTSTRUCT& paintStruct() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// A memory context compatible with another context, with one object selected
// into it for its whole life. On release the object it replaced is selected
// back, so the selected object is free again, and the context is deleted.
class MemoryDC {
public:
    MemoryDC(HDC compatibleWith, HGDIOBJ selected);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

// One bitmap. Movable, never copied; DeleteObject when it goes.
class Bitmap {
public:
    Bitmap() = default;
    ~Bitmap() { reset(); }
    Bitmap(Bitmap&& other) noexcept : bitmap_(other.bitmap_) { other.bitmap_ = nullptr; }
    Bitmap& operator=(Bitmap&& other) noexcept {
        adopt(other);
        return *this;
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Deletes the bitmap held, then loads a .bmp file. True when a bitmap was
    // loaded; a missing file, a folder or another kind of file gives false and
    // leaves the object empty.
    bool loadFile(const char* path);
    // Deletes the bitmap held, then makes one compatible with dc. True on success.
    bool createCompatible(HDC dc, int width, int height);
    // Width and height in pixels; 0 and 0 when empty.
    SIZE size() const;
    // Deletes the own bitmap and takes the other's, leaving the other empty.
    void adopt(Bitmap& other);

    HBITMAP get() const { return bitmap_; }
    bool valid() const { return bitmap_ != nullptr; }

private:
    void reset();

    HBITMAP bitmap_ = nullptr;
};

// One font made from a LOGFONTA. Movable, never copied; DeleteObject when it
// goes. A font the system cannot make leaves the object empty (get() is null),
// which GDI then treats as "no new font".
class Font {
public:
    explicit Font(const LOGFONTA& description) : font_(CreateFontIndirectA(&description)) {}
    ~Font() {
        if (font_)
            DeleteObject(font_);
    }
    Font(Font&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
    Font& operator=(Font&& other) noexcept;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HFONT get() const { return font_; }
    bool valid() const { return font_ != nullptr; }

private:
    HFONT font_;
};

// The attribute savers: each sets one attribute of a context and sets the value
// it replaced back when it goes.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class SavedBkMode {
public:
    SavedBkMode(HDC dc, int mode) : dc_(dc), previous_(SetBkMode(dc, mode)) {}
    ~SavedBkMode() {
        if (previous_)
            SetBkMode(dc_, previous_);
    }
    SavedBkMode(const SavedBkMode&) = delete;
    SavedBkMode& operator=(const SavedBkMode&) = delete;

private:
    HDC dc_;
    int previous_;
};

class SavedTextColor {
public:
    SavedTextColor(HDC dc, COLORREF colour) : dc_(dc), previous_(SetTextColor(dc, colour)) {}
    ~SavedTextColor() {
        if (previous_ != CLR_INVALID)
            SetTextColor(dc_, previous_);
    }
    SavedTextColor(const SavedTextColor&) = delete;
    SavedTextColor& operator=(const SavedTextColor&) = delete;

private:
    HDC dc_;
    COLORREF previous_;
};

class SavedTextAlign {
public:
    SavedTextAlign(HDC dc, UINT flags) : dc_(dc), previous_(SetTextAlign(dc, flags)) {}
    ~SavedTextAlign() {
        if (previous_ != GDI_ERROR)
            SetTextAlign(dc_, previous_);
    }
    SavedTextAlign(const SavedTextAlign&) = delete;
    SavedTextAlign& operator=(const SavedTextAlign&) = delete;

private:
    HDC dc_;
    UINT previous_;
};

// Fills a rectangle with one COLORREF colour (PatBlt with a solid brush that is
// made, selected, selected out and deleted again).
void fillSolid(HDC dc, int x, int y, int width, int height, COLORREF colour);

// TextOutA of the whole text on one line at (x, y), as the text alignment of the
// context places it.
void textOut(HDC dc, int x, int y, const std::string& text);

// The selected font's average character width (tmAveCharWidth) and line height
// (tmHeight + tmExternalLeading); both 0 when the metrics cannot be read.
struct LineMetrics {
    int averageCharWidth;
    int lineHeight;
};
LineMetrics lineMetrics(HDC dc);

// Copies the whole bitmap to (0, 0) of target (SRCCOPY), through a memory
// context compatible with target. The bitmap must not be selected into another
// context at the time.
void blit(HDC target, const Bitmap& bitmap);

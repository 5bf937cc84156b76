#pragma once
// The drawing surface of sheets, cells and printed pages: text, lines, rectangles and polygons with a
// pen and a brush, and text measurement for layout. The desktop program implements it with Qt; tests
// record the calls. Colours are 0x00BBGGRR, or 0x80000000 plus a system colour number.
#include "cells/cmcCellCanvas.h"

#include <cstdint>
#include <span>
#include <string_view>

class cmcCanvas : public cmcCellCanvas {
public:
    struct Point {
        int32_t x = 0;
        int32_t y = 0;
        bool operator==(const Point&) const = default;
    };
    // Inclusive left/top, exclusive right/bottom, as cell rectangles are given.
    struct Rect {
        int32_t left = 0;
        int32_t top = 0;
        int32_t right = 0;
        int32_t bottom = 0;
        int32_t Width() const { return right - left; }
        int32_t Height() const { return bottom - top; }
        bool operator==(const Rect&) const = default;
    };
    enum class BrushStyle { Solid, Clear };

    // Pen for lines and outlines.
    virtual void SetPen(uint32_t color, int32_t width) = 0;
    // Brush for fills; Clear leaves the background as it is (also behind text).
    virtual void SetBrush(uint32_t color, BrushStyle style) = 0;
    virtual uint32_t BrushColor() const = 0;
    virtual BrushStyle GetBrushStyle() const = 0;

    // One line of text with its top-left corner at (x, y) in the current font; the pen position moves
    // to the end of the text.
    virtual void TextOut(int32_t x, int32_t y, std::string_view text) = 0;
    // As TextOut, clipped to clip.
    virtual void TextRect(const Rect& clip, int32_t x, int32_t y, std::string_view text) = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual Point PenPos() const = 0;
    // Fills with the brush, no outline.
    virtual void FillRect(const Rect& rect) = 0;
    // Outlined with the pen, filled with the brush.
    virtual void Rectangle(const Rect& rect) = 0;
    virtual void Polygon(std::span<const Point> points) = 0;

    // Size of one line of text in the current font.
    virtual int32_t TextWidth(std::string_view text) const = 0;
    virtual int32_t TextHeight(std::string_view text) const = 0;
};

#pragma once
// A measuring canvas without a display: every character is as wide as a fixed share of the font's
// height, every line as high as the font. Used by the command line, tests and benchmarks.
#include "cells/cmcCellFont.h"
#include "sheets/cmcMeasureCanvas.h"

class cmcFixedCanvas : public cmcMeasureCanvas {
public:
    void SetFont(const cmcCellFont& font) override { m_font = font; }
    int32_t FontSize() const override { return m_font.size; }
    // Pixels of one character and of one line in the current font.
    int32_t CharWidth() const;
    int32_t LineHeight() const;

    int32_t TextWidth(std::string_view text) const override;
    int32_t TextHeight(std::string_view text) const override;

    // Drawing is not recorded: this canvas only measures.
    uint32_t FontColor() const override { return m_fontColor; }
    void SetFontColor(uint32_t color) override { m_fontColor = color; }
    void SetBrushColor(uint32_t color) override { m_brush = color; }
    void SetPen(uint32_t, int32_t) override {}
    void SetBrush(uint32_t color, BrushStyle style) override {
        m_brush = color;
        m_style = style;
    }
    uint32_t BrushColor() const override { return m_brush; }
    BrushStyle GetBrushStyle() const override { return m_style; }
    void TextOut(int32_t x, int32_t y, std::string_view text) override { m_pen = {x + TextWidth(text), y}; }
    void TextRect(const Rect&, int32_t x, int32_t y, std::string_view text) override { TextOut(x, y, text); }
    void MoveTo(int32_t x, int32_t y) override { m_pen = {x, y}; }
    void LineTo(int32_t x, int32_t y) override { m_pen = {x, y}; }
    Point PenPos() const override { return m_pen; }
    void FillRect(const Rect&) override {}
    void Rectangle(const Rect&) override {}
    void Polygon(std::span<const Point>) override {}

private:
    cmcCellFont m_font;
    uint32_t m_fontColor = 0x80000008;
    uint32_t m_brush = 0x80000005;
    BrushStyle m_style = BrushStyle::Solid;
    Point m_pen;
};

#pragma once
// The drawing half of a measuring canvas: drawing calls keep the colours, brush and pen position
// and draw nothing. Measuring canvases (fixed-width, or the real fonts of the screen) derive from it
// and supply only the font and the text measurement.
#include "sheets/cmcMeasureCanvas.h"

class cmcMeasureOnlyCanvas : public cmcMeasureCanvas {
public:
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
    uint32_t m_fontColor = 0x80000008u;
    uint32_t m_brush = 0x80000005u;
    BrushStyle m_style = BrushStyle::Solid;
    Point m_pen;
};

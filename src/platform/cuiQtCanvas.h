#pragma once
// The cell canvas on a QPainter: pen, brush, font and text with a pen position, as cell painting and
// printing use them. The painter must outlive the canvas.
#include "cells/cmcFontCanvas.h"

#include <QFont>
#include <QPen>

class QPainter;
struct cmcCellFont;

class cuiQtCanvas : public cmcFontCanvas {
public:
    explicit cuiQtCanvas(QPainter& painter);

    // cmcCellCanvas
    uint32_t FontColor() const override { return m_fontColor; }
    void SetFontColor(uint32_t color) override { m_fontColor = color; }
    void SetBrushColor(uint32_t color) override { m_brushColor = color; }

    // cmcCanvas
    void SetPen(uint32_t color, int32_t width) override;
    void SetBrush(uint32_t color, BrushStyle style) override;
    uint32_t BrushColor() const override { return m_brushColor; }
    BrushStyle GetBrushStyle() const override { return m_brushStyle; }
    void TextOut(int32_t x, int32_t y, std::string_view text) override;
    void TextRect(const Rect& clip, int32_t x, int32_t y, std::string_view text) override;
    void MoveTo(int32_t x, int32_t y) override { m_pen = {x, y}; }
    void LineTo(int32_t x, int32_t y) override;
    Point PenPos() const override { return m_pen; }
    void FillRect(const Rect& rect) override;
    void Rectangle(const Rect& rect) override;
    void Polygon(std::span<const Point> points) override;
    int32_t TextWidth(std::string_view text) const override;
    int32_t TextHeight(std::string_view text) const override;

    // cmcFontCanvas
    void SetCellFont(const cmcCellFont& font) override;
    uint32_t ResolveColor(uint32_t color) const override;
    void SetFont(const QFont& font);
    const QFont& Font() const { return m_font; }
    QPainter& Painter() { return m_painter; }

private:
    void ApplyBrush();

    QPainter& m_painter;
    QFont m_font;
    uint32_t m_fontColor = 0x80000008u;
    uint32_t m_penColor = 0;
    int32_t m_penWidth = 1;
    uint32_t m_brushColor = 0x80000005u;
    BrushStyle m_brushStyle = BrushStyle::Solid;
    Point m_pen;
};

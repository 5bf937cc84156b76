#pragma once
// The cell canvas on a QPainter: pen, brush, font and text with a pen position, as cell painting and
// printing use them. The painter must outlive the canvas.
#include "cells/cmcCellFont.h"
#include "cells/cmcFontCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPen>
#include <QString>
#include <optional>
#include <string>
#include <unordered_map>

class QPainter;

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
    // The painter, for drawing the canvas does not offer; its font is set again before the next text.
    QPainter& Painter() {
        m_painterHasFont = false;
        return m_painter;
    }

private:
    void ApplyBrush();
    // The metrics of the current font, made once per font: sheets and pages measure every cell.
    const QFontMetrics& Metrics() const;

    QPainter& m_painter;
    QFont m_font;
    std::optional<cmcCellFont> m_cellFont; // the cell font m_font was made from, if any
    mutable std::optional<QFontMetrics> m_metrics;
    // Text widths by font: cells repeat the same few texts, and shaping a text is the dearest part.
    using Widths = std::unordered_map<std::string, int32_t>;
    mutable std::unordered_map<std::string, Widths> m_widthsByFont;
    mutable Widths* m_widths = nullptr;
    bool m_painterHasFont = false;
    uint32_t m_fontColor = 0x80000008u;
    uint32_t m_penColor = 0;
    int32_t m_penWidth = 1;
    uint32_t m_brushColor = 0x80000005u;
    BrushStyle m_brushStyle = BrushStyle::Solid;
    Point m_pen;
};

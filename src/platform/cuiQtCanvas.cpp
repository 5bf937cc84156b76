#include "platform/cuiQtCanvas.h"

#include "cells/cmcCellFont.h"
#include "platform/cuiQtColors.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <cstdlib>
#include <vector>

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

cuiQtCanvas::cuiQtCanvas(QPainter& painter) : m_painter(painter), m_font(painter.font()) {}

void cuiQtCanvas::SetPen(uint32_t color, int32_t width) {
    m_penColor = color;
    m_penWidth = width < 1 ? 1 : width;
}

void cuiQtCanvas::SetBrush(uint32_t color, BrushStyle style) {
    m_brushColor = color;
    m_brushStyle = style;
}

void cuiQtCanvas::SetCellFont(const cmcCellFont& font) {
    // Neighbouring cells mostly share their font; making a QFont for each one costs more than the text.
    if (!m_cellFont || !(*m_cellFont == font)) {
        SetFont(cuiQtColors::ToQFont(font));
        m_cellFont = font;
    }
    m_fontColor = font.color;
}

uint32_t cuiQtCanvas::ResolveColor(uint32_t color) const {
    return cuiQtColors::Resolve(color);
}

void cuiQtCanvas::SetFont(const QFont& font) {
    m_font = font;
    m_cellFont.reset();
    m_metrics.reset();
    m_widths = nullptr;
    m_painterHasFont = false;
}

const QFontMetrics& cuiQtCanvas::Metrics() const {
    if (!m_metrics)
        m_metrics.emplace(m_font);
    return *m_metrics;
}

void cuiQtCanvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    const QFontMetrics& fm = Metrics();
    const int width = TextWidth(text);
    if (m_brushStyle == BrushStyle::Solid)
        m_painter.fillRect(QRect(x, y, width, fm.height()), cuiQtColors::ToQColor(m_brushColor));
    m_pen = {x + width, y};
    // Blanks (the space an empty cell shows) leave no ink.
    if (text.find_first_not_of(' ') == std::string_view::npos)
        return;
    if (!m_painterHasFont) {
        m_painter.setFont(m_font);
        m_painterHasFont = true;
    }
    m_painter.setPen(cuiQtColors::ToQColor(m_fontColor));
    m_painter.drawText(QPoint(x, y + fm.ascent()), ToQString(text));
}

void cuiQtCanvas::TextRect(const Rect& clip, int32_t x, int32_t y, std::string_view text) {
    m_painter.save();
    m_painter.setClipRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()), Qt::IntersectClip);
    TextOut(x, y, text);
    m_painter.restore();
    m_painterHasFont = false; // the restore took the font back
}

void cuiQtCanvas::LineTo(int32_t x, int32_t y) {
    // Lines stop one pixel short of their end point, as cell rules expect.
    QColor color = cuiQtColors::ToQColor(m_penColor);
    int x0 = m_pen.x, y0 = m_pen.y;
    if (y0 == y && x0 != x) {
        int from = x > x0 ? x0 : x + 1;
        m_painter.fillRect(QRect(from, y0 - (m_penWidth - 1) / 2, std::abs(x - x0), m_penWidth), color);
    } else if (x0 == x && y0 != y) {
        int from = y > y0 ? y0 : y + 1;
        m_painter.fillRect(QRect(x0 - (m_penWidth - 1) / 2, from, m_penWidth, std::abs(y - y0)), color);
    } else if (x0 != x || y0 != y) {
        QPen pen(color);
        pen.setWidth(m_penWidth);
        pen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(pen);
        m_painter.drawLine(QPoint(x0, y0), QPoint(x, y));
    }
    m_pen = {x, y};
}

void cuiQtCanvas::FillRect(const Rect& rect) {
    if (m_brushStyle == BrushStyle::Clear || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                       cuiQtColors::ToQColor(m_brushColor));
}

void cuiQtCanvas::ApplyBrush() {
    if (m_brushStyle == BrushStyle::Clear)
        m_painter.setBrush(Qt::NoBrush);
    else
        m_painter.setBrush(cuiQtColors::ToQColor(m_brushColor));
    QPen pen(cuiQtColors::ToQColor(m_penColor));
    pen.setWidth(m_penWidth);
    m_painter.setPen(pen);
}

void cuiQtCanvas::Rectangle(const Rect& rect) {
    ApplyBrush();
    m_painter.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void cuiQtCanvas::Polygon(std::span<const Point> points) {
    ApplyBrush();
    QPolygon polygon;
    for (const Point& p : points)
        polygon << QPoint(p.x, p.y);
    m_painter.drawPolygon(polygon);
}

int32_t cuiQtCanvas::TextWidth(std::string_view text) const {
    constexpr size_t kMaxWidths = 4096;
    if (!m_widths) {
        m_widths = &m_widthsByFont[m_font.key().toStdString()];
    }
    if (m_widths->size() > kMaxWidths) {
        m_widths->clear();
    }
    const auto [at, added] = m_widths->try_emplace(std::string(text), 0);
    if (added) {
        at->second = Metrics().horizontalAdvance(ToQString(text));
    }
    return at->second;
}

int32_t cuiQtCanvas::TextHeight(std::string_view text) const {
    return Metrics().height();
}

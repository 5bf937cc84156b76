#include "platform/cuiQtMeasureCanvas.h"

#include "platform/cuiQtColors.h"

#include <QFontMetrics>

cuiQtMeasureCanvas::cuiQtMeasureCanvas() : m_font(cuiQtColors::ToQFont(m_cellFont)) {}

void cuiQtMeasureCanvas::SetFont(const cmcCellFont& font) {
    m_cellFont = font;
    m_font = cuiQtColors::ToQFont(font);
    SetFontColor(font.color);
}

int32_t cuiQtMeasureCanvas::TextWidth(std::string_view text) const {
    return QFontMetrics(m_font).horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int32_t cuiQtMeasureCanvas::TextHeight(std::string_view) const {
    return QFontMetrics(m_font).height();
}

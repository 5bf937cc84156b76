#include "gui/cuiStatusPanel.h"

#include "platform/cuiQtColors.h"

#include <QPainter>

cuiStatusPanel::cuiStatusPanel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void cuiStatusPanel::SetText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void cuiStatusPanel::SetColors(uint32_t text, uint32_t background) {
    m_textColor = text;
    m_backColor = background;
    update();
}

void cuiStatusPanel::SetCentred(bool on) {
    m_centred = on;
    update();
}

QSize cuiStatusPanel::sizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(m_text) + 8, fontMetrics().height() + 4);
}

void cuiStatusPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), cuiQtColors::ToQColor(m_backColor));
    p.setPen(cuiQtColors::ToQColor(m_textColor));
    const int flags = Qt::AlignVCenter | (m_centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::TextSingleLine;
    p.drawText(rect().adjusted(m_centred ? 0 : 2, 0, 0, 0), flags, m_text);
}

#include "gui/cuiCloneProgress.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

cuiCloneProgress::cuiCloneProgress(QWidget* mainWindow)
    : QDialog(mainWindow,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_main(mainWindow) {
    setWindowTitle(QStringLiteral("Cloning"));
    setFixedSize(kAreaWidth + 32, kAreaHeight + 32);
    setModal(false);
}

// The main window's contents are disabled, not the window itself: disabling a window disables the
// windows it owns as well, and the clone's own messages and password dialog must stay answerable.
void cuiCloneProgress::EnableMain(bool enabled) {
    if (!m_main)
        return;
    for (QObject* child : m_main->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow())
            widget->setEnabled(enabled);
    }
}

bool cuiCloneProgress::MainWindowEnabled() const {
    if (!m_main)
        return true;
    for (QObject* child : m_main->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && !widget->isEnabled())
            return false;
    }
    return true;
}

void cuiCloneProgress::SetMainWindowEnabled(bool enabled) {
    EnableMain(enabled);
}

void cuiCloneProgress::ShowProgress(int32_t total) {
    m_total = total;
    m_transferred = 0;
    if (m_main) {
        EnableMain(false);
        QPoint centre = m_main->geometry().center();
        move(centre.x() - width() / 2, centre.y() - height() / 2);
    }
    show();
    update();
}

void cuiCloneProgress::UpdateProgress(int32_t transferred, int32_t total) {
    m_transferred = transferred;
    m_total = total;
    update();
}

void cuiCloneProgress::HideProgress() {
    hide();
    if (m_main) {
        EnableMain(true);
        m_main->activateWindow();
    }
}

void cuiCloneProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect area(16, 8, kAreaWidth, kAreaHeight);
    // The lowered panel around the paint area.
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(area.left() - 1, area.top() - 1, area.right() + 1, area.top() - 1);
    p.drawLine(area.left() - 1, area.top() - 1, area.left() - 1, area.bottom() + 1);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(area.left() - 1, area.bottom() + 1, area.right() + 1, area.bottom() + 1);
    p.drawLine(area.right() + 1, area.top() - 1, area.right() + 1, area.bottom() + 1);
    const QColor window = palette().color(QPalette::Base);
    const QColor highlight = palette().color(QPalette::Highlight);
    p.fillRect(area, window);
    const int cell = (kAreaWidth + 1) / kCells;
    const int filled = FilledCells(m_transferred, m_total);
    for (int i = 0; i < kCells; ++i)
        p.fillRect(area.left() + i * cell, area.top(), cell - 1, kAreaHeight,
                   i < filled ? highlight : window);
}

void cuiCloneProgress::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void cuiCloneProgress::keyPressEvent(QKeyEvent* event) {
    // Escape would close a dialog; the clone decides when this window goes.
    event->accept();
}

#include "gui/cuiCloneProgress.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

namespace {

// The cell area sits at the top; the labels and the button follow below it.
constexpr int kAreaLeft = 16;
constexpr int kAreaTop = 8;

} // namespace

cuiCloneProgress::cuiCloneProgress(QWidget* mainWindow)
    : QDialog(mainWindow,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_main(mainWindow), m_operation(new QLabel(this)), m_transfer(new QLabel(this)),
      m_port(new QLabel(this)), m_cancelButton(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Cloning"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kAreaLeft, kAreaTop + kAreaHeight + 8, kAreaLeft, 8);
    layout->setSpacing(4);
    layout->addWidget(m_operation);
    layout->addWidget(m_transfer);
    layout->addWidget(m_port);
    layout->addWidget(m_cancelButton, 0, Qt::AlignRight);
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { RequestCancel(); });
    const int longest = fontMetrics().horizontalAdvance(
        QStringLiteral("888888/888888 bytes  88.8 kB/s  88:88 elapsed  88:88 left"));
    setFixedWidth(std::max(kAreaWidth, longest) + 2 * kAreaLeft);
}

int64_t cuiCloneProgress::Now() const {
    if (m_clock) {
        return m_clock();
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
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

void cuiCloneProgress::DescribeOperation(cmcCloneMode mode, const std::string& device, int32_t baud) {
    m_operation->setText(mode == cmcCloneMode::Write ? QStringLiteral("Writing to the radio")
                                                     : QStringLiteral("Reading from the radio"));
    m_port->setText(QStringLiteral("%1 at %2 baud").arg(QString::fromStdString(device)).arg(baud));
}

void cuiCloneProgress::ShowProgress(int32_t total) {
    m_total = total;
    m_transferred = 0;
    m_rate.Start(Now(), total);
    m_transfer->setText(QString::fromStdString(m_rate.Line()));
    m_cancelButton->setEnabled(true);
    adjustSize();
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
    m_rate.Update(Now(), transferred);
    m_transfer->setText(QString::fromStdString(m_rate.Line()));
    update();
}

void cuiCloneProgress::HideProgress() {
    hide();
    if (m_main) {
        EnableMain(true);
        m_main->activateWindow();
    }
}

QString cuiCloneProgress::OperationText() const {
    return m_operation->text();
}

QString cuiCloneProgress::TransferText() const {
    return m_transfer->text();
}

QString cuiCloneProgress::PortText() const {
    return m_port->text();
}

void cuiCloneProgress::RequestCancel() {
    if (!m_cancelButton->isEnabled()) {
        return; // already asked: the operation is ending
    }
    m_cancelButton->setEnabled(false);
    if (m_cancel) {
        m_cancel();
    }
}

void cuiCloneProgress::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect area(kAreaLeft, kAreaTop, kAreaWidth, kAreaHeight);
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
    for (int i = 0; i < kCells; ++i) {
        p.fillRect(area.left() + i * cell, area.top(), cell - 1, kAreaHeight,
                   i < filled ? highlight : window);
    }
}

void cuiCloneProgress::closeEvent(QCloseEvent* event) {
    // The title bar offers no close; a close from elsewhere must not leave the clone running unseen.
    event->ignore();
}

void cuiCloneProgress::keyPressEvent(QKeyEvent* event) {
    // Escape would close a dialog; here it stops the clone, which then hides this window.
    if (event->key() == Qt::Key_Escape) {
        RequestCancel();
    }
    event->accept();
}

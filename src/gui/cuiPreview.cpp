#include "gui/cuiPreview.h"

#include "core/cmcGTex.h"

#include <QApplication>
#include <QComboBox>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr int kTextButtonWidth = 70;
constexpr int kPageBoxWidth = 30;
constexpr int kStatusPanelWidth = 80;
constexpr int kSmallestFont = 8;
constexpr int kLargestFont = 12;

// A magnifying glass for the Zoom button: the style has no zoom icon.
QIcon ZoomIcon(const QPalette& palette) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette.color(QPalette::WindowText), 2));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return QIcon(pixmap);
}

// Characters the window lets through to the page number box; every other typed character is
// dropped, so that a stray letter never lands anywhere.
bool PassesKeyFilter(const QString& text) {
    if (text.isEmpty() || !text[0].isPrint() || text[0] == QLatin1Char(' ')) {
        return true; // Backspace, Escape, and Space that presses the focused button
    }
    const QChar c = text[0];
    return c.isDigit() || c == QLatin1Char('.') || (c >= QLatin1Char('!') && c <= QLatin1Char('('));
}

} // namespace

cuiPreview::cuiPreview(QWidget* owner, QPrinter& printer, cmcGTex& texts, int fontSize, Draw draw)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_printer(printer), m_texts(texts), m_fontSize(std::clamp(fontSize, kSmallestFont, kLargestFont)),
      m_draw(std::move(draw)) {
    setWindowTitle(Q(texts.GetLine("GI_Sys_AppTitle", 0)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    bar->setContentsMargins(4, 0, 0, 0);
    auto textButton = [&](Tool tool, const char* text) {
        auto* button = new QToolButton(bar);
        button->setText(QString::fromLatin1(text)); // "&" gives the Alt key
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setMinimumWidth(kTextButtonWidth);
        button->setFocusPolicy(Qt::StrongFocus);
        bar->addWidget(button);
        m_buttons[static_cast<int>(tool)] = button;
        return button;
    };
    auto toolButton = [&](Tool tool, const QIcon& icon, const char* hint) {
        auto* button = new QToolButton(bar);
        button->setIcon(icon);
        button->setToolTip(QString::fromLatin1(hint));
        button->setAccessibleName(QString::fromLatin1(hint));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
        bar->addWidget(button);
        m_buttons[static_cast<int>(tool)] = button;
        return button;
    };
    connect(textButton(Tool::Print, "&Print"), &QToolButton::clicked, this, [this] {
        m_decision = Decision::Print;
        accept();
    });
    bar->addSeparator();
    connect(textButton(Tool::Setting, "&Setting"), &QToolButton::clicked, this, [this] { OpenSetting(); });
    bar->addSeparator();
    QStyle* s = style();
    connect(toolButton(Tool::TopPage, s->standardIcon(QStyle::SP_MediaSkipBackward), "Top Page"),
            &QToolButton::clicked, this, [this] { GoToPage(0); });
    connect(toolButton(Tool::PreviousPage, s->standardIcon(QStyle::SP_MediaSeekBackward), "Previous Page"),
            &QToolButton::clicked, this, [this] { GoToPage(CurrentPage() - 1); });
    m_pageBox = new QLineEdit(QStringLiteral("1"), bar);
    m_pageBox->setMaxLength(3);
    m_pageBox->setFixedWidth(kPageBoxWidth);
    m_pageBox->setAlignment(Qt::AlignRight);
    m_pageBox->setAccessibleName(QStringLiteral("Page"));
    bar->addWidget(m_pageBox);
    m_pageLabel = new QLabel(QStringLiteral(" / 1"), bar);
    bar->addWidget(m_pageLabel);
    connect(toolButton(Tool::NextPage, s->standardIcon(QStyle::SP_MediaSeekForward), "Next Page"),
            &QToolButton::clicked, this, [this] { GoToPage(CurrentPage() + 1); });
    connect(toolButton(Tool::LastPage, s->standardIcon(QStyle::SP_MediaSkipForward), "Last Page"),
            &QToolButton::clicked, this, [this] { GoToPage(PageCount() - 1); });
    bar->addSeparator();
    QToolButton* zoom = toolButton(Tool::Zoom, ZoomIcon(palette()), "Zoom");
    zoom->setCheckable(true);
    connect(zoom, &QToolButton::toggled, this, [this](bool on) { SetZoom(on); });
    layout->addWidget(bar);

    m_view = new QPrintPreviewWidget(&m_printer, this);
    m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_view->fitInView();
    if (auto* graphics = m_view->findChild<QGraphicsView*>()) {
        graphics->setBackgroundBrush(QColor(0x55, 0x55, 0x55));
        graphics->setFrameShape(QFrame::Box);
    }
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) {
        if (m_draw && p) {
            m_draw(*p);
        }
    });
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, [this] { UpdateNavigation(); });
    layout->addWidget(m_view, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    m_statusPanel = new QLabel(QStringLiteral(" 1 / 1"), status);
    m_statusPanel->setFixedWidth(kStatusPanelWidth);
    m_statusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->addWidget(m_statusPanel);
    auto* second = new QLabel(status);
    second->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->addWidget(second, 1);
    layout->addWidget(status);

    // The page at screen size with a border around it, as far as the screen's work area allows.
    QScreen* screen = owner && owner->screen() ? owner->screen() : QApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSizeF paper = m_printer.pageLayout().fullRectPoints().size();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    const int width = static_cast<int>(paper.width() * dpi / 72.0) + 50;
    const int height = static_cast<int>(paper.height() * dpi / 72.0) + bar->sizeHint().height() +
                       status->sizeHint().height() + 50;
    // The window manager's frame and title come on top of the window's size.
    const int frame = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 16;
    resize(std::min(width, area.width() - 16), std::min(height, area.height() - frame));
    move(std::max(area.left(), area.left() + (area.width() - this->width()) / 2),
         std::max(area.top(), area.top() + (area.height() - this->height()) / 2));

    FilterKeys(this);
    UpdateNavigation();
}

void cuiPreview::FilterKeys(QWidget* widget) {
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

QToolButton* cuiPreview::Button(Tool tool) const {
    return m_buttons[static_cast<int>(tool)];
}

void cuiPreview::Render() {
    m_view->updatePreview();
    m_view->setCurrentPage(1);
    UpdateNavigation();
}

cuiPreview::Decision cuiPreview::Run() {
    m_decision = Decision::Close;
    GoToPage(0);
    m_pageBox->setFocus();
    exec();
    return m_decision;
}

int cuiPreview::PageCount() const {
    return m_view->pageCount();
}

int cuiPreview::CurrentPage() const {
    return std::max(0, m_view->currentPage() - 1);
}

void cuiPreview::GoToPage(int index) {
    const int last = std::max(0, PageCount() - 1);
    m_view->setCurrentPage(std::clamp(index, 0, last) + 1);
    UpdateNavigation();
}

void cuiPreview::UpdateNavigation() {
    const int count = PageCount();
    const int current = CurrentPage();
    Button(Tool::TopPage)->setEnabled(current > 0);
    Button(Tool::PreviousPage)->setEnabled(current > 0);
    Button(Tool::NextPage)->setEnabled(current + 1 < count);
    Button(Tool::LastPage)->setEnabled(current + 1 < count);
    const int shown = count > 0 ? current + 1 : 0;
    m_pageBox->setText(QString::number(shown));
    m_pageBox->end(false);
    m_pageLabel->setText(QStringLiteral(" / %1").arg(count));
    m_statusPanel->setText(QStringLiteral(" %1 / %2").arg(shown).arg(count));
}

void cuiPreview::GoToTypedPage() {
    bool ok = false;
    const int typed = m_pageBox->text().trimmed().toInt(&ok);
    if (!ok) {
        UpdateNavigation(); // not a number: the box shows the page again
        return;
    }
    GoToPage(typed - 1);
}

bool cuiPreview::Zoomed() const {
    return Button(Tool::Zoom)->isChecked();
}

void cuiPreview::SetZoom(bool on) {
    const int page = CurrentPage();
    if (on) {
        m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_view->setZoomFactor(1.0); // the page at its size on the screen
    } else {
        m_view->fitInView();
    }
    // The zoomed page shows from its top left corner: turning the page scrolls there.
    const int count = PageCount();
    if (count > 1) {
        m_view->setCurrentPage((page + 1) % count + 1);
    } else if (auto* graphics = m_view->findChild<QGraphicsView*>()) {
        graphics->verticalScrollBar()->setValue(graphics->verticalScrollBar()->minimum());
        graphics->horizontalScrollBar()->setValue(graphics->horizontalScrollBar()->minimum());
    }
    GoToPage(page);
}

bool cuiPreview::Scroll(int key) {
    auto* graphics = m_view->findChild<QGraphicsView*>();
    if (!Zoomed() || !graphics) {
        return false;
    }
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    QScrollBar* bar = vertical ? graphics->verticalScrollBar() : graphics->horizontalScrollBar();
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    bar->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderSingleStepSub);
    return true;
}

bool cuiPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != this) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) {
        return QDialog::eventFilter(watched, event);
    }
    switch (key->key()) {
    case Qt::Key_PageUp:
        GoToPage(CurrentPage() - 1);
        return true;
    case Qt::Key_PageDown:
        GoToPage(CurrentPage() + 1);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!Scroll(key->key())) {
            GoToPage(CurrentPage() + (key->key() == Qt::Key_Down ? 1 : -1));
        }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        return Scroll(key->key());
    case Qt::Key_Return:
    case Qt::Key_Enter:
        GoToTypedPage();
        return true;
    default:
        return !PassesKeyFilter(key->text());
    }
}

void cuiPreview::SetFontSize(int points) {
    m_fontSize = std::clamp(points, kSmallestFont, kLargestFont);
    if (onFontSize) {
        onFontSize(m_fontSize);
    }
    Render();
}

void cuiPreview::OpenSetting() {
    QDialog dialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QStringLiteral("Setting"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* label = new QLabel(QStringLiteral("Font Size: "), &dialog);
    auto* sizes = new QComboBox(&dialog);
    for (int i = 1; i <= kLargestFont - kSmallestFont + 1; ++i) {
        sizes->addItem(QString::number(i));
    }
    sizes->setCurrentIndex(m_fontSize - kSmallestFont);
    sizes->setMinimumWidth(2 * sizes->fontMetrics().horizontalAdvance(QStringLiteral("WWW")));
    label->setBuddy(sizes);
    row->addWidget(label);
    row->addWidget(sizes);
    row->addStretch(1);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    auto* ok = new QPushButton(Q(m_texts.GetLine("GI_AppInd_Button_OkCancel", 0)), &dialog);
    auto* cancel = new QPushButton(Q(m_texts.GetLine("GI_AppInd_Button_OkCancel", 1)), &dialog);
    const QFontMetrics metrics = ok->fontMetrics();
    const int width = metrics.horizontalAdvance(Q(m_texts.GetLine("GI_AppInd_Opt_ComSel_SizeOfButtons", 0)));
    for (QPushButton* button : {ok, cancel}) {
        button->setMinimumSize(width, 2 * metrics.height());
        buttons->addWidget(button);
    }
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    layout->addLayout(buttons);
    dialog.adjustSize();
    dialog.move(geometry().center() - dialog.rect().center());
    sizes->setFocus();
    if (dialog.exec() == QDialog::Accepted) {
        SetFontSize(sizes->currentIndex() + kSmallestFont);
    }
    m_pageBox->setFocus();
}

#include "gui/cuiEditorWindow.h"

#include "core/cmcGTex.h"
#include "gui/cuiGrid.h"
#include "sheets/indFlector.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

cuiEditorWindow::cuiEditorWindow(QWidget* owner, const cmcCellCapsule& opener, cmcGTex* texts)
    : QFrame(owner, Qt::Popup) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    m_opener.CopyCapsule(opener);
    m_opener.groupIndex = opener.groupIndex;
    if (texts && texts->HasKey("GI_Sys_AppTitle")) {
        setWindowTitle(QString::fromStdString(texts->GetLine("GI_Sys_AppTitle", 0)));
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(5);
    m_client = new QVBoxLayout;
    m_client->setContentsMargins(0, 0, 0, 0);
    m_client->setSpacing(4);
    layout->addLayout(m_client, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    const bool named = texts && texts->HasKey("GI_AppInd_Button_OkCancel");
    m_ok = new QPushButton(named ? QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 0))
                                 : QStringLiteral("OK"),
                           this);
    m_cancel = new QPushButton(named ? QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 1))
                                     : QStringLiteral("Cancel"),
                               this);
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    m_cancel->setAutoDefault(true);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &cuiEditorWindow::Confirm);
    connect(m_cancel, &QPushButton::clicked, this, &cuiEditorWindow::Cancel);
    WatchKeys(m_ok);
    WatchKeys(m_cancel);

    // The opening cell on the screen: its rectangle is given in the owner grid's viewport.
    if (owner) {
        auto* grid = qobject_cast<cuiGrid*>(owner);
        QWidget* area = grid ? grid->viewport() : owner;
        const cmcCellCapsule::Rect& r = opener.cellRect;
        m_cell = QRect(area->mapToGlobal(QPoint(r.left, r.top)), QSize(r.right - r.left, r.bottom - r.top));
    }
}

cuiEditorWindow::~cuiEditorWindow() = default;

void cuiEditorWindow::WatchKeys(QWidget* child) {
    child->installEventFilter(this);
}

void cuiEditorWindow::UpdateOk() {
    m_ok->setEnabled(Acceptable());
}

void cuiEditorWindow::Open(const QRect& workArea) {
    UpdateOk();
    Place(workArea);
    show();
    // Showing polishes the content, which may change its size: the window is placed again for it.
    Place(workArea);
    raise();
    activateWindow();
}

void cuiEditorWindow::Place(const QRect& workArea) {
    // The size the content asks for, within the work area.
    layout()->activate();
    const QSize wanted = sizeHint().expandedTo(minimumSizeHint());
    resize(std::min(wanted.width(), workArea.width()), std::min(wanted.height(), workArea.height()));
    indFlector::Rect cell{m_cell.left(), m_cell.top(), m_cell.left() + m_cell.width(),
                          m_cell.top() + m_cell.height()};
    indFlector::Rect work{workArea.left(), workArea.top(), workArea.left() + workArea.width(),
                          workArea.top() + workArea.height()};
    const indFlector::Point at = indFlector::Place(cell, width(), height(), work);
    move(at.x, at.y);
}

void cuiEditorWindow::Answer() {
    if (m_answered || m_cancelled || !Acceptable()) {
        return;
    }
    m_answered = true;
    if (onAnswer) {
        onAnswer(m_opener, Result());
    }
}

void cuiEditorWindow::Confirm() {
    Answer();
    if (m_answered) {
        close();
    }
}

void cuiEditorWindow::Cancel() {
    m_cancelled = true;
    close();
}

void cuiEditorWindow::closeEvent(QCloseEvent* event) {
    // However the window goes (a click elsewhere closes a pop-up), what it holds is answered unless
    // it was cancelled.
    Answer();
    QFrame::closeEvent(event);
}

bool cuiEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

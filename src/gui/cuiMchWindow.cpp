#include "gui/cuiMchWindow.h"

#include "app/indEnviron.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "core/cmcEeprom.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcEvRec.h"
#include "core/cmcGTex.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "sheets/cuiSheetEnv.h"
#include "sheets/iuiSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using L = indLayout;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

Qt::DockWidgetArea AreaOf(int32_t align) {
    switch (align) {
    case 1:
        return Qt::TopDockWidgetArea;
    case 2:
        return Qt::BottomDockWidgetArea;
    case 3:
        return Qt::LeftDockWidgetArea;
    default:
        return Qt::RightDockWidgetArea; // no side stored: beside the sheet
    }
}

int32_t AlignOf(Qt::DockWidgetArea area) {
    switch (area) {
    case Qt::TopDockWidgetArea:
        return 1;
    case Qt::BottomDockWidgetArea:
        return 2;
    case Qt::LeftDockWidgetArea:
        return 3;
    case Qt::RightDockWidgetArea:
        return 4;
    default:
        return 0;
    }
}

// A rectangle moved, where needed, so that its title bar stays on the screen's work area.
QRect OnWorkArea(QRect r) {
    QScreen* screen = QApplication::primaryScreen();
    if (!screen) {
        return r;
    }
    const QRect area = screen->availableGeometry();
    r.setWidth(std::min(r.width(), area.width()));
    r.setHeight(std::min(r.height(), area.height()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() + 1 - r.height()));
    return r;
}

} // namespace

std::string cuiMchWindow::SheetKey(int modelType, bool voting) {
    std::string key = voting ? "GI_Sheet_Mch_Win_dPMR_VOTE_" : "GI_Sheet_Mch_Win_dPMR_CONV_";
    return key + (modelType == 1 ? "PMR" : "LMR");
}

cuiMchWindow::cuiMchWindow(const Services& services, int32_t bank, int32_t channel)
    : QDockWidget(services.owner), m_s(services), m_bank(std::clamp(bank, 0, L::kGroups - 1)),
      m_channel(std::clamp(channel, 0, L::kChannels)) {
    setObjectName(QStringLiteral("MchWindow"));
    setWindowTitle(Q(m_s.texts->GetLine("GI_Sys_AppTitle", 0)));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);

    m_body = new QWidget(this);
    auto* layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new QFrame(m_body);
    client->setFrameShape(QFrame::Panel);
    client->setFrameShadow(QFrame::Raised);
    client->setLineWidth(2);
    m_client = new QVBoxLayout(client);
    m_client->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(client, 1);

    auto* panel = new QFrame(m_body);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(5, 5, 5, 5);
    cmcGTex& tex = *m_s.texts;
    m_next = new QPushButton(Q(tex.GetLine("GI_AppInd_MchWin_Button", 1)), panel);
    m_previous = new QPushButton(Q(tex.GetLine("GI_AppInd_MchWin_Button", 2)), panel);
    m_keepFloating = new QCheckBox(Q(tex.GetLine("GI_AppInd_MchWin_Button", 3)), panel);
    m_close = new QPushButton(Q(tex.GetLine("GI_AppInd_MchWin_Button", 0)), panel);
    for (QPushButton* b : {m_next, m_previous, m_close}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
    }
    m_close->setToolTip(QStringLiteral("Esc"));
    buttons->addWidget(m_next);
    buttons->addWidget(m_previous);
    buttons->addWidget(m_keepFloating);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    layout->addWidget(panel);
    setWidget(m_body);

    connect(m_next, &QPushButton::clicked, this, [this] { Next(); });
    connect(m_previous, &QPushButton::clicked, this, [this] { Previous(); });
    connect(m_close, &QPushButton::clicked, this, [this] { close(); });
    // Ctrl+Page Down and Ctrl+Page Up step through the bank wherever the focus is in the window.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this, nullptr, nullptr,
                               Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] { Next(); });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this, nullptr, nullptr,
                                   Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, [this] { Previous(); });
    m_next->setToolTip(next->key().toString(QKeySequence::NativeText));
    m_previous->setToolTip(previous->key().toString(QKeySequence::NativeText));
    // Escape drops an edit in progress first, then closes the window.
    auto* escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_view && m_view->EditorVisible()) {
            m_view->CloseEditor(false);
        } else {
            close();
        }
    });
    m_keepFloating->setChecked(m_s.env->dockFloatCheck != 0);
    connect(m_keepFloating, &QCheckBox::toggled, this, [this](bool on) {
        // Kept floating, the window cannot be docked by dragging it over the main window.
        m_s.env->dockFloatCheck = on ? 1 : 0;
        setAllowedAreas(on ? Qt::NoDockWidgetArea : Qt::AllDockWidgetAreas);
        if (on && !isFloating()) {
            setFloating(true);
        }
    });
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) { FloatingChanged(floating); });
    connect(this, &QDockWidget::dockLocationChanged, this,
            [this](Qt::DockWidgetArea area) { DockSideChanged(area); });

    m_key = ChosenKey();
    m_settingsName = m_key;
    m_s.events->Register(&cuiMchWindow::OnEvent, this);
    BuildSheet();
    ApplyPlacement();
}

cuiMchWindow::~cuiMchWindow() {
    m_s.events->Unregister(&cuiMchWindow::OnEvent, this);
    if (m_view) {
        // Choice lists and editors opened from the window's cells close with it.
        m_s.events->Send(cmcEv::ControlDestroyed, 0, reinterpret_cast<intptr_t>(&m_view->Grid()));
        m_view->CloseEditor(true);
    }
    if (m_s.handler) {
        m_s.handler->mchWindowChannel = -1;
        m_s.handler->mchWindowBank = -1;
    }
    m_s.env->mchWindowOpened = 0;
    m_s.events->Send(cmcEv::RefreshCommands);
}

std::string cuiMchWindow::ChosenKey() const {
    // The data model knows no voting bank: every bank shows the conventional sheet.
    return SheetKey(m_s.sheetEnv().modelType, false);
}

void cuiMchWindow::BuildSheet() {
    int col = -1, row = -1;
    if (m_view) {
        col = m_view->Grid().Col();
        row = m_view->Grid().Row();
        m_s.events->Send(cmcEv::ControlDestroyed, 0, reinterpret_cast<intptr_t>(&m_view->Grid()));
        m_view->CloseEditor(true);
        delete m_view;
    }
    m_key = ChosenKey();
    auto sheet = std::make_unique<iuiSheet>(m_s.sheetEnv(), m_key);
    sheet->SetSheetText(m_key);
    sheet->Show();
    // Every channel cell of the window shows the window's channel.
    for (int32_t r = 0; r < sheet->RowCount(); ++r) {
        for (int32_t c = 0; c < sheet->ColCount(); ++c) {
            cmcCellObj& cell = sheet->Cell(c, r);
            if (cell.category == CT_Mch_Win || cell.cell == CL_MchWin_No) {
                cell.parameter = m_channel;
            }
        }
    }
    if (m_s.handler) {
        m_s.handler->mchWindowChannel = m_channel;
        m_s.handler->mchWindowBank = m_bank;
    }
    m_view = new cuiSheetView(std::move(sheet), m_s.handler, m_client->parentWidget());
    m_view->SetChoiceLists(m_s.lists);
    m_view->FitValueColumns();
    if (m_s.wireView) {
        m_s.wireView(*m_view);
    }
    m_client->addWidget(m_view);
    if (row >= 0 && m_view->Selectable(col, row)) {
        m_view->MoveTo(col, row);
    }
    m_view->show();
}

void cuiMchWindow::Refresh() {
    if (ChosenKey() != m_key) {
        BuildSheet();
    }
    if (!m_view) {
        return;
    }
    cuiSheet& sheet = m_view->Sheet();
    for (int32_t r = 0; r < sheet.RowCount(); ++r) {
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            cmcCellObj& cell = sheet.Cell(c, r);
            if (cell.category == CT_Mch_Win || cell.cell == CL_MchWin_No) {
                cell.parameter = m_channel;
            }
        }
    }
    if (m_s.handler) {
        m_s.handler->mchWindowChannel = m_channel;
        m_s.handler->mchWindowBank = m_bank;
    }
    m_view->CloseEditor(true);
    m_view->Grid().InvalidateGrid();
}

void cuiMchWindow::Redraw() {
    if (m_view) {
        m_view->Grid().InvalidateGrid();
    }
}

bool cuiMchWindow::Next() {
    const cmcEeprom* work = m_s.sheetEnv().work;
    if (!work || work->GetSize() < L::kWorkSize) {
        return false;
    }
    const int32_t last = L::GroupStart(work->Data(), m_bank) + L::GroupCount(work->Data(), m_bank) - 1;
    // The step after the last channel reaches the bank's blank row, which adds a channel.
    if (m_channel > last || m_channel >= L::kChannels) {
        return false;
    }
    ++m_channel;
    Refresh();
    Step(+1);
    return true;
}

bool cuiMchWindow::Previous() {
    const cmcEeprom* work = m_s.sheetEnv().work;
    if (!work || work->GetSize() < L::kWorkSize) {
        return false;
    }
    if (m_channel <= L::GroupStart(work->Data(), m_bank)) {
        return false;
    }
    --m_channel;
    Refresh();
    Step(-1);
    return true;
}

void cuiMchWindow::Step(int delta) {
    if (!m_s.moveBankRow || !m_s.moveBankRow(delta, m_channel)) {
        m_pending += delta;
    }
}

int32_t cuiMchWindow::TakePendingSteps() {
    const int32_t steps = m_pending;
    m_pending = 0;
    return steps;
}

void cuiMchWindow::FollowBank(int32_t bank) {
    const cmcEeprom* work = m_s.sheetEnv().work;
    if (bank == m_bank || bank < 0 || bank >= L::kGroups || !work || work->GetSize() < L::kWorkSize) {
        return;
    }
    m_bank = bank;
    m_channel = L::GroupStart(work->Data(), bank);
    Refresh();
}

void cuiMchWindow::FollowChannel(int32_t channel) {
    if (channel == m_channel || channel < 0 || channel > L::kChannels) {
        return;
    }
    m_channel = channel;
    Refresh();
}

void cuiMchWindow::ApplyPlacement() {
    indEnviron& env = *m_s.env;
    if (const indWinPos* pos = env.FindWindowPosition(m_settingsName);
        pos && pos->width > 0 && pos->height > 0) {
        m_floatRect = OnWorkArea(QRect(pos->left, pos->top, pos->width, pos->height));
    } else {
        // As wide as the sheet needs, half the screen high, centred on the main window.
        QWidget* owner = m_s.owner;
        const int width = SheetWidth();
        const int height =
            QApplication::primaryScreen() ? QApplication::primaryScreen()->size().height() / 2 : 400;
        QRect r(0, 0, width, height);
        if (owner) {
            r.moveCenter(owner->frameGeometry().center());
        }
        m_floatRect = OnWorkArea(r);
    }
    if (m_s.owner) {
        const Qt::DockWidgetArea area = AreaOf(env.alignCheck);
        m_s.owner->addDockWidget(area, this);
        // Docked beside the sheet, the window is as wide as its sheet, leaving the sheet at least half.
        if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea) {
            m_s.owner->resizeDocks({this}, {std::min(SheetWidth(), m_s.owner->width() / 2)}, Qt::Horizontal);
        }
    }
    if (env.dockFloatCheck) {
        setAllowedAreas(Qt::NoDockWidgetArea);
    }
    m_keepFloating->setVisible(env.floatingCheck != 0 || env.dockFloatCheck != 0);
    if (env.floatingCheck || env.dockFloatCheck) {
        setFloating(true);
        setGeometry(m_floatRect);
    }
    env.mchDockPending = 0;
}

int cuiMchWindow::SheetWidth() const {
    int width = 0;
    if (m_view) {
        for (int c = 0; c < m_view->Grid().ColCount(); ++c) {
            width += m_view->Grid().ColWidth(c);
        }
    }
    // The grid's scroll bar and frames, the client panel's bevel and margins.
    width += style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
             4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 40;
    return std::max(width, m_body ? m_body->minimumSizeHint().width() : 0);
}

void cuiMchWindow::FloatingChanged(bool floating) {
    m_s.env->floatingCheck = floating ? 1 : 0;
    m_keepFloating->setVisible(floating);
    if (floating && m_floatRect.isValid()) {
        setGeometry(m_floatRect);
    }
}

void cuiMchWindow::DockSideChanged(Qt::DockWidgetArea area) {
    if (const int32_t align = AlignOf(area)) {
        m_s.env->alignCheck = align;
    }
}

void cuiMchWindow::moveEvent(QMoveEvent* event) {
    QDockWidget::moveEvent(event);
    if (isFloating() && isVisible()) {
        m_floatRect = geometry();
    }
}

void cuiMchWindow::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    if (isFloating() && isVisible()) {
        m_floatRect = geometry();
    }
}

void cuiMchWindow::StorePlacement() {
    const QRect r = isFloating() ? geometry() : m_floatRect;
    int32_t col = -1, row = -1, left = -1, top = -1;
    if (m_view) {
        col = m_view->Grid().Col();
        row = m_view->Grid().Row();
        left = m_view->Grid().LeftCol();
        top = m_view->Grid().TopRow();
    }
    if (r.width() > 0 && r.height() > 0) {
        m_s.env->SetWindowPosition(m_settingsName, r.left(), r.top(), r.width(), r.height(), col, row, left,
                                   top, 0, isVisible() ? 1 : 0);
    }
}

void cuiMchWindow::Shutdown() {
    m_shutdown = true;
    StorePlacement();
}

void cuiMchWindow::closeEvent(QCloseEvent* event) {
    // Closed by the user the view goes off; a program shutdown keeps it on for the next start.
    if (!m_shutdown) {
        m_s.env->mchViewOn = 0;
    }
    StorePlacement();
    event->accept();
    QDockWidget::closeEvent(event);
    if (!m_shutdown && m_s.closed) {
        m_s.closed();
    }
}

void cuiMchWindow::OnEvent(void* context, const cmcEvRec& event) {
    auto* self = static_cast<cuiMchWindow*>(context);
    switch (event.type) {
    case cmcEv::ControlDestroyed:
        if (event.p2 == reinterpret_cast<intptr_t>(self->m_s.owner)) {
            self->close();
        }
        break;
    case cmcEv::CloseMchWindow:
        self->close();
        break;
    case cmcEv::RedrawAll:
    case cmcEv::RedrawMchWindow:
        self->Redraw();
        break;
    case cmcEv::RefreshMchWindow:
        self->Refresh();
        break;
    case cmcEv::RelayoutMchWindow:
        self->BuildSheet();
        self->StorePlacement();
        break;
    case cmcEv::MchFollowBank:
        self->FollowBank(static_cast<int32_t>(event.p2));
        break;
    case cmcEv::MchFollowChannel:
        self->FollowChannel(static_cast<int32_t>(event.p2));
        break;
    case cmcEv::MchForget:
        self->m_bank = 0;
        self->m_channel = 0;
        self->Refresh();
        break;
    case cmcEv::AskMchPosition:
        self->m_s.events->Answer(self->m_bank, self->m_channel);
        break;
    case cmcEv::AskMchPendingBank:
        self->m_s.events->Answer(self->TakePendingSteps(), 0);
        break;
    case cmcEv::RedrawIndex:
        // An edit here changed the window's channel: the sheet beside shows it too.
        if (event.p2 == self->m_channel && self->m_s.repaintSheet) {
            self->m_s.repaintSheet();
        }
        break;
    default:
        break;
    }
}

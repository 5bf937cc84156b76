#include "gui/cuiRptWindow.h"

#include "app/indEnviron.h"
#include "cells/cmcCellNumber.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcEvRec.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "model/indBankKind.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indRptList.h"
#include "sheets/cuiSheetEnv.h"
#include "sheets/iuiSh_Mch.h"
#include "sheets/iuiSheetFactory.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

bool Trunking(const uint8_t* work, int32_t group) {
    return indBankKind::Of(work, group) == indBankKind::Kind::Trunking;
}

} // namespace

std::string cuiRptWindow::SheetText(const uint8_t* work, int32_t group) {
    return std::string(Trunking(work, group) ? "GI_Sheet_RptSetWin_VORN" : "GI_Sheet_RptSetWin") + ",R 9," +
           std::to_string(group);
}

cuiRptWindow::cuiRptWindow(const Services& services, int32_t group)
    : QDialog(services.owner), m_s(services), m_group(std::clamp(group, 0, indLayout::kGroups - 1)),
      m_snapshot(*services.work) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setSizeGripEnabled(true);
    // The rest of the program waits while the list is edited.
    setWindowModality(Qt::ApplicationModal);
    const std::string text = SheetText(m_s.work->Data(), m_group);
    m_kind = Trunking(m_s.work->Data(), m_group) ? indRptList::kTrunkRepeaters : indRptList::kRepeaters;
    m_settingsName = text.substr(0, text.find(','));

    // Registered before the sheet: the sheet adds or removes its rows first, then the grid follows.
    m_s.events->Register(&cuiRptWindow::OnEvent, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new QFrame(this);
    client->setFrameShape(QFrame::Panel);
    client->setFrameShadow(QFrame::Sunken);
    client->setLineWidth(2);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(8, 8, 8, 8);
    m_view = new cuiSheetView(iuiSheetFactory::Build(m_s.sheetEnv(), text), m_s.handler, client);
    m_view->SetChoiceLists(m_s.lists);
    m_view->FitValueColumns();
    m_view->onRowCommand = m_s.rowCommand;
    m_view->rowCommandApplies = m_s.rowCommandApplies;
    clientLayout->addWidget(m_view);
    layout->addWidget(client, 1);

    auto* panel = new QFrame(this);
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(5, 5, 5, 5);
    buttons->setSpacing(5);
    m_ok = new QPushButton(Q(m_s.texts->GetLine("GI_AppInd_Button_OkCancel", 0)), panel);
    m_cancel = new QPushButton(Q(m_s.texts->GetLine("GI_AppInd_Button_OkCancel", 1)), panel);
    // Enter belongs to the grid's cells: neither button is the default.
    for (QPushButton* b : {m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addWidget(panel);
    connect(m_ok, &QPushButton::clicked, this, &cuiRptWindow::accept);
    connect(m_cancel, &QPushButton::clicked, this, &cuiRptWindow::reject);
    // Ctrl+Enter is OK from anywhere in the window (Enter itself edits the cells).
    auto* keep = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    connect(keep, &QShortcut::activated, this, &cuiRptWindow::accept);
    m_ok->setToolTip(keep->key().toString(QKeySequence::NativeText));
    m_cancel->setToolTip(QStringLiteral("Esc"));
    // Escape drops an edit in progress first, then is Cancel.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_view && m_view->EditorVisible()) {
            m_view->CloseEditor(false);
        } else {
            reject();
        }
    });

    // The cursor starts on the first repeater's receive frequency (on the blank row of an empty list),
    // where typing makes or changes an entry.
    if (auto* list = dynamic_cast<iuiSh_Mch*>(&m_view->Sheet())) {
        m_view->MoveToCell(-1, m_kind == indRptList::kTrunkRepeaters ? CL_Rpt_VORN_FreqR : CL_Rpt_FreqR,
                           list->FirstEntry());
    }
    setWindowTitle(Q(m_view->Sheet().Title()));
    UpdateTitle();

    // Placement: as stored, or as wide as the sheet needs and half the screen high, over the owner.
    QRect r;
    if (const indWinPos* pos = m_s.env->FindWindowPosition(m_settingsName);
        pos && pos->width > 0 && pos->height > 0) {
        r = QRect(pos->left, pos->top, pos->width, pos->height);
    } else {
        const int height =
            QApplication::primaryScreen() ? QApplication::primaryScreen()->size().height() / 2 : 400;
        int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * 8 + 40;
        for (int c = 0; c < m_view->Grid().ColCount(); ++c) {
            width += m_view->Grid().ColWidth(c);
        }
        r = QRect(0, 0, std::max(360, width), height);
        if (m_s.owner) {
            r.moveCenter(m_s.owner->frameGeometry().center());
        }
    }
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        r.setWidth(std::min(r.width(), area.width()));
        r.setHeight(std::min(r.height(), area.height()));
        r.moveLeft(std::clamp(r.left(), area.left(), area.right() + 1 - r.width()));
        r.moveTop(std::clamp(r.top(), area.top(), area.bottom() + 1 - r.height()));
    }
    resize(r.size());
    move(r.topLeft());
    setMinimumSize(4 * m_ok->sizeHint().width() + 7 * 5 - 1, 8 * panel->sizeHint().height());
    m_view->Grid().setFocus();
}

cuiRptWindow::~cuiRptWindow() {
    m_s.events->Unregister(&cuiRptWindow::OnEvent, this);
    if (m_view) {
        m_s.events->Send(cmcEv::ControlDestroyed, 0, reinterpret_cast<intptr_t>(&m_view->Grid()));
        m_view->CloseEditor(true);
    }
}

bool cuiRptWindow::Changed() const {
    return !(*m_s.work == m_snapshot);
}

void cuiRptWindow::accept() {
    if (m_view) {
        m_view->CloseEditor(true);
    }
    Finish(QDialog::Accepted, false);
}

void cuiRptWindow::reject() {
    if (m_finished) {
        return;
    }
    if (m_view) {
        m_view->CloseEditor(true);
    }
    const bool changed = Changed();
    if (changed) {
        cmcGTex& tex = *m_s.texts;
        const auto answer =
            m_s.box->Show(tex.GetJoinedText("GI_Mess_Confirm_Repeater"), tex.GetLine("GI_Sys_AppTitle", 0),
                          cmcMessageBox::Icon::Warning, cmcMessageBox::Buttons::OkCancel);
        if (answer != cmcMessageBox::Answer::Ok) {
            return; // back to the list
        }
        // The whole image as it was: the list, its group sizes and what refers to its entries.
        *m_s.work = m_snapshot;
    }
    Finish(QDialog::Rejected, changed);
}

void cuiRptWindow::Finish(int result, bool restored) {
    if (m_finished) {
        return;
    }
    m_finished = true;
    StorePlacement();
    QDialog::done(result);
    m_s.events->Post(cmcEv::RedrawAll);
    m_s.events->Send(cmcEv::RefreshCommands);
    if (m_s.closed) {
        m_s.closed(restored);
    }
}

void cuiRptWindow::UpdateTitle() {
    if (!m_view || !m_view->TitleBar()) {
        return;
    }
    indRptList list(*m_s.work, m_kind);
    cmcGTex& tex = *m_s.texts;
    char text[512];
    std::snprintf(
        text, sizeof text, " %s - %s:%3d  (%4d %s)", m_view->Sheet().TitleText().value_or("").c_str(),
        tex.GetText("GI_AppInd_Sheet_Title_Site").c_str(), m_group + 1,
        std::max(0, list.Capacity() - list.Total()), tex.GetText("GI_AppInd_Sheet_Title_LeftCH").c_str());
    m_view->TitleBar()->setText(Q(text));
}

void cuiRptWindow::StorePlacement() {
    const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
    int32_t col = -1, row = -1, left = -1, top = -1;
    if (m_view) {
        col = m_view->Grid().Col();
        row = m_view->Grid().Row();
        left = m_view->Grid().LeftCol();
        top = m_view->Grid().TopRow();
    }
    m_s.env->SetWindowPosition(m_settingsName, r.left(), r.top(), r.width(), r.height(), col, row, left, top,
                               isMaximized() ? 2 : 0, 0);
}

void cuiRptWindow::OnEvent(void* context, const cmcEvRec& event) {
    auto* self = static_cast<cuiRptWindow*>(context);
    switch (event.type) {
    case cmcEv::CommitEdit:
        self->accept();
        break;
    case cmcEv::AddRows:
    case cmcEv::RemoveRows:
        if (self->m_view) {
            self->m_view->SyncRows();
            self->m_view->FitValueColumns(); // a new entry's texts may be wider than the blank row's
        }
        self->UpdateTitle();
        break;
    case cmcEv::RedrawAll:
    case cmcEv::RefreshRepeaterWindow:
        if (self->m_view) {
            self->m_view->Grid().InvalidateGrid();
        }
        self->UpdateTitle();
        break;
    default:
        break;
    }
}

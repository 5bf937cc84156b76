#include "gui/cuiCellWindows.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceCodecs.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcEvRec.h"
#include "core/cmcGTex.h"
#include "gui/cuiBitEditor.h"
#include "gui/cuiCharEditor.h"
#include "gui/cuiEditorWindow.h"
#include "gui/cuiFlector.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "gui/cuiTextEditor.h"
#include "sheets/indFlector.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// OK and Cancel in the overlay's words.
QDialogButtonBox* OkCancel(QDialog* dialog, cmcGTex* texts) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    if (texts && texts->HasKey("GI_AppInd_Button_OkCancel")) {
        buttons->button(QDialogButtonBox::Ok)
            ->setText(QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 0)));
        buttons->button(QDialogButtonBox::Cancel)
            ->setText(QString::fromStdString(texts->GetLine("GI_AppInd_Button_OkCancel", 1)));
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::string AppTitle(cmcGTex* texts) {
    return texts && texts->HasKey("GI_Sys_AppTitle") ? texts->GetLine("GI_Sys_AppTitle", 0) : std::string();
}

} // namespace

cuiCellWindows::cuiCellWindows(const cuiSheetEnv& env) : m_env(env), m_events(env.events) {
    if (m_events) {
        m_events->Register(&cuiCellWindows::OnEvent, this);
    }
}

void cuiCellWindows::SetEnv(const cuiSheetEnv& env) {
    if (env.texts != m_env.texts) {
        m_segments.reset(); // another language may draw its characters otherwise
    }
    m_env = env;
    m_env.events = m_events;
}

void cuiCellWindows::OnEvent(void* context, const cmcEvRec& event) {
    auto* self = static_cast<cuiCellWindows*>(context);
    if (event.type != cmcEv::CommitEdit) {
        return;
    }
    // The lists close; an editor answers what it holds.
    if (self->m_list) {
        self->m_list->close();
    }
    if (auto* editor = qobject_cast<cuiEditorWindow*>(self->m_editor.data())) {
        editor->Confirm();
    }
}

cuiFlector* cuiCellWindows::List() const {
    return m_list.data();
}

cuiCellWindows::~cuiCellWindows() {
    if (m_events) {
        m_events->Unregister(&cuiCellWindows::OnEvent, this);
    }
    CloseAll();
}

void cuiCellWindows::CloseAll() {
    if (m_list) {
        m_list->close();
    }
    if (auto* editor = qobject_cast<cuiEditorWindow*>(m_editor.data())) {
        editor->Cancel();
    } else if (auto* dialog = qobject_cast<QDialog*>(m_editor.data())) {
        dialog->reject();
    }
}

QWidget* cuiCellWindows::Owner(const cmcCellCapsule* opener) const {
    // A capsule on the grid has the grid as its owner control.
    if (!opener || !opener->onGrid) {
        return nullptr;
    }
    return static_cast<cuiGrid*>(opener->ownerControl);
}

QRect cuiCellWindows::WorkArea() const {
    if (workArea) {
        return workArea();
    }
    QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

const cmcSegChar& cuiCellWindows::Segments() {
    if (!m_segments) {
        m_segments = m_env.texts ? cmcSegChar::FromTexts(*m_env.texts) : cmcSegChar();
    }
    return *m_segments;
}

void cuiCellWindows::OpenList(const cmcCellCapsule* opener, std::string_view listName, int32_t choiceCell,
                              int32_t value) {
    QWidget* owner = Owner(opener);
    if (!owner || !m_env.texts) {
        return; // a list answers a cell on a grid; without one there is nothing to answer
    }
    CloseAll();
    // A list of a radio data list's entries offers the entries there are, with what they hold.
    const indFlector::DataList* data = indFlector::DataListOf(choiceCell);
    m_list = new cuiFlector(owner, m_env, m_handler, *opener, std::string(listName), choiceCell, value, data);
    m_list->View().onActionBegin = [this, cell = opener->cell](int32_t, int, int) {
        if (onAnswerBegin)
            onAnswerBegin(cell);
    };
    m_list->View().onActionEnd = [this] {
        if (onAnswerEnd)
            onAnswerEnd();
    };
    m_list->Open(WorkArea());
}

void cuiCellWindows::Answer(const cmcCellCapsule& opener, const std::string& text) {
    if (!m_handler) {
        return;
    }
    cmcCellObj answerCell;
    answerCell.cell = cmcChoiceCodecs::kAnswerCell;
    cmcCellCapsule scratch;
    scratch.cell = &answerCell;
    cmcCellCapsule answer;
    answer.CopyCapsule(opener);
    answer.groupIndex = opener.groupIndex;
    answer.link = &scratch;
    answer.editState = cmcCellCapsule::kEditChosen;
    answer.key = 0;
    answer.command = 0;
    answer.enteredText = text;
    if (onAnswerBegin)
        onAnswerBegin(opener.cell);
    m_handler->CallCell(answer, cmcCellHandler::kNotifyAction);
    if (onAnswerEnd)
        onAnswerEnd();
}

void cuiCellWindows::OpenBits(const cmcCellCapsule* opener, int32_t value, int32_t first, int32_t last,
                              int32_t labelStyle, std::string_view title) {
    QWidget* owner = Owner(opener);
    if (!owner || !m_env.texts || last < first || last - first > 30) {
        return;
    }
    CloseAll();
    cuiBitEditor::Setup setup;
    setup.value = value;
    setup.first = first;
    setup.last = last;
    setup.labelStyle = labelStyle;
    setup.markStyle = cuiBitEditor::kMarkTick;
    setup.title = std::string(title);
    auto* editor = new cuiBitEditor(owner, *opener, m_env, m_handler, setup);
    editor->onAnswer = [this](const cmcCellCapsule& cell, const std::string& text) { Answer(cell, text); };
    m_editor = editor;
    editor->Open(WorkArea());
}

void cuiCellWindows::OpenDisplayText(const cmcCellCapsule* opener, std::string_view text, bool selectAll,
                                     int32_t maxLength, const uint8_t* userGlyphs, bool wide) {
    QWidget* owner = Owner(opener);
    if (!owner || !m_env.texts) {
        return;
    }
    CloseAll();
    cuiTextEditor::Setup setup;
    setup.text = std::string(text);
    setup.selectAll = selectAll;
    setup.maxLength = maxLength;
    setup.userPatterns = userGlyphs;
    setup.wide = wide;
    auto* editor = new cuiTextEditor(owner, *opener, m_env, m_handler, Segments(), setup);
    editor->onAnswer = [this](const cmcCellCapsule& cell, const std::string& answer) {
        Answer(cell, answer);
    };
    m_editor = editor;
    editor->Open(WorkArea());
}

void cuiCellWindows::OpenCharEditor(const cmcCellCapsule* opener, int32_t pattern) {
    QWidget* owner = Owner(opener);
    if (!owner) {
        return;
    }
    CloseAll();
    auto* editor = new cuiCharEditor(owner, *opener, m_env.texts, Segments(), static_cast<uint32_t>(pattern));
    editor->onAnswer = [this](const cmcCellCapsule& cell, const std::string& answer) {
        Answer(cell, answer);
    };
    m_editor = editor;
    // Beside the cell, kept on the work area.
    editor->adjustSize();
    const cmcCellCapsule::Rect& r = opener->cellRect;
    auto* grid = qobject_cast<cuiGrid*>(owner);
    QWidget* area = grid ? grid->viewport() : owner;
    const QPoint cellTopLeft = area->mapToGlobal(QPoint(r.left, r.top));
    const QRect work = WorkArea();
    const QSize size = editor->frameGeometry().size().expandedTo(editor->sizeHint());
    indFlector::Point at =
        indFlector::Place({cellTopLeft.x(), cellTopLeft.y(), cellTopLeft.x() + (r.right - r.left),
                           cellTopLeft.y() + (r.bottom - r.top)},
                          size.width(), size.height(),
                          {work.left(), work.top(), work.left() + work.width(), work.top() + work.height()});
    editor->move(at.x, at.y);
    editor->show();
    editor->raise();
    editor->activateWindow();
    editor->Box()->setFocus();
}

bool cuiCellWindows::AskPassword(const cmcCellCapsule* opener, std::string& password) {
    QDialog dialog(Owner(opener));
    dialog.setWindowTitle(QString::fromStdString(AppTitle(m_env.texts)));
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit(&dialog);
    edit->setEchoMode(QLineEdit::Password);
    layout->addWidget(edit);
    layout->addWidget(OkCancel(&dialog, m_env.texts));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    password = edit->text().toStdString();
    return true;
}

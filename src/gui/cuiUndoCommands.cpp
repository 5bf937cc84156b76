#include "gui/cuiUndoCommands.h"

#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "core/cmcEeprom.h"
#include "core/cmcGTex.h"
#include "core/cmcText.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

namespace {

// A caption as a step's name: one line, without its menu accelerator marks.
std::string Caption(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                out += text[++i];
            continue;
        }
        if (c == '\n' || c == '\r') {
            // "Band-\nwidth" is one word; other lines join with a blank.
            if (!out.empty() && out.back() != '-' && out.back() != ' ')
                out += ' ';
            continue;
        }
        out += c;
    }
    const size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

} // namespace

cuiUndoCommands::cuiUndoCommands(const Services& services, QWidget* window) : QObject(window), m_s(services) {
    m_history.Clear(*m_s.work, true);
    m_undo = new QAction(this);
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(this);
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {m_undo, m_redo}) {
        // In the window, so that the keys act while the Edit menu is closed.
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    // A line edit with the focus (the in-place cell editor) keeps the keys for its own typing.
    connect(m_undo, &QAction::triggered, this, [this] {
        if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            edit->undo();
        else
            Undo();
    });
    connect(m_redo, &QAction::triggered, this, [this] {
        if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            edit->redo();
        else
            Redo();
    });
    UpdateActions();
}

void cuiUndoCommands::Begin(const std::string& label) {
    if (m_depth++ > 0)
        return;
    // An action held open by its editor goes on when the editor's text comes to the same cell;
    // anything else is an action of its own.
    if (m_held && label == m_label)
        return;
    if (m_held) {
        Record(m_label);
        m_held = false;
    }
    if (!(*m_s.work == m_history.State()))
        Record(StepName(kEdit));
    m_label = label;
}

void cuiUndoCommands::End() {
    if (m_depth <= 0 || --m_depth > 0)
        return;
    if (m_s.editing && m_s.editing() && !(*m_s.work == m_history.State())) {
        m_held = true;
        return;
    }
    m_held = false;
    Record(m_label);
}

void cuiUndoCommands::Sync() {
    if (m_depth > 0)
        return;
    if (m_held) {
        if (m_s.editing && m_s.editing())
            return;
        m_held = false;
        Record(m_label);
        return;
    }
    if (!(*m_s.work == m_history.State()))
        Record(StepName(kEdit));
}

void cuiUndoCommands::Record(const std::string& label) {
    if (!m_history.Record(m_history.State(), *m_s.work, label.empty() ? StepName(kEdit) : label))
        return;
    UpdateActions();
    if (m_s.changed)
        m_s.changed();
}

bool cuiUndoCommands::Undo() {
    if (m_depth > 0 || (m_s.busy && m_s.busy()))
        return false;
    if (m_s.settle)
        m_s.settle();
    Sync();
    if (!m_history.CanUndo() || m_depth > 0 || m_held)
        return false;
    Restore(m_history.Undo());
    return true;
}

bool cuiUndoCommands::Redo() {
    if (m_depth > 0 || (m_s.busy && m_s.busy()))
        return false;
    if (m_s.settle)
        m_s.settle();
    Sync();
    if (!m_history.CanRedo() || m_depth > 0 || m_held)
        return false;
    Restore(m_history.Redo());
    return true;
}

void cuiUndoCommands::Restore(const cmcEeprom* image) {
    if (!image)
        return;
    *m_s.work = *image;
    if (m_s.restored)
        m_s.restored();
    UpdateActions();
    if (m_s.changed)
        m_s.changed();
}

void cuiUndoCommands::Clear(bool saved) {
    m_held = false;
    m_history.Clear(*m_s.work, saved);
    UpdateActions();
    if (m_s.changed)
        m_s.changed();
}

void cuiUndoCommands::Saved() {
    m_history.MarkSaved(*m_s.work);
    UpdateActions();
    if (m_s.changed)
        m_s.changed();
}

std::string cuiUndoCommands::StepName(Name name) {
    return m_s.texts->GetLine("GI_Undo_Steps", name);
}

std::string cuiUndoCommands::CellEditName(const cuiSheet& sheet, int col, int row) {
    if (col < 0 || row < 0 || col >= sheet.ColCount() || row >= sheet.RowCount())
        return StepName(kEdit);
    std::string caption;
    // A setting is named by the text standing before it in its row; a list's value by its column.
    for (int c = col - 1; c >= 0 && caption.empty(); --c) {
        const cmcCellObj& cell = sheet.CellAt(c, row).cell;
        if (!cell.HasCell() && !(cell.markFlags & cmcCellObj::kSelectable))
            caption = Caption(cell.displayText);
    }
    if (row >= sheet.FixedRows())
        for (int r = sheet.FixedRows() - 1; r >= 0 && caption.empty(); --r)
            caption = Caption(sheet.CellAt(col, r).cell.displayText);
    return caption.empty() ? StepName(kEdit) : cmcText::FillIn(StepName(kEditNamed), {caption});
}

std::string cuiUndoCommands::CommandName(int32_t command, const cuiSheet& sheet, int col, int row) {
    switch (command) {
    case CL_PMenu_Paste:
        return StepName(kPaste);
    case CL_PMenu_Clear:
        return StepName(kClear);
    case CL_PMenu_Delete:
        return StepName(kDelete);
    case CL_PMenu_Insert:
        return StepName(kInsert);
    case CL_PMenu_CarryUp:
        return StepName(kMoveUp);
    case CL_PMenu_CarryDown:
        return StepName(kMoveDown);
    case cuiSheetView::kCutRows:
        return StepName(kCut);
    default:
        return CellEditName(sheet, col, row);
    }
}

std::string cuiUndoCommands::MenuText(int line, int namedLine, const std::string& label) {
    if (label.empty())
        return m_s.texts->GetLine("GI_Undo_Menu", line);
    // An ampersand of the name shows as itself.
    return cmcText::FillIn(m_s.texts->GetLine("GI_Undo_Menu", namedLine), {cmcText::DoubleAmpersands(label)});
}

void cuiUndoCommands::UpdateActions() {
    m_undo->setEnabled(m_history.CanUndo());
    m_redo->setEnabled(m_history.CanRedo());
    m_undo->setText(QString::fromStdString(MenuText(0, 2, m_history.CanUndo() ? m_history.UndoLabel() : "")));
    m_redo->setText(QString::fromStdString(MenuText(1, 3, m_history.CanRedo() ? m_history.RedoLabel() : "")));
}

void cuiUndoCommands::AddToMenu(QMenu* menu) {
    UpdateActions();
    QAction* first = menu->actions().value(0);
    menu->insertAction(first, m_undo);
    menu->insertAction(first, m_redo);
    if (first)
        menu->insertSeparator(first);
}

#include "gui/cuiSelectionEdit.h"

#include "cells/cmcCodecText.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcGTex.h"
#include "core/cmcMessageBox.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "gui/cuiUndoCommands.h"
#include "model/indCellHandler.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiCellTyping.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QVBoxLayout>

namespace {

constexpr uint32_t kRefusalText = 0x000000C0u; // dark red, as a single cell's refusal
constexpr uint32_t kClWindowText = 0x80000008u;
constexpr uint32_t kClBtnFace = 0x8000000Fu;
constexpr size_t kBoxLines = 20; // refusals listed in the box; the status bar names them all

// Lines of GI_Select_Texts.
enum TextLine {
    kSelectFirst,
    kBoxIntro,
    kRowLine,
    kEmptyRow,
    kStill,
    kNoStep,
    kStatus,
    kRowNumber,
    kMore,
    kStepFillDown,
    kStepFillSeries,
};
// Lines of GI_Select_Series.
enum SeriesLine {
    kTitle,
    kStartFrequency,
    kStepFrequency,
    kStartNumber,
    kStepNumber,
    kBadStartFrequency,
    kBadStepFrequency,
    kBadStartNumber,
    kBadStepNumber,
    kBelowZero,
    kNoSeries,
    kIntro,
};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string Plain(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r')
            c = ' ';
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A menu text without its mnemonic marks.
std::string NoMnemonic(std::string s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size() && s[i + 1] != '&')
            continue;
        out += s[i];
    }
    return out;
}

void Status(cuiSheetView& view, uint32_t color, const std::string& text) {
    if (cmcEvMan* events = view.Sheet().Env().events)
        events->SendText(cmcEv::StatusText, color, kClBtnFace, text);
}

} // namespace

cuiSelectionEdit::cuiSelectionEdit(const Services& services, QWidget* window)
    : QObject(window), m_s(services), m_window(window) {
    m_fillDown = new QAction(Q(Line("GI_Select_Menu", 0)), this);
    m_fillDown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_fillSeries = new QAction(Q(Line("GI_Select_Menu", 1)), this);
    m_fillSeries->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    for (QAction* action : {m_fillDown, m_fillSeries}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    connect(m_fillDown, &QAction::triggered, this, [this] { FillDown(); });
    connect(m_fillSeries, &QAction::triggered, this, [this] { FillSeries(); });
}

std::string cuiSelectionEdit::Line(const char* key, int line) {
    return m_s.texts->GetLine(key, line);
}

void cuiSelectionEdit::AddToMenu(QMenu* menu) {
    menu->addSeparator();
    menu->addAction(m_fillDown);
    menu->addAction(m_fillSeries);
}

void cuiSelectionEdit::Wire(cuiSheetView& view) {
    cuiSheetView* target = &view;
    view.onRangeText = [this, target](int col, int row, const std::string& text) {
        return ApplyText(*target, col, row, text);
    };
    view.onRangeKey = [this, target](int32_t key) { return ApplyKey(*target, key); };
}

std::vector<iuiSelectionEdit::Target> cuiSelectionEdit::Targets(cuiSheetView& view, int col) {
    std::vector<iuiSelectionEdit::Target> targets;
    cuiSheet& sheet = view.Sheet();
    for (int row : view.SelectedRows(col)) {
        iuiSelectionEdit::Target t;
        t.row = row;
        t.cell = sheet.Cell(col, row);
        // The row's name is what its leading column shows (the channel's number).
        t.rowName = Plain(iuiCellTyping::Shown(*m_s.handler, &sheet, sheet.Cell(0, row)));
        if (t.rowName.empty())
            t.rowName = cmcCodecText::Fill(Line("GI_Select_Texts", kRowNumber),
                                           {std::to_string(row - view.Grid().FixedRows() + 1)});
        targets.push_back(std::move(t));
    }
    return targets;
}

bool cuiSelectionEdit::ApplyText(cuiSheetView& view, int col, int row, const std::string& text) {
    const std::vector<iuiSelectionEdit::Target> targets = Targets(view, col);
    if (targets.size() < 2)
        return false;
    cuiUndoCommands::Action step(*m_s.undo, m_s.undo->CellEditName(view.Sheet(), col, row));
    iuiSelectionEdit edit(*m_s.handler, *m_s.codecs, &view.Sheet());
    const iuiSelectionEdit::Result result = edit.Type(targets, text);
    view.Grid().InvalidateGrid();
    Report(view, result, targets.size());
    return true;
}

bool cuiSelectionEdit::ApplyKey(cuiSheetView& view, int32_t key) {
    const int col = view.Grid().Col(), row = view.Grid().Row();
    const std::vector<iuiSelectionEdit::Target> targets = Targets(view, col);
    if (targets.size() < 2)
        return false;
    iuiSelectionEdit::Result result;
    {
        cuiUndoCommands::Action step(*m_s.undo, m_s.undo->CellEditName(view.Sheet(), col, row));
        iuiSelectionEdit edit(*m_s.handler, *m_s.codecs, &view.Sheet());
        result = edit.Step(targets, key);
    }
    bool typing = result.changed == 0;
    for (const iuiSelectionEdit::Refusal& r : result.refused)
        typing = typing && r.why == iuiSelectionEdit::Refusal::kNoStep;
    if (typing)
        return false; // cells of text: the key begins typing in the current cell
    view.Grid().InvalidateGrid();
    Report(view, result, targets.size());
    return true;
}

cuiSheetView* cuiSelectionEdit::SelectionView() {
    const std::vector<cuiSheetView*> views = m_s.views ? m_s.views() : std::vector<cuiSheetView*>();
    cuiSheetView* view = views.empty() ? nullptr : views.front();
    if (view && view->EditorVisible())
        view->CommitEditor();
    if (view && view->SelectedRows(view->Grid().Col()).size() >= 2)
        return view;
    m_s.box->Show(Line("GI_Select_Texts", kSelectFirst), Line("GI_Sys_AppTitle", 0),
                  cmcMessageBox::Icon::Information, cmcMessageBox::Buttons::Ok);
    return nullptr;
}

bool cuiSelectionEdit::FillDown() {
    cuiSheetView* view = SelectionView();
    if (!view)
        return false;
    const std::vector<iuiSelectionEdit::Target> targets = Targets(*view, view->Grid().Col());
    iuiSelectionEdit::Result result;
    {
        cuiUndoCommands::Action step(*m_s.undo, NoMnemonic(Line("GI_Select_Texts", kStepFillDown)));
        iuiSelectionEdit edit(*m_s.handler, *m_s.codecs, &view->Sheet());
        result = edit.FillDown(targets);
    }
    view->Grid().InvalidateGrid();
    Report(*view, result, targets.size() - 1);
    return true;
}

bool cuiSelectionEdit::SeriesKind(cuiSheetView& view, iuiSelectionEdit::Series& kind, std::string& top) {
    const int col = view.Grid().Col();
    const std::vector<int> rows = view.SelectedRows(col);
    cuiSheet& sheet = view.Sheet();
    std::string header;
    for (int r = 0; r < view.Grid().FixedRows(); ++r)
        header += sheet.Cell(col, r).displayText + " ";
    top = rows.empty() ? std::string()
                       : Plain(iuiCellTyping::Shown(*m_s.handler, &sheet, sheet.Cell(col, rows[0])));
    return iuiSelectionEdit::SeriesKindOf(header, top, kind);
}

bool cuiSelectionEdit::SeriesFor(cuiSheetView& view, const std::string& start, const std::string& step,
                                 std::vector<std::string>& texts, std::string& error) {
    iuiSelectionEdit::Series kind{};
    std::string top;
    if (!SeriesKind(view, kind, top)) {
        error = Line("GI_Select_Series", kNoSeries);
        return false;
    }
    const bool frequency = kind == iuiSelectionEdit::Series::kFrequency;
    iuiSelectionEdit::SeriesError wrong{};
    if (iuiSelectionEdit::SeriesTexts(kind, start, step, view.SelectedRows(view.Grid().Col()).size(), texts,
                                      wrong))
        return true;
    switch (wrong) {
    case iuiSelectionEdit::SeriesError::kStart:
        error = Line("GI_Select_Series", frequency ? kBadStartFrequency : kBadStartNumber);
        break;
    case iuiSelectionEdit::SeriesError::kStep:
        error = Line("GI_Select_Series", frequency ? kBadStepFrequency : kBadStepNumber);
        break;
    default:
        error = Line("GI_Select_Series", kBelowZero);
        break;
    }
    return false;
}

bool cuiSelectionEdit::ApplySeries(const std::string& start, const std::string& step, std::string& error) {
    const std::vector<cuiSheetView*> views = m_s.views ? m_s.views() : std::vector<cuiSheetView*>();
    cuiSheetView* view = views.empty() ? nullptr : views.front();
    if (!view || view->SelectedRows(view->Grid().Col()).size() < 2) {
        error = Line("GI_Select_Texts", kSelectFirst);
        return false;
    }
    std::vector<std::string> texts;
    if (!SeriesFor(*view, start, step, texts, error))
        return false;
    const std::vector<iuiSelectionEdit::Target> targets = Targets(*view, view->Grid().Col());
    iuiSelectionEdit::Result result;
    {
        cuiUndoCommands::Action action(*m_s.undo, NoMnemonic(Line("GI_Select_Texts", kStepFillSeries)));
        iuiSelectionEdit edit(*m_s.handler, *m_s.codecs, &view->Sheet());
        result = edit.TypeEach(targets, texts);
    }
    view->Grid().InvalidateGrid();
    Report(*view, result, targets.size());
    return true;
}

void cuiSelectionEdit::FillSeries() {
    cuiSheetView* view = SelectionView();
    if (!view)
        return;
    iuiSelectionEdit::Series kind{};
    std::string top;
    if (!SeriesKind(*view, kind, top)) {
        m_s.box->Show(Line("GI_Select_Series", kNoSeries), Line("GI_Sys_AppTitle", 0),
                      cmcMessageBox::Icon::Information, cmcMessageBox::Buttons::Ok);
        return;
    }
    const bool frequency = kind == iuiSelectionEdit::Series::kFrequency;
    const size_t count = view->SelectedRows(view->Grid().Col()).size();

    QDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("fillSeries"));
    dialog.setWindowTitle(Q(Line("GI_Select_Series", kTitle)));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        Q(cmcCodecText::Fill(Line("GI_Select_Series", kIntro), {std::to_string(count)})), &dialog));
    auto* form = new QFormLayout();
    auto* start = new QLineEdit(Q(top), &dialog);
    start->setObjectName(QStringLiteral("start"));
    auto* step = new QLineEdit(frequency ? QStringLiteral("12.5") : QStringLiteral("1"), &dialog);
    step->setObjectName(QStringLiteral("step"));
    form->addRow(Q(Line("GI_Select_Series", frequency ? kStartFrequency : kStartNumber)), start);
    form->addRow(Q(Line("GI_Select_Series", frequency ? kStepFrequency : kStepNumber)), step);
    layout->addLayout(form);
    auto* error = new QLabel(&dialog);
    error->setObjectName(QStringLiteral("error"));
    error->setWordWrap(true);
    QPalette palette = error->palette();
    palette.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    error->setPalette(palette);
    error->hide();
    layout->addWidget(error);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // A wrong field keeps the dialog open with what to type; the cells are filled once it closes.
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        std::vector<std::string> texts;
        std::string message;
        if (SeriesFor(*view, start->text().toStdString(), step->text().toStdString(), texts, message)) {
            dialog.accept();
            return;
        }
        error->setText(Q(message));
        error->show();
    });
    start->selectAll();
    start->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::string message;
    if (!ApplySeries(start->text().toStdString(), step->text().toStdString(), message))
        m_s.box->Show(message, Line("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Warning,
                      cmcMessageBox::Buttons::Ok);
}

void cuiSelectionEdit::Answering(const cmcCellObj* cell) {
    m_answering = nullptr;
    const std::vector<cuiSheetView*> views = m_s.views ? m_s.views() : std::vector<cuiSheetView*>();
    for (cuiSheetView* view : views) {
        if (!view || !view->HasRange())
            continue;
        const int col = view->Grid().Col(), row = view->Grid().Row();
        if (&view->Sheet().Cell(col, row) == cell) {
            m_answering = cell;
            m_shownBefore = iuiCellTyping::Shown(*m_s.handler, &view->Sheet(), *cell);
        }
    }
}

void cuiSelectionEdit::Answered() {
    const cmcCellObj* cell = m_answering;
    m_answering = nullptr;
    if (!cell)
        return;
    const std::vector<cuiSheetView*> views = m_s.views ? m_s.views() : std::vector<cuiSheetView*>();
    for (cuiSheetView* view : views) {
        if (!view || !view->HasRange())
            continue;
        const int col = view->Grid().Col(), row = view->Grid().Row();
        if (&view->Sheet().Cell(col, row) != cell)
            continue;
        // Only a choice the current cell took goes to the others.
        const std::string shown = iuiCellTyping::Shown(*m_s.handler, &view->Sheet(), *cell);
        if (shown == m_shownBefore)
            return;
        std::vector<iuiSelectionEdit::Target> others;
        for (iuiSelectionEdit::Target& t : Targets(*view, col))
            if (t.row != row)
                others.push_back(std::move(t));
        if (others.empty())
            return;
        iuiSelectionEdit edit(*m_s.handler, *m_s.codecs, &view->Sheet());
        const iuiSelectionEdit::Result result = edit.Type(others, Plain(shown));
        view->Grid().InvalidateGrid();
        Report(*view, result, others.size() + 1);
        return;
    }
}

std::string cuiSelectionEdit::RefusalText(const iuiSelectionEdit::Refusal& refusal) {
    using R = iuiSelectionEdit::Refusal;
    switch (refusal.why) {
    case R::kSaid:
        return refusal.text;
    case R::kEmptyRow:
        return Line("GI_Select_Texts", kEmptyRow);
    case R::kNoStep:
        return Line("GI_Select_Texts", kNoStep);
    case R::kStill:
    default:
        return cmcCodecText::Fill(Line("GI_Select_Texts", kStill), {refusal.text});
    }
}

void cuiSelectionEdit::Report(cuiSheetView& view, const iuiSelectionEdit::Result& result, size_t cells) {
    if (result.refused.empty()) {
        Status(view, kClWindowText, "");
        return;
    }
    const std::string refused = std::to_string(result.refused.size());
    const std::string total = std::to_string(cells);
    std::string list, status;
    for (size_t i = 0; i < result.refused.size(); ++i) {
        const iuiSelectionEdit::Refusal& r = result.refused[i];
        const std::string line =
            cmcCodecText::Fill(Line("GI_Select_Texts", kRowLine), {r.rowName, RefusalText(r)});
        status += (i ? "; " : "") + line;
        if (i < kBoxLines)
            list += "\n" + line;
    }
    if (result.refused.size() > kBoxLines)
        list += "\n" + cmcCodecText::Fill(Line("GI_Select_Texts", kMore),
                                          {std::to_string(result.refused.size() - kBoxLines)});
    Status(view, kRefusalText,
           cmcCodecText::Fill(Line("GI_Select_Texts", kStatus), {refused, total, status}));
    m_s.box->Show(cmcCodecText::Fill(Line("GI_Select_Texts", kBoxIntro), {refused, total}) + "\n" + list,
                  Line("GI_Sys_AppTitle", 0), cmcMessageBox::Icon::Warning, cmcMessageBox::Buttons::Ok);
}

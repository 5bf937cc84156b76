#include "gui/cuiColumnControl.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecText.h"
#include "core/cmcGTex.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSheetSort.h"

#include <QAction>
#include <QMenu>
#include <optional>

namespace {

// Lines of the header pop-up's texts.
constexpr int kHideUnused = 0;
constexpr int kShowAll = 1;
constexpr int kUnnamed = 2;

bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// A cell that sets nothing: blank (or greyed, which reads as blank here), a placeholder of dashes or
// underscores (no list chosen, no bit set), or the off value.
bool SetsNothing(const std::string& text, const std::string& off) {
    if (text.find_first_not_of(" \t\r\n-_") == std::string::npos)
        return true;
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return !off.empty() && text.compare(first, last - first + 1, off) == 0;
}

} // namespace

cuiColumnControl::cuiColumnControl(cuiSheetView& view, cmcCellHandler* handler)
    : QObject(&view), m_view(view), m_handler(handler) {}

std::string cuiColumnControl::Text(int line) const {
    cmcGTex* texts = m_view.Sheet().Env().texts;
    return texts ? texts->GetLine("GI_ColumnMenu", line) : std::string();
}

void cuiColumnControl::ApplyToGrid() {
    cuiSheet& sheet = m_view.Sheet();
    for (int c = 0; c < sheet.ColCount(); ++c)
        m_view.Grid().SetColHidden(c, sheet.ColumnHidden(c));
}

void cuiColumnControl::SetHidden(int col, bool hidden) {
    if (!m_view.Sheet().SetColumnHidden(col, hidden))
        return;
    m_view.Grid().SetColHidden(col, hidden);
    LeaveHiddenColumn();
}

void cuiColumnControl::LeaveHiddenColumn() {
    cuiGrid& grid = m_view.Grid();
    const int row = grid.Row();
    if (!grid.ColHidden(grid.Col()))
        return;
    // The nearest shown cell of the row that can be current, to the right first.
    for (int d = 1; d < grid.ColCount(); ++d)
        for (int c : {grid.Col() + d, grid.Col() - d})
            if (c >= grid.FixedCols() && c < grid.ColCount() && m_view.Selectable(c, row)) {
                m_view.MoveTo(c, row);
                return;
            }
}

std::vector<int> cuiColumnControl::UnusedColumns() {
    cuiSheet& sheet = m_view.Sheet();
    auto shown = [&](const cmcCellObj& cell) {
        if (!m_handler)
            return cell.GetDisplayText();
        cmcCellObj scratch = cell;
        cmcCellCapsule capsule;
        capsule.cell = &scratch;
        capsule.sheet = &sheet;
        capsule.displayText = cell.GetDisplayText();
        m_handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
        return capsule.displayText;
    };
    // The texts once, row by row; a data row shows a text in some scrolling cell with a behaviour
    // (the row that adds an entry to a list shows only its "New" in the fixed column).
    const int cols = sheet.ColCount();
    std::vector<std::vector<std::optional<std::string>>> rows;
    for (int r = sheet.FixedRows(); r < sheet.RowCount(); ++r) {
        std::vector<std::optional<std::string>> texts(static_cast<size_t>(cols));
        bool data = false;
        for (int c = 0; c < cols; ++c) {
            const cmcCellObj& cell = sheet.Cell(c, r);
            if (!cell.HasCell() || (cell.markFlags & cmcCellObj::kTail))
                continue;
            std::string text = (cell.markFlags & cmcCellObj::kSelectable) ? shown(cell) : std::string();
            data = data || (c >= sheet.GridFixedCols() && !Blank(text));
            texts[static_cast<size_t>(c)] = std::move(text);
        }
        if (data)
            rows.push_back(std::move(texts));
    }
    cmcGTex* texts = m_view.Sheet().Env().texts;
    const std::string off = texts ? texts->GetLine("GI_AppInd_TimerOff", 0) : std::string();
    std::vector<int> unused;
    for (int c = sheet.GridFixedCols(); c < cols && !rows.empty(); ++c) {
        if (sheet.ColumnHidden(c) || sheet.ColWidth(c) <= 0)
            continue;
        // Unused: no data row sets anything in it. A column whose rows all show the same value is
        // still in use (every channel at high power, the transmit frequency equal to the receive one).
        bool any = false, allBlank = true;
        for (const auto& texts : rows) {
            const std::optional<std::string>& text = texts[static_cast<size_t>(c)];
            if (!text)
                continue;
            any = true;
            allBlank = allBlank && SetsNothing(*text, off);
        }
        if (any && allBlank)
            unused.push_back(c);
    }
    return unused;
}

void cuiColumnControl::HideUnused() {
    for (int c : UnusedColumns())
        SetHidden(c, true);
}

void cuiColumnControl::ShowAll() {
    for (int c = 0; c < m_view.Sheet().ColCount(); ++c)
        if (m_view.Sheet().ColumnHidden(c))
            SetHidden(c, false);
}

std::string cuiColumnControl::Header(int col) {
    std::string header = iuiSheetSort::Header(m_view.Sheet(), m_handler, col);
    return header.empty() ? cmcCodecText::Fill(Text(kUnnamed), {std::to_string(col + 1)}) : header;
}

QMenu* cuiColumnControl::BuildMenu() {
    cuiSheet& sheet = m_view.Sheet();
    auto* menu = new QMenu(&m_view);
    for (int c = sheet.GridFixedCols(); c < sheet.ColCount(); ++c) {
        // Columns the sheet itself shows 0 wide are not the user's to show.
        if (sheet.ColWidth(c) <= 0)
            continue;
        QAction* action = menu->addAction(QString::fromStdString(Header(c)));
        action->setCheckable(true);
        action->setChecked(!sheet.ColumnHidden(c));
        connect(action, &QAction::toggled, this, [this, c](bool on) { SetHidden(c, !on); });
    }
    menu->addSeparator();
    connect(menu->addAction(QString::fromStdString(Text(kHideUnused))), &QAction::triggered, this,
            [this] { HideUnused(); });
    connect(menu->addAction(QString::fromStdString(Text(kShowAll))), &QAction::triggered, this,
            [this] { ShowAll(); });
    return menu;
}

void cuiColumnControl::ShowMenu(const QPoint& globalPos) {
    QMenu* menu = BuildMenu();
    menu->exec(globalPos);
    menu->deleteLater();
}

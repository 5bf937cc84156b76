#include "sheets/cuiSheet.h"

#include "cells/cmcCellColors.h"
#include "cells/cmcCellNumber.h"
#include "core/cmcEeprom.h"
#include "core/cmcFatal.h"
#include "core/cmcGTex.h"
#include "core/cmcSettingsStore.h"
#include "model/datCh.h"
#include "model/indLayout.h"
#include "sheets/cmcMeasureCanvas.h"
#include "sheets/cuiSheetText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

// Decimal with an optional sign; anything else (or nothing) reads as 0.
int32_t Decimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
    return static_cast<int32_t>(negative ? -value : value);
}

// The value of a "Key=value" group; none without '='.
std::optional<std::string_view> ValueOf(std::string_view group) {
    const size_t eq = group.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return group.substr(eq + 1);
}

std::string WidthGroup(std::string_view store) {
    return "Display/" + std::string(store) + "/colwidth";
}

std::string OrderGroup(std::string_view store) {
    return "Display/" + std::string(store) + "/colorder";
}

std::string HiddenGroup(std::string_view store) {
    return "Display/" + std::string(store) + "/colhidden";
}

} // namespace

cuiSheet::cuiSheet(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell, int32_t startParameter)
    : m_env(env), m_overlayKey(std::move(overlayKey)), m_sheetText(m_overlayKey), m_startCell(startCell),
      m_startParameter(startParameter) {}

cuiSheet::~cuiSheet() {
    // The user may have resized columns since the build.
    if (!m_cells.empty() && !Printing() && !m_popup && m_storedWidths)
        SaveColumnWidths();
}

void cuiSheet::SetKind(std::string_view kind) {
    m_kind = kind;
}

void cuiSheet::Show() {
    const std::string style = m_env.texts->GetText(m_overlayKey + "_Style");
    for (std::string_view group : Groups(style))
        ApplyStyleKey(group);
    BuildCells();
    if (m_storedWidths && !m_popup)
        ApplyColumnOrder();
}

std::vector<std::string_view> cuiSheet::Groups(std::string_view line) {
    std::vector<std::string_view> groups;
    size_t at = 0;
    while (true) {
        const size_t open = line.find('(', at);
        if (open == std::string_view::npos)
            break;
        const size_t close = line.find(')', open + 1);
        if (close == std::string_view::npos)
            break;
        groups.push_back(line.substr(open + 1, close - open - 1));
        at = close + 1;
    }
    return groups;
}

void cuiSheet::ApplyStyleKey(std::string_view key) {
    const auto value = ValueOf(key);
    if (StartsWith(key, "TitleString")) {
        if (value && !value->empty())
            m_title = std::string(*value);
    } else if (StartsWith(key, "TitleColor")) {
        uint32_t color = 0;
        if (value && cmcCellColors::ByName(*value, color))
            m_titleColor = color;
    } else if (StartsWith(key, "TitleFont")) {
        if (value) {
            // The font fields are those of a cell's Font attribute; a scratch cell reads them.
            cmcCellObj scratch;
            const std::string text = "{(Font=" + std::string(*value) + ")}";
            scratch.ParseCell(text, *m_env.texts, nullptr, nullptr);
            m_titleFont = scratch.font.value_or(cmcCellFont{});
        }
    } else if (StartsWith(key, "FixedCols")) {
        if (value)
            m_fixedCols = Decimal(*value);
    } else if (StartsWith(key, "FixedRows")) {
        if (value)
            m_fixedRows = Decimal(*value);
    } else if (key == "NoPrint") {
        m_noPrint = true;
    } else if (StartsWith(key, "PrintFontRatio")) {
        if (value)
            m_printFontRatio = Decimal(*value);
    } else if (StartsWith(key, "MultiSelect")) {
        m_multiSelect = !value             ? kMultiNone
                        : *value == "Cell" ? kMultiCell
                        : *value == "Line" ? kMultiLine
                                           : kMultiNone;
    } else if (StartsWith(key, "ColSizing")) {
        m_colSizing = true;
    } else if (StartsWith(key, "ColorSelectLine")) {
        m_colorSelectLine = true;
    }
}

bool cuiSheet::NumberAfterSpace(std::string_view keyword, int32_t& n) {
    const size_t space = keyword.find(' ');
    if (space == std::string_view::npos)
        return false;
    std::string_view rest = keyword.substr(space + 1);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    if (rest.empty())
        return false;
    n = Decimal(rest);
    return true;
}

int32_t cuiSheet::ListCount(int32_t recordKind) const {
    if (!m_env.work || m_env.work->GetSize() < indLayout::kWorkSize)
        return 0;
    return std::max(0, datCh::EntriesInUse(m_env.work->Data(), recordKind));
}

void cuiSheet::ApplyRowKeyword(std::string_view keyword) {
    int32_t n = 0;
    const bool pmr = m_env.modelType == 1;
    if (StartsWith(keyword, "TG List")) {
        m_loopFirst = m_line;
        m_loopCount = ListCount(19);
    } else if (StartsWith(keyword, "Ind List")) {
        m_loopFirst = m_line;
        m_loopCount = ListCount(18);
    } else if (StartsWith(keyword, "VORN TG List")) {
        m_loopFirst = m_line;
        m_loopCount = ListCount(29);
    } else if (StartsWith(keyword, "VORN Ind List")) {
        m_loopFirst = m_line;
        m_loopCount = ListCount(28);
    } else if (StartsWith(keyword, "End")) {
        m_loopLast = m_line;
    } else if (StartsWith(keyword, "LoopFrom")) {
        if (NumberAfterSpace(keyword, n)) {
            m_loopFirst = m_line;
            m_loopCount = std::max(n, 1);
        }
    } else if (StartsWith(keyword, "LoopTo")) {
        m_loopLast = m_line;
    } else if (StartsWith(keyword, "SelectON")) {
        m_select = true;
    } else if (StartsWith(keyword, "SelectOFF")) {
        m_select = false;
    } else if (StartsWith(keyword, "Only_Pmr")) {
        if (!pmr && NumberAfterSpace(keyword, n))
            m_skip = n;
    } else if (StartsWith(keyword, "Only_Lmr")) {
        if (pmr && NumberAfterSpace(keyword, n))
            m_skip = n;
    } else if (StartsWith(keyword, "Only_QIRS")) {
        if (!pmr && NumberAfterSpace(keyword, n))
            m_skip = n;
    } else if (StartsWith(keyword, "Only_SACC")) {
        const bool sacc =
            m_env.current && m_env.current->GetSize() > 0xB8 && (m_env.current->Data()[0xB8] & 0x80);
        if (!sacc && NumberAfterSpace(keyword, n))
            m_skip = n;
    } else if (StartsWith(keyword, "Only_NFont")) {
        // Rows for the normal font stay.
    } else if (StartsWith(keyword, "Only_TFont") || StartsWith(keyword, "Never")) {
        if (NumberAfterSpace(keyword, n))
            m_skip = n;
    }
}

cuiSheet::RowEntry& cuiSheet::RowAt(int32_t index) {
    if (index >= static_cast<int32_t>(m_rowMap.size()))
        m_rowMap.resize(static_cast<size_t>(index) + 1);
    return m_rowMap[static_cast<size_t>(index)];
}

void cuiSheet::AppendRow(int32_t line) {
    RowEntry& entry = RowAt(m_rowCount++);
    entry.line = line;
    if (m_layoutSelectFlags)
        entry.multiSelect = m_select;
}

void cuiSheet::LayoutRows(const std::string& cellsKey) {
    m_loopFirst = m_loopLast = m_loopCount = -1;
    m_colCount = 0;
    m_rowCount = 0;
    m_select = true;
    m_line = 0;
    int32_t body = 0;
    for (int32_t n = 0;; ++n) {
        const std::string line = m_env.texts->GetLine(cellsKey, n);
        if (!line.empty() && line[0] == '#')
            break;
        m_line = n;
        if (m_skip > 0) {
            --m_skip;
            continue;
        }
        if (!line.empty() && line[0] == ':') {
            for (std::string_view group : Groups(std::string_view(line).substr(1)))
                ApplyRowKeyword(group);
            if (m_loopFirst >= 0 && m_loopLast >= 0) {
                // The body was added once by the scan; repeat it. A loop over an empty list keeps
                // that one row and still ends here, so a later loop starts clean.
                for (int32_t k = 1; k < m_loopCount; ++k)
                    for (int32_t j = 1; j <= body; ++j)
                        AppendRow(m_loopFirst + j);
                m_loopFirst = m_loopLast = m_loopCount = -1;
                body = 0;
            }
            continue;
        }
        cmcCellObj scratch;
        std::string_view rest = line;
        int32_t cells = 0;
        while (!rest.empty()) {
            rest = scratch.ParseCell(rest, *m_env.texts, nullptr, nullptr, true);
            ++cells;
        }
        m_colCount = std::max(m_colCount, cells);
        AppendRow(n);
        body = (m_loopFirst >= 0 && m_loopLast < 0) ? body + 1 : 0;
    }
    if (m_colCount == 0 || m_rowCount == 0)
        cmcFatal("Illegal Cell assign");
}

void cuiSheet::BuildBasicCell() {
    std::string text = m_env.texts->GetText(m_overlayKey + "_BasicCell");
    char part[48];
    if (m_printFontHeight != 0)
        std::snprintf(part, sizeof part, "{(Font=,,,%d,,,)}", m_printFontHeight);
    else
        std::snprintf(part, sizeof part, "{(Font=,,,%%%d,,,)}", m_env.fontRatio);
    text += part;
    if (Printing() && m_printFontRatio != 100) {
        std::snprintf(part, sizeof part, "{(Font=,,,%%%d,,,)}", m_printFontRatio);
        text += part;
    }
    m_basic = cmcCellObj();
    m_basic.ParseCell(text, *m_env.texts, nullptr, nullptr);
}

void cuiSheet::BuildCells() {
    BuildBasicCell();
    const std::string cellsKey = m_overlayKey + "_Cells";
    LayoutRows(cellsKey);
    m_tableRows = std::max(m_rowCount, m_minTableRows);
    m_cells.clear();
    m_cells.resize(static_cast<size_t>(m_colCount) * static_cast<size_t>(m_tableRows));
    const int32_t unit =
        Printing() && !m_bitmapMode ? std::max(1, m_printerDpi / std::max(1, m_screenDpi)) : 1;
    m_colWidths.assign(static_cast<size_t>(m_colCount), unit);
    m_fittedWidths.assign(static_cast<size_t>(m_colCount), unit);
    m_rowHeights.assign(static_cast<size_t>(m_tableRows), unit);
    m_filled.assign(static_cast<size_t>(m_tableRows), 0);
    m_firstSelCol = m_colCount;
    m_firstSelRow = m_rowCount;
    CreateCells(cellsKey);
    // Spare rows of the list sheets: rows to add later are already built.
    for (int32_t r = m_rowCount; r < m_tableRows; ++r)
        CopyRowDown(r, m_colCount);
}

void cuiSheet::CopyRowDown(int32_t row, int32_t columns) {
    for (int32_t c = 0; c < columns; ++c) {
        CellEntry& above = CellAt(c, row - 1);
        CellEntry& entry = m_cells[static_cast<size_t>(c + row * m_colCount)];
        entry.cell.CopyCell(above.cell);
        // A parameter the overlay saturated stays at its largest value instead of overflowing.
        if (entry.cell.parameter < INT32_MAX)
            entry.cell.parameter += 1;
        entry.flags = above.flags;
    }
    m_filled[static_cast<size_t>(row)] = columns;
    m_rowHeights[static_cast<size_t>(row)] = m_rowHeights[static_cast<size_t>(row - 1)];
}

void cuiSheet::FitCell(const cmcCellObj& cell, int32_t column, int32_t row) {
    if (!(cell.layoutFlags & (cmcCellObj::kWiden | cmcCellObj::kHeighten)) || !m_env.canvas)
        return;
    cmcMeasureCanvas& canvas = *m_env.canvas;
    canvas.SetFont(cell.font ? *cell.font : m_basic.font.value_or(cmcCellFont{}));
    int32_t width = 0;
    int32_t height = 0;
    std::string_view text = cell.GetDisplayText();
    // A choice list entry shows its ':' argument; the column fits that text.
    if (text.empty() && cell.argument && cell.cell >= Flex0 &&
        cell.cell <= Flex_DpmrStatusList_ChNo_StatusDigit_Rx)
        text = *cell.argument;
    while (true) {
        const size_t lf = text.find('\n');
        const std::string_view line = text.substr(0, lf);
        width = std::max(width, canvas.TextWidth(line));
        height += canvas.TextHeight(line);
        if (lf == std::string_view::npos)
            break;
        text.remove_prefix(lf + 1);
    }
    if (cell.layoutFlags & cmcCellObj::kWiden) {
        const int32_t fitted = static_cast<int32_t>(width + 8 * m_scale + m_fitRounding);
        int32_t& w = m_colWidths[static_cast<size_t>(column)];
        w = std::max(w, fitted);
        m_fittedWidths[static_cast<size_t>(column)] = w;
    }
    if (cell.layoutFlags & cmcCellObj::kHeighten) {
        const int32_t fitted = static_cast<int32_t>(height + 2 * m_scale + m_fitRounding);
        int32_t& h = m_rowHeights[static_cast<size_t>(row)];
        h = std::max(h, fitted);
    }
}

void cuiSheet::CreateCells(const std::string& cellsKey) {
    for (int32_t r = 0; r < m_rowCount; ++r) {
        RowHook(r);
        const int32_t n = m_rowMap[static_cast<size_t>(r)].line;
        if (r > 0 && n == m_rowMap[static_cast<size_t>(r - 1)].line) {
            const int32_t filled = m_filled[static_cast<size_t>(r - 1)];
            for (int32_t c = 0; c < filled; ++c)
                CellHook(c, r);
            CopyRowDown(r, filled);
        } else {
            const std::string line = m_env.texts->GetLine(cellsKey, n);
            std::string_view rest = line;
            int32_t c = 0;
            while (!rest.empty() && c < m_colCount) {
                CellHook(c, r);
                cmcCellObj& cell = Cell(c, r);
                rest = cell.ParseCell(rest, *m_env.texts, &m_counters, &m_basic);
                FitCell(cell, c, r);
                ++c;
            }
            m_filled[static_cast<size_t>(r)] = c;
        }
        const bool rowMulti = m_rowMap[static_cast<size_t>(r)].multiSelect;
        for (int32_t c = 0; c < m_colCount; ++c) {
            CellEntry& entry = CellAt(c, r);
            if (entry.cell.markFlags & cmcCellObj::kSelectable) {
                m_firstSelCol = std::min(m_firstSelCol, c);
                m_firstSelRow = std::min(m_firstSelRow, r);
            }
            if (m_multiSelect != kMultiNone && rowMulti)
                entry.flags |= CellEntry::kMultiSelectAllowed;
            else
                entry.flags &= static_cast<uint8_t>(~CellEntry::kMultiSelectAllowed);
        }
    }
    if (!m_storedWidths) {
        // Window sheets neither keep widths nor take part in a pending reset.
    } else if (Printing()) {
        RestoreColumnWidths();
        RestoreHiddenColumns();
        for (int32_t c = 0; c < m_colCount; ++c)
            if (ColumnHidden(c))
                SetColWidth(c, 0);
    } else if (!m_popup) {
        RestoreHiddenColumns();
        if (m_pendingWidthReset)
            DeleteStoredWidths();
        else
            RestoreColumnWidths();
        SaveColumnWidths();
    }
    if (m_storedWidths)
        m_pendingWidthReset = false;
}

void cuiSheet::UnselectHiddenColumns() {
    for (int32_t c = 0; c < m_colCount; ++c)
        if (m_colWidths[static_cast<size_t>(c)] == 0)
            for (int32_t r = 0; r < m_rowCount; ++r)
                Cell(c, r).markFlags &= static_cast<uint8_t>(~cmcCellObj::kSelectable);
}

void cuiSheet::RowHook(int32_t) {}
void cuiSheet::CellHook(int32_t, int32_t) {}

std::string cuiSheet::Title() {
    return m_title.value_or(std::string());
}

bool cuiSheet::IsPrintable() {
    return !m_noPrint;
}

void cuiSheet::AddRows(int32_t) {}
void cuiSheet::RemoveRows(int32_t) {}

void cuiSheet::GrowLoop(int32_t count) {
    for (int32_t i = 0; i < std::max(count, 1); ++i) {
        if (m_rowCount < 1 || m_rowCount >= m_tableRows)
            return;
        for (int32_t c = 0; c < m_colCount; ++c) {
            CellAt(c, m_rowCount - 1).flags |= CellEntry::kMultiSelectAllowed;
            CellAt(c, m_rowCount).flags &= static_cast<uint8_t>(~CellEntry::kMultiSelectAllowed);
        }
        m_rowHeights[static_cast<size_t>(m_rowCount)] = m_rowHeights[static_cast<size_t>(m_rowCount - 1)];
        ++m_rowCount;
    }
}

void cuiSheet::ShrinkLoop(int32_t count, int32_t loopMark) {
    for (int32_t i = 0; i < std::max(count, 1); ++i) {
        // The rows above the loop and the blank row always stay.
        if (m_rowCount < 2 || m_rowCount - 1 <= loopMark)
            return;
        for (int32_t c = 0; c < m_colCount; ++c)
            CellAt(c, m_rowCount - 2).flags &= static_cast<uint8_t>(~CellEntry::kMultiSelectAllowed);
        --m_rowCount;
    }
}

void cuiSheet::SetPrinter(int32_t printerDpi, int32_t screenDpi) {
    m_printerDpi = std::max(0, printerDpi);
    m_screenDpi = std::max(1, screenDpi);
    m_scale = m_printerDpi > 0 ? std::max(1, m_printerDpi / m_screenDpi) : 1.0;
}

void cuiSheet::SetPreviewTarget(int32_t printerDpi, int32_t screenDpi) {
    SetPrinter(printerDpi, screenDpi);
    m_scale = 1.0;
}

void cuiSheet::SetStartPosition(int32_t col, int32_t row, int32_t left, int32_t top) {
    m_startPos[0] = col;
    m_startPos[1] = row;
    m_startPos[2] = left;
    m_startPos[3] = top;
}

cuiSheet::CellEntry& cuiSheet::CellAt(int32_t column, int32_t row) {
    if (m_cells.empty() || column < 0 || row < 0 || column >= m_colCount || row >= m_tableRows)
        cmcFatal("Illegal Cell selection");
    return m_cells[static_cast<size_t>(column + row * m_colCount)];
}

const cuiSheet::CellEntry& cuiSheet::CellAt(int32_t column, int32_t row) const {
    return const_cast<cuiSheet*>(this)->CellAt(column, row);
}

int32_t cuiSheet::GridFixedCols() const {
    return std::clamp(m_fixedCols, 0, std::max(0, m_colCount - 1));
}
int32_t cuiSheet::GridFixedRows() const {
    return std::clamp(m_fixedRows, 0, std::max(0, m_rowCount - 1));
}

int32_t cuiSheet::ColWidth(int32_t column) const {
    return column >= 0 && column < m_colCount ? m_colWidths[static_cast<size_t>(column)] : 0;
}

int32_t cuiSheet::FittedWidth(int32_t column) const {
    return column >= 0 && column < m_colCount ? m_fittedWidths[static_cast<size_t>(column)] : 0;
}

int32_t cuiSheet::RowHeight(int32_t row) const {
    return row >= 0 && row < m_tableRows ? m_rowHeights[static_cast<size_t>(row)] : 0;
}

void cuiSheet::SetColWidth(int32_t column, int32_t width) {
    if (column >= 0 && column < m_colCount)
        m_colWidths[static_cast<size_t>(column)] = std::max(0, width);
}

const cuiSheet::RowEntry& cuiSheet::Row(int32_t row) const {
    if (row < 0 || row >= static_cast<int32_t>(m_rowMap.size()))
        cmcFatal("Illegal Cell selection");
    return m_rowMap[static_cast<size_t>(row)];
}

std::string cuiSheet::WidthStoreName() {
    const std::string key = cuiSheetText::Split(m_sheetText).overlayKey;
    for (int32_t n = 0;; ++n) {
        const std::string line = m_env.texts->GetLine("GI_CellWidthRegList", n);
        const size_t colon = line.find(':');
        if (line.empty() || line[0] == '#' || colon == std::string::npos)
            return {};
        if (std::string_view(line).substr(0, colon) == key)
            return line.substr(colon + 1);
    }
}

void cuiSheet::DeleteStoredWidths() {
    if (!m_env.settings)
        return;
    for (int32_t n = 0;; ++n) {
        const std::string line = m_env.texts->GetLine("GI_CellWidthRegList", n);
        const size_t colon = line.find(':', 1);
        if (line.empty() || line[0] == '#' || colon == std::string::npos)
            return;
        m_env.settings->RemoveGroup(WidthGroup(std::string_view(line).substr(colon + 1)));
    }
}

void cuiSheet::RestoreColumnWidths() {
    if (!m_env.settings || m_rowCount == 0)
        return;
    const std::string store = WidthStoreName();
    if (store.empty())
        return;
    const std::string group = WidthGroup(store);
    const int32_t probeRow = std::clamp(m_fixedRows, 0, m_rowCount - 1);
    double factor = 0;
    if (Printing()) {
        const int32_t ratio16 = std::max(1, (16 * m_env.fontRatio) / 100);
        const int32_t points = m_env.canvas ? m_env.canvas->FontSize() : 8;
        factor = points * (double(m_printerDpi) / m_screenDpi) * 16 / ratio16 * 0.1;
    }
    m_restoring = true;
    for (int32_t c = 0; c < m_colCount; ++c) {
        if (!(Cell(c, probeRow).markFlags & cmcCellObj::kSelectable))
            continue;
        const auto stored = m_env.settings->ReadInt(group, std::to_string(c));
        if (!stored)
            continue;
        // A stored width is the user's; a damaged settings file must not make a column unusable.
        const int32_t w = std::clamp(*stored, 0, kMaxRestoredWidth);
        if (Printing())
            SetColWidth(c, std::min(static_cast<int32_t>(w * factor + 0.5), FittedWidth(c)));
        else
            SetColWidth(c, w);
    }
    m_restoring = false;
}

void cuiSheet::SaveColumnWidths() {
    if (!m_env.settings || Printing() || m_rowCount == 0)
        return;
    const std::string store = WidthStoreName();
    if (store.empty())
        return;
    const std::string group = WidthGroup(store);
    const int32_t probeRow = std::clamp(m_fixedRows, 0, m_rowCount - 1);
    for (int32_t c = 0; c < m_colCount; ++c)
        if ((Cell(c, probeRow).markFlags & cmcCellObj::kSelectable) && !ColumnHidden(c))
            m_env.settings->WriteInt(group, std::to_string(OriginColumn(c)), ColWidth(c));
}

bool cuiSheet::ColumnHidden(int32_t column) const {
    return column >= 0 && static_cast<size_t>(column) < m_hiddenCols.size() &&
           m_hiddenCols[static_cast<size_t>(column)];
}

bool cuiSheet::SetColumnHidden(int32_t column, bool hidden) {
    if (column < GridFixedCols() || column >= m_colCount)
        return false;
    m_hiddenCols.resize(static_cast<size_t>(m_colCount), false);
    m_hiddenCols[static_cast<size_t>(column)] = hidden;
    const std::string store = KeepsColumnLayout() && !Printing() ? WidthStoreName() : std::string();
    if (store.empty())
        return true;
    // Only the hidden columns are written: a sheet that grows columns shows the new ones.
    const std::string name = std::to_string(OriginColumn(column));
    if (hidden)
        m_env.settings->WriteInt(HiddenGroup(store), name, 1);
    else if (m_env.settings->ReadInt(HiddenGroup(store), name))
        m_env.settings->WriteInt(HiddenGroup(store), name, 0);
    return true;
}

void cuiSheet::RestoreHiddenColumns() {
    m_hiddenCols.assign(static_cast<size_t>(m_colCount), false);
    const std::string store = m_env.settings ? WidthStoreName() : std::string();
    if (store.empty())
        return;
    const std::string group = HiddenGroup(store);
    for (int32_t c = GridFixedCols(); c < m_colCount; ++c)
        m_hiddenCols[static_cast<size_t>(c)] =
            m_env.settings->ReadInt(group, std::to_string(c)).value_or(0) == 1;
}

int32_t cuiSheet::OriginColumn(int32_t column) const {
    return column >= 0 && static_cast<size_t>(column) < m_origin.size()
               ? m_origin[static_cast<size_t>(column)]
               : column;
}

bool cuiSheet::ColumnMovable(int32_t column) const {
    if (column < GridFixedCols() || column >= m_colCount)
        return false;
    for (int32_t r = 0; r < m_rowCount; ++r) {
        const cmcCellObj& cell = CellAt(column, r).cell;
        if ((cell.markFlags & cmcCellObj::kTail) || (cell.layoutFlags & cmcCellObj::kJoined))
            return false;
        if (column + 1 < m_colCount) {
            const cmcCellObj& next = CellAt(column + 1, r).cell;
            if ((next.markFlags & cmcCellObj::kTail) || (next.layoutFlags & cmcCellObj::kJoined))
                return false;
        }
    }
    return true;
}

bool cuiSheet::StoreColumnMove(int32_t column, int32_t to) {
    const std::string store = KeepsColumnLayout() && !Printing() ? WidthStoreName() : std::string();
    if (store.empty() || column == to || !ColumnMovable(column) || !ColumnMovable(to))
        return false;
    std::vector<int32_t> order;
    for (int32_t c = GridFixedCols(); c < m_colCount; ++c)
        order.push_back(OriginColumn(c));
    const int32_t moving = order[static_cast<size_t>(column - GridFixedCols())];
    order.erase(order.begin() + (column - GridFixedCols()));
    order.insert(order.begin() + (to - GridFixedCols()), moving);
    std::string text;
    for (int32_t c : order)
        text += (text.empty() ? "" : ",") + std::to_string(c);
    return m_env.settings->WriteText(OrderGroup(store), "order", text);
}

void cuiSheet::ApplyColumnOrder() {
    m_origin.clear();
    const std::string store = m_env.settings ? WidthStoreName() : std::string();
    if (store.empty() || m_cells.empty())
        return;
    const std::optional<std::string> stored = m_env.settings->ReadText(OrderGroup(store), "order");
    if (!stored)
        return;
    // A stored order that does not name every scrolling column once (the sheet definition changed,
    // a damaged settings file) is ignored, as is one that moves a column that cannot move.
    const int32_t fixed = GridFixedCols();
    std::vector<int32_t> origin;
    for (int32_t c = 0; c < fixed; ++c)
        origin.push_back(c);
    std::vector<bool> seen(static_cast<size_t>(m_colCount), false);
    size_t at = 0;
    while (at <= stored->size()) {
        const size_t comma = std::min(stored->find(',', at), stored->size());
        const std::string item = stored->substr(at, comma - at);
        at = comma + 1;
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos || item.size() > 6)
            return;
        const int32_t c = std::stoi(item);
        if (c < fixed || c >= m_colCount || seen[static_cast<size_t>(c)])
            return;
        seen[static_cast<size_t>(c)] = true;
        origin.push_back(c);
    }
    if (static_cast<int32_t>(origin.size()) != m_colCount)
        return;
    for (int32_t c = fixed; c < m_colCount; ++c)
        if (origin[static_cast<size_t>(c)] != c && !ColumnMovable(origin[static_cast<size_t>(c)]))
            return;
    const std::vector<CellEntry> cells = m_cells;
    const std::vector<int32_t> widths = m_colWidths, fitted = m_fittedWidths;
    std::vector<bool> hidden = m_hiddenCols;
    hidden.resize(static_cast<size_t>(m_colCount), false);
    for (int32_t c = 0; c < m_colCount; ++c) {
        const int32_t from = origin[static_cast<size_t>(c)];
        for (int32_t r = 0; r < m_tableRows; ++r)
            m_cells[static_cast<size_t>(r) * m_colCount + c] =
                cells[static_cast<size_t>(r) * m_colCount + from];
        m_colWidths[static_cast<size_t>(c)] = widths[static_cast<size_t>(from)];
        m_fittedWidths[static_cast<size_t>(c)] = fitted[static_cast<size_t>(from)];
        if (static_cast<size_t>(c) < m_hiddenCols.size())
            m_hiddenCols[static_cast<size_t>(c)] = hidden[static_cast<size_t>(from)];
    }
    m_origin = std::move(origin);
    int32_t firstSel = m_colCount;
    for (int32_t r = 0; r < m_rowCount; ++r)
        for (int32_t c = 0; c < m_colCount; ++c)
            if (CellAt(c, r).cell.markFlags & cmcCellObj::kSelectable)
                firstSel = std::min(firstSel, c);
    if (firstSel < m_colCount)
        m_firstSelCol = firstSel;
}

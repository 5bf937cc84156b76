#include "gui/cuiRowDrag.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "core/cmcEeprom.h"
#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "model/indListEdit.h"
#include "model/indRowKinds.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSheetSort.h"

#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kDragSlop = 4; // pixels up or down a press moves before it drags

} // namespace

cuiRowDrag::cuiRowDrag(cuiSheetView& view)
    : QObject(&view), m_view(view), m_viewport(view.Grid().viewport()) {
    m_viewport->installEventFilter(this);
}

bool cuiRowDrag::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched != m_viewport ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return false;
    cuiGrid& grid = m_view.Grid();
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint p = mouse->position().toPoint();
    int col = -1, row = -1;
    const bool hit = grid.CellAtPoint(p.x(), p.y(), col, row);
    if (type == QEvent::MouseButtonPress) {
        m_dragging = false;
        m_pressRow = mouse->button() == Qt::LeftButton && hit && col < grid.FixedCols() &&
                             row >= grid.FixedRows() && (onDrop || onDropOutside)
                         ? row
                         : -1;
        m_pressAt = p;
        return false;
    }
    if (m_pressRow < 0)
        return false;
    if (type == QEvent::MouseMove) {
        if (!(mouse->buttons() & Qt::LeftButton)) {
            m_pressRow = -1;
            return false;
        }
        if (!m_dragging && std::abs(p.y() - m_pressAt.y()) >= kDragSlop) {
            m_dragging = true;
            grid.viewport()->setCursor(Qt::DragMoveCursor);
        }
        return m_dragging; // the grid's own cell selection does not follow a drag
    }
    // The release: the grid still sees it and ends its own press.
    const int pressed = std::exchange(m_pressRow, -1);
    if (!std::exchange(m_dragging, false))
        return false;
    grid.viewport()->unsetCursor();
    auto marked = [&](int r) {
        for (int c = grid.FixedCols(); c < grid.ColCount(); ++c)
            if (m_view.IsSelected(c, r) || m_view.IsLineMarked(c, r))
                return true;
        return false;
    };
    int first = pressed, last = pressed;
    if (m_view.HasRange() && marked(pressed)) {
        // Every row of the selection, whatever row of it was pressed.
        while (first > grid.FixedRows() && marked(first - 1))
            --first;
        while (last + 1 < grid.RowCount() && marked(last + 1))
            ++last;
    }
    const QPoint global = grid.viewport()->mapToGlobal(p);
    if (grid.viewport()->rect().contains(p)) {
        if (hit && row >= grid.FixedRows() && (row < first || row > last) && onDrop)
            onDrop(first, last, row);
    } else if (onDropOutside) {
        onDropOutside(first, last, global);
    }
    return false;
}

std::vector<int32_t> cuiRowDrag::RowEntries(cuiSheet& sheet, const indRowCommands& rows, int32_t& category) {
    category = -1;
    std::vector<int32_t> entries(static_cast<size_t>(std::max(sheet.RowCount(), 0)), -1);
    for (int32_t r = sheet.FixedRows(); r < sheet.RowCount(); ++r)
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            const cmcCellObj& cell = sheet.Cell(c, r);
            if (!cell.HasCell() || rows.KindOfCategory(cell.category) == 0)
                continue;
            if (category < 0)
                category = cell.category;
            if (cell.category == category)
                entries[static_cast<size_t>(r)] = cell.parameter;
            break;
        }
    return entries;
}

std::vector<int32_t> cuiRowDrag::MoveOrder(int32_t count, int32_t low, int32_t high, int32_t target) {
    std::vector<int32_t> order(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i)
        order[static_cast<size_t>(i)] = i;
    if (count <= 0 || low < 0 || high < low || high >= count || target < 0 || target > count ||
        (target >= low && target <= high))
        return order;
    // The entries in their new sequence, then each entry's position in it.
    std::vector<int32_t> sequence;
    for (int32_t i = 0; i < count; ++i)
        if (i < low || i > high)
            sequence.push_back(i);
    // Down: the block follows the target; up: it takes the target's place.
    const int32_t before = target > high ? target - (high - low + 1) + (target < count ? 1 : 0) : target;
    std::vector<int32_t> block;
    for (int32_t i = low; i <= high; ++i)
        block.push_back(i);
    sequence.insert(sequence.begin() + before, block.begin(), block.end());
    for (int32_t pos = 0; pos < count; ++pos)
        order[static_cast<size_t>(sequence[static_cast<size_t>(pos)])] = pos;
    return order;
}

indRowCommands::Result cuiRowDrag::Move(cuiSheet& sheet, indRowCommands& rows, int firstRow, int lastRow,
                                        int targetRow) {
    int32_t category = -1;
    const std::vector<int32_t> entries = RowEntries(sheet, rows, category);
    auto entryOf = [&](int row) {
        return row >= 0 && static_cast<size_t>(row) < entries.size() ? entries[static_cast<size_t>(row)] : -1;
    };
    int32_t first = 0;
    std::vector<bool> empty;
    if (category < 0 || !rows.SortEntries(category, iuiSheetSort::GroupShown(sheet), first, empty))
        return indRowCommands::Result::NotHere;
    // Only the entries in use move; a drop after them (the row that adds an entry, an empty entry)
    // places the rows after the last one.
    const auto used = static_cast<int32_t>(std::find(empty.begin(), empty.end(), true) - empty.begin());
    const int32_t low = entryOf(firstRow) - first, high = entryOf(lastRow) - first;
    if (entryOf(firstRow) < 0 || entryOf(lastRow) < 0 || low > high || high >= used)
        return indRowCommands::Result::NotHere;
    int32_t target = entryOf(targetRow) < 0 ? used : entryOf(targetRow) - first;
    target = std::clamp(target, 0, used);
    std::vector<int32_t> order = MoveOrder(used, low, high, target);
    for (auto i = static_cast<int32_t>(order.size()); i < static_cast<int32_t>(empty.size()); ++i)
        order.push_back(i); // the empty entries stay where they are
    return rows.Sort(category, iuiSheetSort::GroupShown(sheet), order);
}

indRowCommands::Result cuiRowDrag::MoveToBank(cuiSheet& sheet, indRowCommands& rows, cmcEeprom& work,
                                              const cmcEeprom* defaults, int firstRow, int lastRow,
                                              int target) {
    int32_t category = -1;
    const std::vector<int32_t> entries = RowEntries(sheet, rows, category);
    const int32_t source = iuiSheetSort::GroupShown(sheet);
    const int kind = category == CT_Mch ? rows.KindOfCategory(category) : 0;
    const indRowKind* list = kind ? indRowKinds::Of(kind) : nullptr;
    auto entryOf = [&](int row) {
        return row >= 0 && static_cast<size_t>(row) < entries.size() ? entries[static_cast<size_t>(row)] : -1;
    };
    if (!list || source < 0 || target < 0 || target == source || entryOf(firstRow) < 0 ||
        entryOf(lastRow) < 0)
        return indRowCommands::Result::NotHere;
    const int32_t sourceFirst = indRowKinds::GroupFirst(work, *list, source);
    const int32_t sourceSize = indRowKinds::GroupSize(work, *list, source);
    int32_t low = entryOf(firstRow), high = entryOf(lastRow);
    if (low > high || low < sourceFirst || high >= sourceFirst + sourceSize)
        return indRowCommands::Result::NotHere;
    const int32_t count = high - low + 1;
    const cmcEeprom before = work;
    auto capsuleAt = [](cmcCellObj& cell, int32_t index) {
        cell.category = CT_Mch;
        cell.cell = CL_Mch_FreqR;
        cell.parameter = index;
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        return capsule;
    };
    // Blank channels at the target's end, one by one as the Insert command adds them there.
    for (int32_t k = 0; k < count; ++k) {
        cmcCellObj cell;
        cmcCellCapsule capsule = capsuleAt(cell, indRowKinds::GroupFirst(work, *list, target) +
                                                     indRowKinds::GroupSize(work, *list, target));
        if (rows.Execute(CL_PMenu_Insert, capsule, target) != indRowCommands::Result::Done) {
            work = before;
            return indRowCommands::Result::Refused;
        }
    }
    // The moved channels moved too when the blanks went in before them.
    const int32_t blanks =
        indRowKinds::GroupFirst(work, *list, target) + indRowKinds::GroupSize(work, *list, target) - count;
    if (blanks <= low) {
        low += count;
        high += count;
    }
    // One renumbering that swaps the moved channels with the blanks (the channels between them stay).
    const int32_t first = std::min(low, blanks), last = std::max(high, blanks + count - 1);
    std::vector<int> order(static_cast<size_t>(last - first + 1));
    for (int32_t i = first; i <= last; ++i) {
        int32_t to = i;
        if (i >= low && i <= high)
            to = blanks + (i - low);
        else if (i >= blanks && i < blanks + count)
            to = low + (i - blanks);
        order[static_cast<size_t>(i - first)] = to - first;
    }
    if (!indListEdit(work, defaults).Permute(kind, first, order)) {
        work = before;
        return indRowCommands::Result::Refused;
    }
    // The blanks now stand where the channels were: the Delete command takes them out of the source.
    cmcCellObj cell;
    cmcCellCapsule capsule = capsuleAt(cell, low);
    capsule.rangeFlags = cmcCellCapsule::kRangeBlock;
    capsule.rangeFirst = low;
    capsule.rangeLast = high;
    if (rows.Execute(CL_PMenu_Delete, capsule, source) != indRowCommands::Result::Done) {
        work = before;
        return indRowCommands::Result::Refused;
    }
    return indRowCommands::Result::Done;
}

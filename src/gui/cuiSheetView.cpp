#include "gui/cuiSheetView.h"

#include "cells/cmcCellHandler.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceList.h"
#include "cells/cmcFCache.h"
#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcEvRec.h"
#include "core/cmcGTex.h"
#include "gui/cuiColumnControl.h"
#include "gui/cuiGrid.h"
#include "platform/cuiQtCanvas.h"
#include "platform/cuiQtColors.h"
#include "sheets/cuiSheet.h"
#include "sheets/indFlector.h"

#include <QClipboard>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace {

constexpr int kPageRows = 10;
constexpr int kColumnLimit = 650;
constexpr uint32_t kClWindowText = 0x80000008u;
constexpr uint32_t kClBtnFace = 0x8000000Fu;
constexpr uint32_t kRefusalText = 0x000000C0u; // dark red: why a typed value was refused
constexpr int kEditorMaxLength = 1024;

// The key of a pop-up entry, shown beside it; the grid's key handling (KeyDown) runs it.
QKeySequence RowCommandKey(int32_t command) {
    switch (command) {
    case CL_PMenu_Edit:
        return QKeySequence(Qt::Key_F2);
    case CL_PMenu_Copy:
        return QKeySequence(Qt::CTRL | Qt::Key_C);
    case CL_PMenu_Paste:
        return QKeySequence(Qt::CTRL | Qt::Key_V);
    case CL_PMenu_Insert:
        return QKeySequence(Qt::Key_Insert);
    case CL_PMenu_Delete:
        return QKeySequence(Qt::Key_Delete);
    case CL_PMenu_CarryUp:
        return QKeySequence(Qt::CTRL | Qt::Key_Up);
    case CL_PMenu_CarryDown:
        return QKeySequence(Qt::CTRL | Qt::Key_Down);
    case CL_PMenu_Help:
        return QKeySequence(Qt::Key_F1);
    default:
        return {};
    }
}

// Keys of the in-place editor: Enter, Up and Down commit, Escape drops the edit.
class EditorKeys : public QObject {
public:
    EditorKeys(cuiSheetView* view) : QObject(view), m_view(view) {}
    bool eventFilter(QObject*, QEvent* event) override {
        // Leaving the editor (a click elsewhere, another window) commits what was typed; a pop-up
        // menu opened over it leaves the edit open.
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            m_view->CommitEditor();
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            m_view->CloseEditor(false);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_view->CloseEditor(true);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            m_view->CloseEditor(true);
            m_view->MoveBy(0, key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        default:
            return false;
        }
    }

private:
    cuiSheetView* m_view;
};

// One user action for the edit history, to the end of the scope. The end is the one that was set at
// the start: an action may close the view it began in.
class ActionScope {
public:
    ActionScope(cuiSheetView& view, int32_t command, int col, int row) : m_end(view.onActionEnd) {
        if (view.onActionBegin)
            view.onActionBegin(command, col, row);
    }
    ~ActionScope() {
        if (m_end)
            m_end();
    }
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

private:
    std::function<void()> m_end;
};

} // namespace

cuiSheetView::cuiSheetView(std::unique_ptr<cuiSheet> sheet, cmcCellHandler* handler, QWidget* parent)
    : QWidget(parent), m_sheet(std::move(sheet)), m_handler(handler) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    std::string title = m_sheet->Title();
    if (!title.empty()) {
        m_title = new QLabel(QString::fromStdString(title), this);
        m_title->setTextFormat(Qt::PlainText);
        m_title->setFrameShape(QFrame::Panel);
        m_title->setFrameShadow(QFrame::Sunken);
        m_title->setLineWidth(2);
        m_title->setAutoFillBackground(true);
        QPalette pal = m_title->palette();
        pal.setColor(QPalette::Window, cuiQtColors::ToQColor(m_sheet->TitleColor()));
        m_title->setPalette(pal);
        if (m_sheet->TitleFont())
            m_title->setFont(cuiQtColors::ToQFont(*m_sheet->TitleFont()));
        m_title->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(m_title);
    }
    m_grid = new cuiGrid(this);
    layout->addWidget(m_grid, 1);

    const cmcCellObj& basic = m_sheet->BasicCell();
    m_grid->SetColor(basic.color);
    if (basic.font)
        m_grid->setFont(cuiQtColors::ToQFont(*basic.font));
    m_grid->SetDefaultSizes(1, 1);
    m_grid->SetCounts(m_sheet->ColCount(), m_sheet->RowCount());
    for (int c = 0; c < m_sheet->ColCount(); ++c)
        m_grid->SetColWidth(c, m_sheet->ColWidth(c));
    for (int r = 0; r < m_sheet->RowCount(); ++r)
        m_grid->SetRowHeight(r, m_sheet->RowHeight(r));
    m_grid->SetFixed(m_sheet->GridFixedCols(), m_sheet->GridFixedRows());
    m_grid->SetColSizing(m_sheet->ColSizing());
    m_columns = new cuiColumnControl(*this, handler);
    m_columns->ApplyToGrid();
    if (m_sheet->KeepsColumnLayout() && !m_sheet->WidthStoreName().empty())
        m_grid->onHeaderMenu = [this](int, const QPoint& at) { m_columns->ShowMenu(at); };

    m_grid->onSelectCell = [this](int c, int r, bool& allow) {
        // While the engine sets the column of a move, the cell on the old row need not be selectable.
        if (m_building || m_guard) {
            allow = true;
            return;
        }
        StatusClear();
        allow = Selectable(c, r) &&
                (!m_range || (m_sheet->CellAt(c, r).flags & cuiSheet::CellEntry::kMultiSelectAllowed));
        if (allow) {
            CloseEditor(true);
            UpdateSelection(c, r);
            if (r != m_grid->Row() && !m_sheet->PopupMode())
                m_grid->InvalidateGrid(); // the select-line colouring follows the row
        }
    };
    m_grid->onDrawCell = [this](cuiQtCanvas& canvas, int c, int r, const cmcCanvas::Rect& rect, int) {
        m_painted = true;
        m_painter.Paint(*this, canvas, c, r, rect);
        DrawSelection(canvas, c, r, rect);
    };
    m_grid->onKeyDown = [this](int& key, int shift) { KeyDown(key, shift); };
    m_grid->onKeyPress = [this](char32_t& ch) {
        if (ch >= 0x100 && ch != 0)
            return; // the cells take single-byte characters
        if (m_range && (ch == ' ' || ch == '\b') && onRangeKey && onRangeKey(static_cast<int32_t>(ch))) {
            ch = 0;
            return;
        }
        ExecuteCell(m_grid->Col(), m_grid->Row(), static_cast<int32_t>(ch), 0);
        ch = 0;
    };
    m_grid->onDblClick = [this] { DoubleClick(); };
    m_grid->onHeaderClick = [this](int c) { HeaderClicked(c); };
    m_grid->onMouseDown = [this](cuiGrid::Button b, int shift, int x, int y) {
        MouseDown(static_cast<int>(b), shift, x, y);
    };
    m_grid->onMouseUp = [this](cuiGrid::Button b, int, int, int) { MouseUp(static_cast<int>(b)); };
    m_grid->onMouseMove = [this](int, int x, int y) { MouseMove(x, y); };
    m_grid->onKeyUp = [this](int, int) { m_grid->SetAutoPopup(m_popup != nullptr); };
    m_grid->onFocusGained = [this] {
        if (m_popup)
            PreparePopup(true);
        m_grid->InvalidateGrid();
    };
    m_grid->onFocusLost = [this] { m_grid->InvalidateGrid(); };
    m_grid->onColWidthsChanged = [this] {
        // A value column stays between 10 pixels and what the grid can show beside the fixed columns.
        int fixed = 0;
        for (int c = 0; c < m_grid->FixedCols(); ++c)
            fixed += m_grid->ColWidth(c);
        const int limit = std::clamp(m_grid->ClientWidth() - fixed, 10, kColumnLimit);
        const int row = std::min(m_grid->FixedRows(), m_sheet->RowCount() - 1);
        for (int c = 0; c < m_sheet->ColCount(); ++c) {
            if (m_grid->ColHidden(c))
                continue; // keeps its width for when it shows again
            if (row >= 0 && (m_sheet->CellAt(c, row).cell.markFlags & cmcCellObj::kSelectable))
                m_grid->SetColWidth(c, std::clamp(m_grid->ColWidth(c), 10, limit));
            m_sheet->SetColWidth(c, m_grid->ColWidth(c));
        }
    };

    m_grid->viewport()->installEventFilter(this);
    if (cmcEvMan* events = m_sheet->Env().events) {
        events->Register(&cuiSheetView::OnEvent, this);
    }
    if (!m_sheet->PopupMode()) {
        m_popup = new QMenu(this);
        connect(m_popup, &QMenu::aboutToShow, this, [this] { PreparePopup(true); });
        m_grid->SetPopupMenu(m_popup);
        m_grid->SetAutoPopup(true);
    }

    // The cursor settles on a selectable cell near the top left.
    m_grid->MoveCurrent(0, 0);
    m_building = false;
    MoveBy(0, 1);
    MoveBy(0, -1);
    MoveBy(1, 0);
    MoveBy(-1, 0);
    if (!Selectable(m_grid->Col(), m_grid->Row()))
        m_grid->setEnabled(false);
}

bool cuiSheetView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_extend = (mouse->modifiers() & Qt::ShiftModifier) != 0;
        m_toggle = (mouse->modifiers() & Qt::ControlModifier) != 0 && mouse->button() == Qt::LeftButton;
        if (m_toggle && !m_extend && ToggleOut(mouse->position().toPoint())) {
            m_toggle = false;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void cuiSheetView::SetOpener(const cmcCellCapsule& opener) {
    m_opener.emplace();
    m_opener->CopyCapsule(opener);
    m_opener->groupIndex = opener.groupIndex;
}

void cuiSheetView::StatusClear() {
    if (cmcEvMan* events = m_sheet->Env().events)
        events->SendText(cmcEv::StatusText, kClWindowText, kClBtnFace, "");
}

cuiSheetView::~cuiSheetView() {
    // The editor's focus leaves while the view goes: that leave must not reach the half-destroyed
    // view (the owner commits what it holds before closing a sheet).
    m_closingEditor = true;
    delete std::exchange(m_editor, nullptr);
    if (cmcEvMan* events = m_sheet->Env().events) {
        events->Unregister(&cuiSheetView::OnEvent, this);
    }
}

void cuiSheetView::OnEvent(void* context, const cmcEvRec& event) {
    // Before the data is saved, written or replaced every edit is committed.
    if (event.type == cmcEv::CommitEdit) {
        static_cast<cuiSheetView*>(context)->CommitEditor();
    }
}

// ---- painter source ----

bool cuiSheetView::Ready() const {
    return !m_building && m_sheet->ColCount() > 0;
}
int cuiSheetView::ColCount() const {
    return m_sheet->ColCount();
}
int cuiSheetView::RowCount() const {
    return m_sheet->RowCount();
}
int cuiSheetView::ColWidth(int col) const {
    return m_grid->ColWidth(col);
}
int cuiSheetView::RowHeight(int row) const {
    return m_grid->RowHeight(row);
}
int cuiSheetView::FixedCols() const {
    return m_grid->FixedCols();
}
const cmcCellObj& cuiSheetView::Cell(int col, int row) const {
    return m_sheet->CellAt(col, row).cell;
}
uint8_t cuiSheetView::CellBits(int col, int row) const {
    return m_sheet->CellAt(col, row).flags;
}
const cmcCellObj& cuiSheetView::BasicCell() const {
    return m_sheet->BasicCell();
}
bool cuiSheetView::IsCurrent(int col, int row) const {
    return col == m_grid->Col() && row == m_grid->Row();
}
int cuiSheetView::CurrentRow() const {
    return m_grid->Row();
}
bool cuiSheetView::GridFocused() const {
    return m_grid->hasFocus();
}
bool cuiSheetView::PopupMode() const {
    return m_sheet->PopupMode();
}
bool cuiSheetView::SelectLineColoring() const {
    return m_sheet->ColorSelectLine();
}

bool cuiSheetView::CallHandler(cmcCellCapsule& capsule) {
    if (!m_handler)
        return false;
    capsule.sheet = nullptr;
    if (m_opener)
        capsule.link = &*m_opener;
    m_handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
    return true;
}

void cuiSheetView::DrawImage(cmcCanvas& canvas, int x, int y, int index) {
    // Marks drawn as small shapes until the program has its image list.
    auto& qt = static_cast<cuiQtCanvas&>(canvas);
    QPainter& p = qt.Painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QRectF box(x, y, 15, 15);
    if (index == cmcCellPainter::kImageError) {
        p.setPen(QPen(QColor(200, 0, 0), 3));
        p.drawLine(box.topLeft() + QPointF(3, 3), box.bottomRight() - QPointF(3, 3));
        p.drawLine(box.topRight() + QPointF(-3, 3), box.bottomLeft() + QPointF(3, -3));
    } else {
        QPolygonF tri;
        tri << QPointF(x + 7.5, y + 1) << QPointF(x + 14, y + 14) << QPointF(x + 1, y + 14);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 210, 0));
        p.drawPolygon(tri);
        p.drawLine(QPointF(x + 7.5, y + 5), QPointF(x + 7.5, y + 10));
        p.drawPoint(QPointF(x + 7.5, y + 12));
    }
    p.restore();
}

// ---- cursor ----

bool cuiSheetView::Selectable(int col, int row) const {
    if (col < 0 || row < 0 || col >= m_sheet->ColCount() || row >= m_sheet->RowCount())
        return false;
    if (m_grid->ColWidth(col) < 1 || m_grid->RowHeight(row) < 1)
        return false;
    return m_sheet->CellAt(col, row).cell.markFlags & cmcCellObj::kSelectable;
}

// One step of a keyboard move: straight along the direction, then the nearest selectable cell of
// the next columns (rows) to the keyboard position.
bool cuiSheetView::StepSearch(int& col, int& row, int dx, int dy) const {
    const int cols = m_sheet->ColCount(), rows = m_sheet->RowCount();
    if (m_wrap) {
        // A list window without scroll bars: around the grid, until back at the start.
        for (int c = (col + dx + cols) % cols, r = (row + dy + rows) % rows; c != col || r != row;
             c = (c + dx + cols) % cols, r = (r + dy + rows) % rows)
            if (Selectable(c, r)) {
                col = c;
                row = r;
                return true;
            }
        return false;
    }
    for (int c = col + dx, r = row + dy; c >= 0 && r >= 0 && c < cols && r < rows; c += dx, r += dy)
        if (Selectable(c, r)) {
            col = c;
            row = r;
            return true;
        }
    if (m_sheet->PopupMode())
        return false;
    if (dx != 0) {
        for (int c = col + dx; c >= 0 && c < cols; c += dx) {
            int best = -1;
            for (int r = 0; r < rows; ++r)
                if (Selectable(c, r) && (best < 0 || std::abs(r - m_keyRow) < std::abs(best - m_keyRow)))
                    best = r;
            if (best >= 0) {
                col = c;
                row = best;
                return true;
            }
        }
    } else {
        for (int r = row + dy; r >= 0 && r < rows; r += dy) {
            int best = -1;
            for (int c = 0; c < cols; ++c)
                if (Selectable(c, r) && (best < 0 || std::abs(c - m_keyCol) < std::abs(best - m_keyCol)))
                    best = c;
            if (best >= 0) {
                col = best;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void cuiSheetView::MoveBy(int dx, int dy) {
    if (dx != 0)
        dy = 0;
    int col = m_grid->Col(), row = m_grid->Row();
    int steps = std::max(std::abs(dx), std::abs(dy));
    int sx = dx > 0 ? 1 : dx < 0 ? -1 : 0, sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    m_wrap = WrapMode(dx, dy);
    for (int i = 0; i < steps; ++i) {
        if (!StepSearch(col, row, sx, sy))
            break;
        m_keyCol = col;
        m_keyRow = row;
    }
    MoveTo(col, row);
    if (col <= m_sheet->FirstSelectableCol())
        m_grid->SetLeftCol(m_grid->FixedCols());
    if (row <= m_sheet->FirstSelectableRow())
        m_grid->SetTopRow(m_grid->FixedRows());
}

bool cuiSheetView::WrapMode(int dx, int dy) const {
    return std::abs(dx) <= 1 && std::abs(dy) <= 1 && m_sheet->PopupMode() &&
           m_grid->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
           m_grid->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
}

void cuiSheetView::MoveTo(int col, int row) {
    if (col == m_grid->Col() && row == m_grid->Row())
        return;
    StatusClear();
    CloseEditor(true);
    int oldRow = m_grid->Row();
    UpdateSelection(col, row);
    m_guard = true;
    m_grid->SetCol(col);
    m_grid->SetRow(row);
    m_guard = false;
    if (row != oldRow && !m_sheet->PopupMode())
        m_grid->InvalidateGrid();
}

bool cuiSheetView::MoveToCell(int32_t category, int32_t cell, int32_t parameter) {
    for (int r = 0; r < m_sheet->RowCount(); ++r)
        for (int c = 0; c < m_sheet->ColCount(); ++c) {
            const cmcCellObj& o = m_sheet->CellAt(c, r).cell;
            if (Selectable(c, r) && (category < 0 || o.category == category) && o.cell == cell &&
                o.parameter == parameter) {
                m_grid->MoveCurrent(c, r);
                m_keyCol = c;
                m_keyRow = r;
                return true;
            }
        }
    return false;
}

// ---- selection ----

bool cuiSheetView::IsSelected(int col, int row) const {
    return m_sheet->CellAt(col, row).flags & cuiSheet::CellEntry::kSelected;
}

bool cuiSheetView::IsLineMarked(int col, int row) const {
    return m_sheet->CellAt(col, row).flags & cuiSheet::CellEntry::kLineMarked;
}

void cuiSheetView::SetBits(int col, int row, uint8_t bits, bool on) {
    uint8_t& flags = m_sheet->CellAt(col, row).flags;
    uint8_t next = on ? uint8_t(flags | bits) : uint8_t(flags & ~bits);
    if (next != flags) {
        flags = next;
        m_grid->InvalidateCell(col, row);
    }
}

void cuiSheetView::UpdateLineMarks() {
    const int first = m_grid->FixedCols();
    if (m_range && m_sheet->MultiSelectMode() == cuiSheet::kMultiLine) {
        for (int r = 0; r < m_sheet->RowCount(); ++r) {
            bool any = false;
            for (int c = first; c < m_sheet->ColCount() && !any; ++c)
                any = IsSelected(c, r);
            for (int c = first; c < m_sheet->ColCount(); ++c)
                SetBits(c, r, cuiSheet::CellEntry::kLineMarked, any);
        }
        m_lineMarksClear = false;
    } else if (!m_range && !m_lineMarksClear) {
        for (int r = 0; r < m_sheet->RowCount(); ++r)
            for (int c = 0; c < m_sheet->ColCount(); ++c)
                SetBits(c, r, cuiSheet::CellEntry::kLineMarked, false);
        m_lineMarksClear = true;
    }
}

void cuiSheetView::ClearSelection() {
    for (int r = 0; r < m_sheet->RowCount(); ++r)
        for (int c = 0; c < m_sheet->ColCount(); ++c)
            SetBits(c, r, cuiSheet::CellEntry::kSelected, false);
    m_range = false;
    m_toggled = false;
    UpdateLineMarks();
}

// The selection for a new current cell: Shift (or a drag) extends a rectangle from the anchor over
// cells that may be multi-selected; any other move selects the one cell.
void cuiSheetView::UpdateSelection(int col, int row) {
    using E = cuiSheet::CellEntry;
    const int oc = m_grid->Col(), orow = m_grid->Row();
    if (m_toggle && !m_extend && ToggleInto(col, row))
        return;
    const bool extend = m_extend || m_dragging;
    const bool moved = col != oc || row != orow;
    const bool allowed = (m_sheet->CellAt(oc, orow).flags & E::kMultiSelectAllowed) &&
                         (m_sheet->CellAt(col, row).flags & E::kMultiSelectAllowed);
    const bool eligible =
        ((m_sheet->MultiSelectMode() != cuiSheet::kMultiNone && moved) || m_range) && allowed;
    if (!eligible || !extend || m_anchorCol < 0) {
        m_anchorCol = col;
        m_anchorRow = row;
    }
    if (extend && eligible) {
        const int c0 = std::min({oc, col, m_anchorCol}), c1 = std::max({oc, col, m_anchorCol});
        const int r0 = std::min({orow, row, m_anchorRow}), r1 = std::max({orow, row, m_anchorRow});
        const int sc0 = std::min(col, m_anchorCol), sc1 = std::max(col, m_anchorCol);
        const int sr0 = std::min(row, m_anchorRow), sr1 = std::max(row, m_anchorRow);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                SetBits(c, r, E::kSelected, Selectable(c, r) && c >= sc0 && c <= sc1 && r >= sr0 && r <= sr1);
        m_range = true;
    } else if (m_range) {
        ClearSelection();
    } else {
        SetBits(oc, orow, E::kSelected | E::kLineMarked, false);
    }
    SetBits(col, row, E::kSelected, true);
    UpdateLineMarks();
}

bool cuiSheetView::RangeParameters(int32_t& first, int32_t& last) const {
    if (!m_range || m_anchorRow < 0)
        return false;
    if (m_toggled)
        return ToggledRange(first, last);
    const int c = std::min(m_grid->FixedCols(), m_sheet->ColCount() - 1);
    int32_t a = m_sheet->CellAt(c, m_anchorRow).cell.parameter;
    int32_t b = m_sheet->CellAt(c, m_grid->Row()).cell.parameter;
    first = std::min(a, b);
    last = std::max(a, b);
    return true;
}

void cuiSheetView::FillRange(cmcCellCapsule& capsule) {
    int32_t first = 0, last = 0;
    if (RangeParameters(first, last)) {
        capsule.rangeFlags |= cmcCellCapsule::kRangeBlock;
        capsule.rangeFirst = first;
        capsule.rangeLast = last;
    }
}

// After a row command: the rows whose cells carry this cell identifier and a parameter in
// [first, last] become the selection, anchored at the far end from the current row.
void cuiSheetView::SelectParameterRange(int32_t cell, int32_t first, int32_t last, int32_t current) {
    ClearSelection();
    int anchor = -1;
    const int32_t far = current == first ? last : first;
    for (int r = 0; r < m_sheet->RowCount(); ++r)
        for (int c = 0; c < m_sheet->ColCount(); ++c) {
            const cmcCellObj& o = m_sheet->CellAt(c, r).cell;
            if (o.cell != cell || o.parameter < first || o.parameter > last || !Selectable(c, r))
                continue;
            SetBits(c, r, cuiSheet::CellEntry::kSelected, true);
            if (o.parameter == far)
                anchor = r;
        }
    if (anchor >= 0) {
        m_anchorRow = anchor;
        m_anchorCol = m_grid->Col();
    }
    m_range = first != last;
    UpdateLineMarks();
}

void cuiSheetView::KeyDown(int& key, int shift) {
    // A row or clipboard key the in-place editor left (Ins, Ctrl+Up...) belongs to the edit: it
    // neither closes it nor changes rows.
    const bool rowKey = ((key == cuiGrid::kVkInsert || key == cuiGrid::kVkDelete) && shift == 0) ||
                        ((key == 'C' || key == 'V' || key == 'X') && shift == cuiGrid::kCtrl) ||
                        ((key == cuiGrid::kVkUp || key == cuiGrid::kVkDown) && shift == cuiGrid::kCtrl) ||
                        key == cuiGrid::kVkF1 + 1;
    if (rowKey && EditorVisible() && m_editor->hasFocus()) {
        key = 0;
        return;
    }
    CloseEditor(true);
    StatusClear();
    int col = m_grid->Col(), row = m_grid->Row();
    m_extend = (shift & cuiGrid::kShift) != 0;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_extend};
    switch (key) {
    case cuiGrid::kVkTab:
        // Tab steps through the cells of the sheet; Ctrl+Tab leaves it for the next control.
        if (shift & cuiGrid::kCtrl) {
            QWidget* next =
                (shift & cuiGrid::kShift) ? m_grid->previousInFocusChain() : m_grid->nextInFocusChain();
            for (int i = 0; next && i < 64 &&
                            (next == m_grid || !(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() ||
                             !next->isEnabled());
                 ++i)
                next = (shift & cuiGrid::kShift) ? next->previousInFocusChain() : next->nextInFocusChain();
            if (next && next != m_grid)
                next->setFocus(Qt::TabFocusReason);
            break;
        }
        m_extend = false;
        MoveBy((shift & cuiGrid::kShift) ? -1 : 1, 0);
        break;
    case cuiGrid::kVkPrior:
        MoveBy(0, -kPageRows);
        break;
    case cuiGrid::kVkNext:
        MoveBy(0, kPageRows);
        break;
    case cuiGrid::kVkHome:
    case cuiGrid::kVkEnd:
        break;
    case cuiGrid::kVkApps: {
        // The menu key opens the pop-up menu at the current cell.
        if (!m_popup || !m_grid->AutoPopup())
            return;
        cmcCanvas::Rect r = m_grid->CellRect(col, row);
        ShowPopup(m_grid->viewport()->mapToGlobal(QPoint(r.left, r.bottom)));
        break;
    }
    case cuiGrid::kVkLeft:
    case cuiGrid::kVkRight:
        MoveBy(key == cuiGrid::kVkLeft ? -1 : 1, 0);
        if (m_grid->Col() == col && m_grid->Row() == row)
            ExecuteCell(col, row,
                        key == cuiGrid::kVkLeft ? cmcCellCapsule::kKeyLeft : cmcCellCapsule::kKeyRight, 0);
        break;
    case cuiGrid::kVkUp:
    case cuiGrid::kVkDown:
        // Ctrl+Up and Ctrl+Down carry the rows up and down.
        if ((shift & (cuiGrid::kCtrl | cuiGrid::kShift | cuiGrid::kAlt)) != cuiGrid::kCtrl) {
            MoveBy(0, key == cuiGrid::kVkUp ? -1 : 1);
        } else {
            RowKey(key == cuiGrid::kVkUp ? CL_PMenu_CarryUp : CL_PMenu_CarryDown);
        }
        break;
    case cuiGrid::kVkInsert:
    case cuiGrid::kVkDelete:
        if (shift != 0) {
            return;
        }
        RowKey(key == cuiGrid::kVkInsert ? CL_PMenu_Insert : CL_PMenu_Delete);
        break;
    case 'C':
    case 'V':
    case 'X':
        if (shift != cuiGrid::kCtrl) {
            return;
        }
        // Selected rows are copied, cut and pasted as rows; a single cell goes through the system
        // clipboard as text, and pastes the copied rows while the clipboard holds no text. Cut copies
        // the rows, then clears them.
        if (!m_range) {
            if (key == 'C') {
                CopyCellText();
            } else if (key == 'V' && !PasteCellText()) {
                RowKey(CL_PMenu_Paste);
            }
        } else if (key == 'X') {
            ActionScope action(*this, kCutRows, col, row);
            if (RowKey(CL_PMenu_Copy)) {
                RowKey(CL_PMenu_Clear);
            }
        } else {
            RowKey(key == 'C' ? CL_PMenu_Copy : CL_PMenu_Paste);
        }
        break;
    case cuiGrid::kVkF1:
        // Help on the sheet; where the main window has not taken F1 already (the secondary windows).
        if (shift != 0 || !RowKey(CL_PMenu_Help)) {
            ExecuteCell(col, row, key * 256, 0);
        }
        break;
    case cuiGrid::kVkF1 + 1:
        // F2 edits the current cell as Enter does: the editor opens on its text.
        if (shift != 0) {
            return;
        }
        ExecuteCell(col, row, cmcCellCapsule::kKeyReturn, 0);
        break;
    default:
        if (key >= cuiGrid::kVkF1 && key <= cuiGrid::kVkF12) {
            ExecuteCell(col, row, key * 256, 0);
            break;
        }
        return; // to the grid
    }
    key = 0;
}

void cuiSheetView::MouseDown(int button, int shift, int x, int y) {
    m_grid->SetAutoPopup(false);
    if (button == static_cast<int>(cuiGrid::Button::Right)) {
        if (m_sheet->PopupMode() || !m_popup)
            return;
        int col, row;
        bool hit = m_grid->CellAtPoint(x, y, col, row);
        if (hit) {
            while (col > 0 && (m_sheet->CellAt(col, row).cell.markFlags & cmcCellObj::kTail))
                --col;
            hit = Selectable(col, row);
        }
        if (hit && !m_range && (col != m_grid->Col() || row != m_grid->Row()))
            MoveTo(col, row);
        if (m_range || hit)
            ShowPopup(m_grid->viewport()->mapToGlobal(QPoint(x, y)));
        return;
    }
    m_dragging = true;
    m_pressed = button == static_cast<int>(cuiGrid::Button::Left);
    (void)shift; // Shift was noted before the grid moved its cell
}

void cuiSheetView::MouseUp(int button) {
    m_grid->SetAutoPopup(false);
    m_dragging = false;
    m_extend = false;
    m_toggle = false;
    // A list window chooses on the release of a press made inside it, not on the release of the
    // double click that opened it.
    const bool pressed = m_pressed;
    m_pressed = false;
    if (m_sheet->PopupMode() && pressed && button == static_cast<int>(cuiGrid::Button::Left))
        ExecuteCell(m_grid->Col(), m_grid->Row(), cmcCellCapsule::kKeyActivate, 0);
}

void cuiSheetView::MouseMove(int x, int y) {
    // In a list window the entry under the mouse becomes current.
    const QPoint p(x, y);
    if (m_sheet->PopupMode() && m_lastMouse != QPoint(-1, -1) && p != m_lastMouse && !EditorVisible()) {
        int col, row;
        if (m_grid->CellAtPoint(x, y, col, row)) {
            while (col > 0 && (m_sheet->CellAt(col, row).cell.markFlags & cmcCellObj::kTail))
                --col;
            if (Selectable(col, row))
                MoveTo(col, row);
        }
    }
    m_lastMouse = p;
}

void cuiSheetView::DoubleClick() {
    const QPoint p = m_grid->DoubleClickPos();
    int col, row;
    bool hit = m_grid->CellAtPoint(p.x(), p.y(), col, row);
    if (m_sheet->ColSizing()) {
        constexpr int kEdge = 4;
        if (hit && row < m_grid->FixedRows() && col >= m_grid->FixedCols()) {
            cmcCanvas::Rect r = m_grid->CellRect(col, row);
            if (p.x() - r.left <= kEdge) {
                for (int c = col - 1; c >= m_grid->FixedCols(); --c)
                    if (m_grid->ColWidth(c) > 0) {
                        FitColumn(c);
                        break;
                    }
                return;
            }
            if (r.right - p.x() <= kEdge) {
                FitColumn(col);
                return;
            }
        } else if (!hit) {
            for (int c = m_sheet->ColCount() - 1; c >= m_grid->FixedCols(); --c)
                if (m_grid->ColWidth(c) > 0) {
                    if (std::abs(m_grid->CellRect(c, 0).right - p.x()) <= kEdge)
                        FitColumn(c);
                    break;
                }
        }
    }
    if (!hit)
        return;
    while (col > 0 && (m_sheet->CellAt(col, row).cell.markFlags & cmcCellObj::kTail))
        --col;
    if (col == m_grid->Col() && row == m_grid->Row())
        ExecuteCell(col, row, cmcCellCapsule::kKeyActivate, 0);
}

void cuiSheetView::FitColumn(int col) {
    if (col < 0 || col >= m_sheet->ColCount())
        return;
    int width = 0;
    const cmcCellObj& basic = m_sheet->BasicCell();
    for (int r = 0; r < m_sheet->RowCount(); ++r) {
        const cmcCellObj& cell = m_sheet->CellAt(col, r).cell;
        std::string text;
        if (r < m_grid->FixedRows()) {
            if (col + 1 < m_sheet->ColCount() &&
                (m_sheet->CellAt(col + 1, r).cell.layoutFlags & cmcCellObj::kJoined))
                continue;
            text = cell.displayText;
        } else if (m_handler && cell.HasCell()) {
            FillCapsule(m_capsule, col, r);
            m_handler->CallCell(m_capsule, cmcCellHandler::kNotifyDraw);
            text = m_capsule.displayText;
        } else {
            text = cell.displayText;
        }
        QFont font = cell.font    ? cuiQtColors::ToQFont(*cell.font)
                     : basic.font ? cuiQtColors::ToQFont(*basic.font)
                                  : m_grid->font();
        QFontMetrics fm(font);
        int w = 0;
        for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n')))
            w = std::max(w, fm.horizontalAdvance(line));
        width = std::max(width, w + 8);
    }
    m_grid->SetColWidth(col, width);
    m_sheet->SetColWidth(col, width);
}

// ---- actions ----

void cuiSheetView::FillCapsule(cmcCellCapsule& capsule, int col, int row) {
    capsule.ResetCapsule();
    capsule.ownerControl = m_grid;
    capsule.onGrid = true;
    if (m_opener)
        capsule.link = &*m_opener;
    capsule.cell = &m_sheet->CellAt(col, row).cell;
    cmcCanvas::Rect r = m_grid->CellRect(col, row);
    capsule.cellRect = {r.left, r.top, r.right, r.bottom};
    capsule.refresh = &cuiSheetView::Refresh;
    capsule.refreshContext = this;
    capsule.restartEdit = &cuiSheetView::RestartEdit;
    capsule.restartEditContext = this;
    if (col == m_grid->Col() && row == m_grid->Row())
        capsule.stateBits |= cmcCellCapsule::kStateCurrent;
}

void cuiSheetView::ExecuteCell(int col, int row, int32_t key, int32_t command, const std::string* text) {
    if (!m_handler || !Selectable(col, row))
        return;
    ActionScope action(*this, command, col, row);
    if (m_sheet->PopupMode()) {
        // A list window answers its opening cell with the chosen entry, once.
        if ((key != cmcCellCapsule::kKeyReturn && key != cmcCellCapsule::kKeyActivate) || !m_opener ||
            m_answered)
            return;
        m_answered = true;
        FillCapsule(m_capsule, col, row);
        cmcCellCapsule answer = indFlector::Answer(*m_opener, m_capsule);
        m_handler->CallCell(answer, cmcCellHandler::kNotifyAction);
        ReportRefusal(-1, -1, answer.refusal, false); // the list closes: the status bar only
        if (onChosen)
            onChosen();
        return;
    }
    if (command != 0 && RunRowCommand(col, row, command)) {
        return;
    }
    // A redirect key repeats the action on the cell the handler moved to; a bound keeps a faulty
    // handler from looping forever.
    const bool entered = text != nullptr;
    std::string refusal;
    for (int round = 0; round < 1000; ++round) {
        FillCapsule(m_capsule, col, row);
        m_capsule.key = key;
        m_capsule.command = command;
        if (text) {
            m_capsule.enteredText = *text;
            m_capsule.editState = cmcCellCapsule::kEditEntered;
            m_capsule.key = 0;
        }
        int32_t result = m_handler->CallCell(m_capsule, cmcCellHandler::kNotifyAction);
        if (!m_capsule.refusal.empty())
            refusal = m_capsule.refusal;
        if (m_capsule.redirect.on &&
            MoveToCell(m_capsule.redirect.category, m_capsule.redirect.cell, m_capsule.redirect.parameter)) {
            col = m_grid->Col();
            row = m_grid->Row();
        }
        // Enter keeps the selection: the list it opens answers every selected cell.
        if (result == cmcCellHandler::kResultRefresh && m_range && key != cmcCellCapsule::kKeyReturn) {
            ClearSelection();
            UpdateSelection(m_grid->Col(), m_grid->Row());
        }
        if (result == cmcCellHandler::kResultEdit)
            OpenEditor(col, row, m_capsule.displayText, m_capsule.selStart, m_capsule.selLength);
        m_grid->InvalidateGrid();
        if (!m_capsule.redirect.key)
            break;
        key = m_capsule.redirect.key;
        text = nullptr;
    }
    ReportRefusal(col, row, refusal, entered);
}

void cuiSheetView::ReportRefusal(int col, int row, const std::string& refusal, bool entered) {
    if (refusal.empty()) {
        // A text the cell took ends what an earlier refusal said.
        if (entered)
            StatusClear();
        return;
    }
    // The reason stays in the status bar until the next cursor move, key or accepted edit, and shows
    // at the cell, where the user is looking.
    if (cmcEvMan* events = m_sheet->Env().events)
        events->SendText(cmcEv::StatusText, kRefusalText, kClBtnFace, refusal);
    if (col < 0 || row < 0)
        return;
    const cmcCanvas::Rect r = m_grid->CellRect(col, row);
    const QString reason = QString::fromStdString(refusal);
    QWidget* viewport = m_grid->viewport();
    QToolTip::showText(viewport->mapToGlobal(QPoint(r.left, r.bottom)), reason, viewport,
                       QRect(r.left, r.top, r.Width(), r.Height()));
}

bool cuiSheetView::RunRowCommand(int col, int row, int32_t command) {
    if (!onRowCommand || !m_handler || !Selectable(col, row) || m_sheet->PopupMode()) {
        return false;
    }
    ActionScope action(*this, command, col, row);
    FillCapsule(m_capsule, col, row);
    FillRange(m_capsule);
    m_capsule.command = command;
    if (!onRowCommand(command, m_capsule)) {
        return false;
    }
    // The last copy wins: copied rows empty the system clipboard, so that Ctrl+V on a single cell
    // pastes them rather than typing older text.
    if (command == CL_PMenu_Copy) {
        QGuiApplication::clipboard()->clear();
    }
    if (m_capsule.redirect.on) {
        MoveToCell(m_capsule.redirect.category, m_capsule.redirect.cell, m_capsule.redirect.parameter);
    }
    if (m_capsule.rangeFlags & 0x02) {
        SelectParameterRange(m_sheet->CellAt(m_grid->Col(), m_grid->Row()).cell.cell, m_capsule.rangeFirst,
                             m_capsule.rangeLast,
                             m_sheet->CellAt(m_grid->Col(), m_grid->Row()).cell.parameter);
    } else {
        ClearSelection();
        UpdateSelection(m_grid->Col(), m_grid->Row());
    }
    m_grid->InvalidateGrid();
    return true;
}

void cuiSheetView::HeaderClicked(int col) {
    if ((m_extend || m_toggle) && !m_sheet->PopupMode() &&
        m_sheet->MultiSelectMode() != cuiSheet::kMultiNone) {
        SelectColumn(col); // Shift or Ctrl on a header selects its column; a plain click sorts
        return;
    }
    if (!onSortColumn || m_sheet->PopupMode() || col < 0 || col >= m_sheet->ColCount()) {
        return;
    }
    CommitEditor();
    const bool descending = col == m_sortCol && !m_sortDescending;
    if (!onSortColumn(col, descending)) {
        return;
    }
    m_sortCol = col;
    m_sortDescending = descending;
    ClearSelection();
    UpdateSelection(m_grid->Col(), m_grid->Row());
    m_grid->InvalidateGrid();
}

bool cuiSheetView::RowKey(int32_t command) {
    if (!m_popup) {
        return false;
    }
    PreparePopup(true);
    for (QAction* action : m_popup->actions()) {
        const auto* cell = static_cast<const cmcCellObj*>(action->data().value<void*>());
        if (cell && cell->cell == command) {
            return action->isVisible() && action->isEnabled() &&
                   RunRowCommand(m_grid->Col(), m_grid->Row(), command);
        }
    }
    return false;
}

void cuiSheetView::CopyCellText() {
    const int col = m_grid->Col(), row = m_grid->Row();
    if (!Selectable(col, row)) {
        return;
    }
    const cmcCellObj& cell = m_sheet->CellAt(col, row).cell;
    std::string text = cell.displayText;
    if (m_handler && cell.HasCell()) {
        FillCapsule(m_capsule, col, row);
        m_capsule.onGrid = false; // a query: no keys, no windows
        CallHandler(m_capsule);
        text = m_capsule.displayText;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text).trimmed());
}

bool cuiSheetView::PasteCellText() {
    // One line, as the in-place editor would hold it.
    QString text = QGuiApplication::clipboard()->text().section(QLatin1Char('\n'), 0, 0).trimmed();
    if (text.isEmpty()) {
        return false;
    }
    text.truncate(kEditorMaxLength);
    const std::string typed = text.toStdString();
    ActionScope action(*this, CL_PMenu_Paste, m_grid->Col(), m_grid->Row());
    ExecuteCell(m_grid->Col(), m_grid->Row(), cmcCellCapsule::kKeyReturn, 0, &typed);
    return true;
}

int cuiSheetView::ExtraWidth() const {
    int total = 0;
    for (int c = 0; c < m_grid->ColCount(); ++c)
        total += m_grid->ColWidth(c);
    return total - m_grid->ClientWidth();
}

int cuiSheetView::ExtraHeight() const {
    int total = 0;
    for (int r = 0; r < m_grid->RowCount(); ++r)
        total += m_grid->RowHeight(r);
    return total - m_grid->ClientHeight();
}

int cuiSheetView::TextWidth(int col, int row, const std::string& text) const {
    const cmcCellObj& cell = m_sheet->CellAt(col, row).cell;
    const cmcCellObj& basic = m_sheet->BasicCell();
    QFont font = cell.font    ? cuiQtColors::ToQFont(*cell.font)
                 : basic.font ? cuiQtColors::ToQFont(*basic.font)
                              : m_grid->font();
    QFontMetrics fm(font);
    int w = 0;
    for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n')))
        w = std::max(w, fm.horizontalAdvance(line));
    return w;
}

void cuiSheetView::FitValueColumns() {
    if (!m_handler)
        return;
    for (int c = 0; c < m_sheet->ColCount(); ++c) {
        const int current = m_grid->ColWidth(c);
        if (current <= 0)
            continue; // hidden columns stay hidden
        int widest = 0;
        const cmcChoiceList* lastList = nullptr;
        for (int r = m_grid->FixedRows(); r < m_sheet->RowCount(); ++r) {
            const cmcCellObj& cell = m_sheet->CellAt(c, r).cell;
            if (!cell.HasCell() || (cell.markFlags & cmcCellObj::kTail))
                continue;
            // A joined neighbour lends its width: the text may run into it.
            if (c + 1 < m_sheet->ColCount() &&
                (m_sheet->CellAt(c + 1, r).cell.layoutFlags & cmcCellObj::kJoined))
                continue;
            FillCapsule(m_capsule, c, r);
            m_capsule.onGrid = false; // a query: no keys, no windows
            if (m_lists)
                m_lists->ForgetLastAsked();
            CallHandler(m_capsule);
            widest = std::max(widest, TextWidth(c, r, m_capsule.displayText));
            // A choice cell may show any entry of its list.
            const cmcChoiceList* list = m_lists ? m_lists->LastAsked() : nullptr;
            if (list && list != lastList) {
                lastList = list;
                for (const cmcChoiceList::Entry& e : list->ByPosition())
                    widest = std::max(widest, TextWidth(c, r, e.text));
            }
        }
        const int fitted = std::min(widest + 8, kColumnLimit);
        if (fitted > current) {
            m_grid->SetColWidth(c, fitted);
            m_sheet->SetColWidth(c, fitted);
        }
    }
}

void cuiSheetView::Refresh(void* context, cmcCellCapsule&, uint8_t) {
    // The visible cells are few; repainting them all keeps every related cell right.
    static_cast<cuiSheetView*>(context)->m_grid->InvalidateGrid();
}

void cuiSheetView::RestartEdit(void* context, cmcCellCapsule& capsule, int32_t flag) {
    auto* view = static_cast<cuiSheetView*>(context);
    int col = view->m_grid->Col(), row = view->m_grid->Row();
    if (flag == 0 && capsule.cell == &view->m_sheet->CellAt(col, row).cell)
        view->OpenEditor(col, row, capsule.displayText, capsule.selStart, capsule.selLength);
}

// ---- in-place editor ----

bool cuiSheetView::EditorVisible() const {
    return m_editor && m_editor->isVisible();
}

void cuiSheetView::OpenEditor(int col, int row, const std::string& text, int selStart, int selLength) {
    cmcCanvas::Rect r = m_grid->CellRect(col, row);
    if (r.Width() < 1 || r.Height() < 1)
        return;
    if (!m_editor) {
        m_editor = new QLineEdit(m_grid->viewport());
        m_editor->setFrame(false);
        m_editor->setMaxLength(kEditorMaxLength);
        m_editor->installEventFilter(new EditorKeys(this));
    }
    const cmcCellObj& cell = m_sheet->CellAt(col, row).cell;
    const cmcCellObj& basic = m_sheet->BasicCell();
    if (cell.font)
        m_editor->setFont(cuiQtColors::ToQFont(*cell.font));
    else if (basic.font)
        m_editor->setFont(cuiQtColors::ToQFont(*basic.font));
    m_editor->setGeometry(r.left, r.top, r.Width(), r.Height());
    m_editor->setText(QString::fromStdString(text));
    m_editor->setSelection(selStart, selLength);
    m_editCol = col;
    m_editRow = row;
    m_editor->show();
    m_editor->setFocus();
    m_grid->InvalidateGrid();
}

void cuiSheetView::CommitEditor() {
    if (!EditorVisible() || m_closingEditor) {
        return;
    }
    // The focus stays where it went: the text goes to its cell without taking the grid back.
    std::string text = m_editor->text().toStdString();
    m_closingEditor = true;
    m_editor->hide();
    m_closingEditor = false;
    ExecuteCell(m_editCol, m_editRow, cmcCellCapsule::kKeyReturn, 0, &text);
    m_grid->InvalidateGrid();
}

void cuiSheetView::CloseEditor(bool commit) {
    if (!EditorVisible() || m_closingEditor) {
        return;
    }
    std::string text = m_editor->text().toStdString();
    // Hiding the editor moves the focus; that leave must not commit a dropped edit.
    m_closingEditor = true;
    m_editor->hide();
    m_grid->setFocus();
    m_closingEditor = false;
    if (commit && !(m_range && onRangeText && onRangeText(m_editCol, m_editRow, text))) {
        ExecuteCell(m_editCol, m_editRow, cmcCellCapsule::kKeyReturn, 0, &text);
    }
    m_grid->InvalidateGrid();
}

// ---- several cells of a column ----

std::vector<int> cuiSheetView::SelectedRows(int col) const {
    std::vector<int> rows;
    if (!m_range) {
        if (col == m_grid->Col())
            rows.push_back(m_grid->Row());
        return rows;
    }
    for (int r = m_grid->FixedRows(); r < m_sheet->RowCount(); ++r)
        if (IsSelected(col, r) && Selectable(col, r))
            rows.push_back(r);
    return rows;
}

void cuiSheetView::SelectColumn(int col) {
    using E = cuiSheet::CellEntry;
    if (col < m_grid->FixedCols() || col >= m_sheet->ColCount() ||
        m_sheet->MultiSelectMode() == cuiSheet::kMultiNone)
        return;
    std::vector<int> rows;
    for (int r = m_grid->FixedRows(); r < m_sheet->RowCount(); ++r)
        if (Selectable(col, r) && (m_sheet->CellAt(col, r).flags & E::kMultiSelectAllowed))
            rows.push_back(r);
    if (rows.empty())
        return;
    CloseEditor(true);
    StatusClear();
    ClearSelection();
    m_guard = true;
    m_grid->SetCol(col);
    m_grid->SetRow(rows.front());
    m_guard = false;
    m_keyCol = col;
    m_keyRow = rows.front();
    for (int r : rows)
        SetBits(col, r, E::kSelected, true);
    m_anchorCol = col;
    m_anchorRow = rows.back();
    m_range = rows.size() > 1;
    UpdateLineMarks();
    m_grid->InvalidateGrid();
}

bool cuiSheetView::ToggleInto(int col, int row) {
    using E = cuiSheet::CellEntry;
    const int oc = m_grid->Col(), orow = m_grid->Row();
    if (col != oc || row == orow || m_sheet->MultiSelectMode() == cuiSheet::kMultiNone ||
        !(m_sheet->CellAt(oc, orow).flags & E::kMultiSelectAllowed) ||
        !(m_sheet->CellAt(col, row).flags & E::kMultiSelectAllowed))
        return false;
    // Cells of other columns leave: the selection is one column's.
    for (int r = 0; r < m_sheet->RowCount(); ++r)
        for (int c = 0; c < m_sheet->ColCount(); ++c)
            if (c != col && IsSelected(c, r))
                SetBits(c, r, E::kSelected, false);
    SetBits(oc, orow, E::kSelected, true);
    SetBits(col, row, E::kSelected, true);
    if (!m_range)
        m_anchorRow = orow;
    m_anchorCol = col;
    m_range = true;
    m_toggled = true;
    UpdateLineMarks();
    return true;
}

bool cuiSheetView::ToggleOut(const QPoint& p) {
    int col = -1, row = -1;
    if (!m_range || !m_grid->CellAtPoint(p.x(), p.y(), col, row) || row < m_grid->FixedRows() ||
        (col == m_grid->Col() && row == m_grid->Row()) || !IsSelected(col, row) || !Selectable(col, row))
        return false;
    SetBits(col, row, cuiSheet::CellEntry::kSelected, false);
    m_toggled = true;
    // The last other cell gone: the current one is the selection, as after a plain move.
    if (SelectedRows(m_grid->Col()).size() <= 1) {
        bool others = false;
        for (int r = 0; r < m_sheet->RowCount() && !others; ++r)
            for (int c = 0; c < m_sheet->ColCount() && !others; ++c)
                others = IsSelected(c, r) && (c != m_grid->Col() || r != m_grid->Row());
        if (!others) {
            ClearSelection();
            SetBits(m_grid->Col(), m_grid->Row(), cuiSheet::CellEntry::kSelected, true);
            m_anchorCol = m_grid->Col();
            m_anchorRow = m_grid->Row();
        }
    }
    UpdateLineMarks();
    m_grid->InvalidateGrid();
    return true;
}

bool cuiSheetView::ToggledRange(int32_t& first, int32_t& last) const {
    const std::vector<int> rows = SelectedRows(m_grid->Col());
    if (rows.empty())
        return false;
    const int c = std::min(m_grid->FixedCols(), m_sheet->ColCount() - 1);
    std::vector<int32_t> parameters;
    for (int r : rows)
        parameters.push_back(m_sheet->CellAt(c, r).cell.parameter);
    std::sort(parameters.begin(), parameters.end());
    for (size_t i = 1; i < parameters.size(); ++i)
        if (parameters[i] != parameters[i - 1] + 1)
            return false;
    first = parameters.front();
    last = parameters.back();
    return true;
}

void cuiSheetView::DrawSelection(cuiQtCanvas& canvas, int col, int row, const cmcCanvas::Rect& rect) {
    if (!m_range || m_sheet->PopupMode() || !IsSelected(col, row) || row < m_grid->FixedRows())
        return;
    QPainter& p = canvas.Painter();
    p.save();
    // Amber stands out on the row marking's blue and on a plain cell alike.
    QPen pen(QColor(255, 176, 0), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(rect.left + 1, rect.top + 1, rect.Width() - 2, rect.Height() - 2));
    p.restore();
}

// ---- pop-up menu ----

// The menu of the current cell comes from the overlay sections its pop-up menu name gives; each
// entry is a cell whose state (hidden, disabled, checked, caption) the handler reports with the
// current cell as context.
void cuiSheetView::PreparePopup(bool force) {
    if (!m_popup)
        return;
    const cmcCellObj& current = m_sheet->CellAt(m_grid->Col(), m_grid->Row()).cell;
    const std::string name(current.PopupMenuName());
    // The entries are rebuilt only for another menu: an entry may be the one being chosen (closing
    // the menu refocuses the grid, which prepares it again), so it is never deleted at once.
    (void)force; // the states below are always asked again
    if (name != m_popupName || m_popupCells.empty()) {
        m_popupName = name;
        for (QAction* action : m_popup->actions()) {
            m_popup->removeAction(action);
            action->setData(QVariant());
            action->deleteLater();
        }
        m_popupCells.clear();
        cmcGTex& tex = *m_sheet->Env().texts;
        if (!name.empty() && tex.HasKey(name + "_Body")) {
            m_popupBasic = cmcCellObj();
            if (tex.HasKey(name + "_BasicCell"))
                m_popupBasic.ParseCell(tex.GetText(name + "_BasicCell"), tex, nullptr, nullptr);
            for (int i = 0;; ++i) {
                std::string entry = tex.GetLine(name + "_Body", i);
                if (entry.empty() || entry[0] == '#')
                    break;
                const size_t plus = entry.find('+');
                if (plus == std::string::npos)
                    continue;
                cmcCellObj& cell = m_popupCells.emplace_back();
                cell.ParseCell(std::string_view(entry).substr(plus + 1), tex, nullptr, &m_popupBasic);
                if (cell.displayText == "-") {
                    m_popup->addSeparator();
                    continue;
                }
                QAction* action = m_popup->addAction(QString::fromStdString(cell.displayText));
                const int32_t command = cell.cell;
                connect(action, &QAction::triggered, this,
                        [this, command] { ExecuteCell(m_grid->Col(), m_grid->Row(), 0, command); });
                // The key shows beside the entry; it acts here only while the menu has the focus
                // (the grid takes it otherwise), so it never fires twice.
                action->setShortcut(RowCommandKey(command));
                action->setShortcutContext(Qt::WidgetShortcut);
                action->setShortcutVisibleInContextMenu(true);
                action->setData(QVariant::fromValue(static_cast<void*>(&cell)));
            }
        }
    }
    m_popupCell = &current;
    // Entry states with the current cell as their context.
    cmcCellCapsule context;
    FillCapsule(context, m_grid->Col(), m_grid->Row());
    FillRange(context);
    int shown = 0;
    QAction* noItem = nullptr;
    for (QAction* action : m_popup->actions()) {
        auto* cell = static_cast<cmcCellObj*>(action->data().value<void*>());
        if (!cell)
            continue;
        cell->ClearMenuState();
        if (m_handler) {
            cmcCellCapsule capsule;
            capsule.ownerControl = m_popup;
            capsule.cell = cell;
            capsule.link = &context;
            m_handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
        }
        if (cell->cell == CL_PMenu_NoItem)
            noItem = action;
        else if (!cell->StateFlag(cmcCellObj::kFlagHidden))
            ++shown;
        if (cell->cell >= CL_PMenu_Copy && cell->cell <= CL_PMenu_WinCopy && rowCommandApplies &&
            !rowCommandApplies(cell->cell, context))
            cell->SetStateFlag(cmcCellObj::kFlagDisabled, true);
        action->setVisible(!cell->StateFlag(cmcCellObj::kFlagHidden));
        action->setEnabled(!cell->StateFlag(cmcCellObj::kFlagDisabled));
        action->setCheckable(cell->StateFlag(cmcCellObj::kFlagChecked));
        action->setChecked(cell->StateFlag(cmcCellObj::kFlagChecked));
        if (cell->StateFlag(cmcCellObj::kFlagCaption))
            action->setText(QString::fromStdString(cell->displayText));
    }
    // The "no command" entry stands only in an otherwise empty menu.
    if (noItem)
        noItem->setVisible(shown == 0);
}

void cuiSheetView::ShowPopup(const QPoint& globalPos) {
    if (!m_popup)
        return;
    PreparePopup(true);
    if (!m_popup->isEmpty())
        m_popup->popup(globalPos);
}

void cuiSheetView::SyncRows() {
    const int rows = m_sheet->RowCount();
    if (rows == m_grid->RowCount())
        return;
    // The first key on a blank row adds the channel or entry, and with it the next blank row, while
    // the editor holding that key is open: the edit goes on when its cell is still there.
    const bool editing = EditorVisible();
    const std::string editText = editing ? m_editor->text().toStdString() : std::string();
    const int editCaret = editing ? m_editor->cursorPosition() : 0;
    const int editCol = m_editCol, editRow = m_editRow;
    CloseEditor(false);
    ClearSelection();
    m_guard = true;
    m_grid->SetCounts(m_sheet->ColCount(), rows);
    for (int r = 0; r < rows; ++r)
        m_grid->SetRowHeight(r, m_sheet->RowHeight(r));
    m_guard = false;
    if (!Selectable(m_grid->Col(), m_grid->Row()))
        MoveBy(0, -1);
    UpdateSelection(m_grid->Col(), m_grid->Row());
    if (editing && editRow < rows && editCol == m_grid->Col() && editRow == m_grid->Row())
        OpenEditor(editCol, editRow, editText, editCaret, 0);
    m_grid->InvalidateGrid();
}

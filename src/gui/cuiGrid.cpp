#include "gui/cuiGrid.h"

#include "platform/cuiQtCanvas.h"
#include "platform/cuiQtColors.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kSizingSlop = 3;     // pixels either side of a column border that start resizing
constexpr int kTimedScrollMs = 60; // step of the automatic scrolling while the mouse is held outside
constexpr int kWheelRows = 3;

} // namespace

cuiGrid::cuiGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(kTimedScrollMs);
    connect(m_scrollTimer, &QTimer::timeout, this, [this] { TimedScrollStep(); });
    SetCounts(5, 5);
}

cuiGrid::~cuiGrid() = default;

// ---- sizes ----

void cuiGrid::SetCounts(int cols, int rows) {
    cols = std::max(cols, 1);
    rows = std::max(rows, 1);
    m_colWidths.resize(static_cast<size_t>(cols), m_defaultWidth);
    m_colHidden.resize(static_cast<size_t>(cols), false);
    m_rowHeights.resize(static_cast<size_t>(rows), m_defaultHeight);
    m_fixedCols = std::min(m_fixedCols, cols - 1);
    m_fixedRows = std::min(m_fixedRows, rows - 1);
    m_col = std::clamp(m_col, m_fixedCols, cols - 1);
    m_row = std::clamp(m_row, m_fixedRows, rows - 1);
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, cols - 1);
    m_topRow = std::clamp(m_topRow, m_fixedRows, rows - 1);
    UpdateScrollBars();
    InvalidateGrid();
}

void cuiGrid::SetFixed(int cols, int rows) {
    m_fixedCols = std::clamp(cols, 0, ColCount() - 1);
    m_fixedRows = std::clamp(rows, 0, RowCount() - 1);
    m_col = std::max(m_col, m_fixedCols);
    m_row = std::max(m_row, m_fixedRows);
    m_leftCol = std::max(m_leftCol, m_fixedCols);
    m_topRow = std::max(m_topRow, m_fixedRows);
    UpdateScrollBars();
    InvalidateGrid();
}

void cuiGrid::SetDefaultSizes(int width, int height) {
    m_defaultWidth = width;
    m_defaultHeight = height;
    std::fill(m_colWidths.begin(), m_colWidths.end(), width);
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), height);
    UpdateScrollBars();
    InvalidateGrid();
}

int cuiGrid::ColWidth(int col) const {
    return col >= 0 && col < ColCount() && !m_colHidden[static_cast<size_t>(col)]
               ? m_colWidths[static_cast<size_t>(col)]
               : 0;
}

void cuiGrid::SetColHidden(int col, bool hidden) {
    if (col < 0 || col >= ColCount() || m_colHidden[static_cast<size_t>(col)] == hidden)
        return;
    m_colHidden[static_cast<size_t>(col)] = hidden;
    UpdateScrollBars();
    InvalidateGrid();
}

bool cuiGrid::ColHidden(int col) const {
    return col >= 0 && col < ColCount() && m_colHidden[static_cast<size_t>(col)];
}

int cuiGrid::RowHeight(int row) const {
    return row >= 0 && row < RowCount() ? m_rowHeights[static_cast<size_t>(row)] : 0;
}

void cuiGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= ColCount())
        return;
    m_colWidths[static_cast<size_t>(col)] = std::max(width, 0);
    UpdateScrollBars();
    InvalidateGrid();
}

void cuiGrid::SetRowHeight(int row, int height) {
    if (row < 0 || row >= RowCount())
        return;
    m_rowHeights[static_cast<size_t>(row)] = std::max(height, 0);
    UpdateScrollBars();
    InvalidateGrid();
}

int cuiGrid::FixedWidth() const {
    int w = 0;
    for (int c = 0; c < m_fixedCols; ++c)
        w += ColWidth(c);
    return w;
}

int cuiGrid::FixedHeight() const {
    int h = 0;
    for (int r = 0; r < m_fixedRows; ++r)
        h += RowHeight(r);
    return h;
}

int cuiGrid::GridWidth() const {
    int w = 0;
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidth(c);
    return w;
}

int cuiGrid::GridHeight() const {
    int h = 0;
    for (int v : m_rowHeights)
        h += v;
    return h;
}

int cuiGrid::ClientWidth() const {
    return viewport()->width();
}
int cuiGrid::ClientHeight() const {
    return viewport()->height();
}

int cuiGrid::MaxLeftCol() const {
    int room = ClientWidth() - FixedWidth();
    int left = ColCount() - 1;
    int used = ColWidth(left);
    while (left > m_fixedCols && used + ColWidth(left - 1) <= room) {
        --left;
        used += ColWidth(left);
    }
    return std::max(left, m_fixedCols);
}

int cuiGrid::MaxTopRow() const {
    int room = ClientHeight() - FixedHeight();
    int top = RowCount() - 1;
    int used = RowHeight(top);
    while (top > m_fixedRows && used + RowHeight(top - 1) <= room) {
        --top;
        used += RowHeight(top);
    }
    return std::max(top, m_fixedRows);
}

int cuiGrid::VisibleColCount() const {
    int room = ClientWidth() - FixedWidth();
    int n = 0;
    for (int c = m_leftCol; c < ColCount(); ++c) {
        room -= ColWidth(c);
        if (room < 0)
            break;
        ++n;
    }
    return n;
}

int cuiGrid::VisibleRowCount() const {
    int room = ClientHeight() - FixedHeight();
    int n = 0;
    for (int r = m_topRow; r < RowCount(); ++r) {
        room -= RowHeight(r);
        if (room < 0)
            break;
        ++n;
    }
    return n;
}

void cuiGrid::UpdateScrollBars() {
    m_syncingBars = true;
    int maxLeft = MaxLeftCol();
    int maxTop = MaxTopRow();
    horizontalScrollBar()->setRange(m_fixedCols, maxLeft);
    horizontalScrollBar()->setPageStep(std::max(VisibleColCount(), 1));
    verticalScrollBar()->setRange(m_fixedRows, maxTop);
    verticalScrollBar()->setPageStep(std::max(VisibleRowCount(), 1));
    bool changed = false;
    if (m_leftCol > maxLeft) {
        m_leftCol = maxLeft;
        changed = true;
    }
    if (m_topRow > maxTop) {
        m_topRow = maxTop;
        changed = true;
    }
    horizontalScrollBar()->setValue(m_leftCol);
    verticalScrollBar()->setValue(m_topRow);
    m_syncingBars = false;
    if (changed && onTopLeftChanged)
        onTopLeftChanged();
}

void cuiGrid::SetLeftCol(int col) {
    col = std::clamp(col, m_fixedCols, std::max(m_fixedCols, ColCount() - 1));
    if (col == m_leftCol)
        return;
    m_leftCol = col;
    UpdateScrollBars();
    InvalidateGrid();
    if (onTopLeftChanged)
        onTopLeftChanged();
}

void cuiGrid::SetTopRow(int row) {
    row = std::clamp(row, m_fixedRows, std::max(m_fixedRows, RowCount() - 1));
    if (row == m_topRow)
        return;
    m_topRow = row;
    UpdateScrollBars();
    InvalidateGrid();
    if (onTopLeftChanged)
        onTopLeftChanged();
}

void cuiGrid::scrollContentsBy(int, int) {
    if (m_syncingBars)
        return;
    int left = horizontalScrollBar()->value();
    int top = verticalScrollBar()->value();
    if (left == m_leftCol && top == m_topRow)
        return;
    m_leftCol = left;
    m_topRow = top;
    InvalidateGrid();
    if (onTopLeftChanged)
        onTopLeftChanged();
}

void cuiGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// ---- geometry ----

cuiGrid::Rect cuiGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return {};
    if ((col >= m_fixedCols && col < m_leftCol) || (row >= m_fixedRows && row < m_topRow))
        return {};
    int x = 0;
    if (col < m_fixedCols) {
        for (int c = 0; c < col; ++c)
            x += ColWidth(c);
    } else {
        x = FixedWidth();
        for (int c = m_leftCol; c < col; ++c)
            x += ColWidth(c);
    }
    int y = 0;
    if (row < m_fixedRows) {
        for (int r = 0; r < row; ++r)
            y += RowHeight(r);
    } else {
        y = FixedHeight();
        for (int r = m_topRow; r < row; ++r)
            y += RowHeight(r);
    }
    if (x >= ClientWidth() || y >= ClientHeight())
        return {};
    return {x, y, x + ColWidth(col), y + RowHeight(row)};
}

bool cuiGrid::CellAtPoint(int x, int y, int& col, int& row) const {
    col = row = -1;
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight())
        return false;
    // Walks the shown columns (rows): the fixed ones, then those from the left column (top row) on.
    auto find = [](int pos, int fixed, int first, int count, auto size) {
        int edge = 0;
        for (int i = 0; i < count; i = (i + 1 == fixed && first > i + 1) ? first : i + 1) {
            if (i == fixed && first > i)
                i = first;
            if (i >= count)
                break;
            int s = size(i);
            if (pos >= edge && pos < edge + s)
                return i;
            edge += s;
        }
        return -1;
    };
    col = find(x, m_fixedCols, m_leftCol, ColCount(), [this](int c) { return ColWidth(c); });
    row = find(y, m_fixedRows, m_topRow, RowCount(), [this](int r) { return RowHeight(r); });
    if (col < 0 || row < 0) {
        col = row = -1;
        return false;
    }
    return true;
}

void cuiGrid::InvalidateCell(int col, int row) {
    Rect r = CellRect(col, row);
    if (r.Width() > 0 && r.Height() > 0)
        viewport()->update(r.left, r.top, r.Width(), r.Height());
}

void cuiGrid::InvalidateArea(const Rect& rect) {
    viewport()->update(rect.left, rect.top, rect.Width(), rect.Height());
}

void cuiGrid::InvalidateGrid() {
    viewport()->update();
}

void cuiGrid::SetColor(uint32_t color) {
    m_color = color;
    InvalidateGrid();
}

// ---- current cell ----

bool cuiGrid::AskSelect(int col, int row) {
    bool allow = true;
    if (onSelectCell)
        onSelectCell(col, row, allow);
    return allow;
}

void cuiGrid::ScrollIntoView(int col, int row) {
    int left = m_leftCol, top = m_topRow;
    if (col >= m_fixedCols) {
        if (col < left)
            left = col;
        else {
            int room = ClientWidth() - FixedWidth();
            auto span = [&] {
                int w = 0;
                for (int c = left; c <= col; ++c)
                    w += ColWidth(c);
                return w;
            };
            while (left < col && span() > room)
                ++left;
        }
    }
    if (row >= m_fixedRows) {
        if (row < top)
            top = row;
        else {
            int room = ClientHeight() - FixedHeight();
            auto span = [&] {
                int h = 0;
                for (int r = top; r <= row; ++r)
                    h += RowHeight(r);
                return h;
            };
            while (top < row && span() > room)
                ++top;
        }
    }
    bool changed = left != m_leftCol || top != m_topRow;
    m_leftCol = left;
    m_topRow = top;
    if (changed) {
        UpdateScrollBars();
        InvalidateGrid();
        if (onTopLeftChanged)
            onTopLeftChanged();
    }
}

void cuiGrid::SetCol(int col) {
    if (col < 0 || col >= ColCount() || !AskSelect(col, m_row))
        return;
    InvalidateCell(m_col, m_row);
    m_col = col;
    ScrollIntoView(m_col, m_row);
    InvalidateCell(m_col, m_row);
}

void cuiGrid::SetRow(int row) {
    if (row < 0 || row >= RowCount() || !AskSelect(m_col, row))
        return;
    InvalidateCell(m_col, m_row);
    m_row = row;
    ScrollIntoView(m_col, m_row);
    InvalidateCell(m_col, m_row);
}

void cuiGrid::MoveCurrent(int col, int row) {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount() || !AskSelect(col, row))
        return;
    InvalidateCell(m_col, m_row);
    m_col = col;
    m_row = row;
    InvalidateCell(m_col, m_row);
}

// ---- painting ----

void cuiGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), cuiQtColors::ToQColor(m_color));
    if (!onDrawCell)
        return;
    cuiQtCanvas canvas(painter);
    canvas.SetFont(font());
    int width = ClientWidth(), height = ClientHeight();
    std::vector<int> rows, cols;
    for (int r = 0; r < m_fixedRows; ++r)
        rows.push_back(r);
    for (int r = m_topRow; r < RowCount(); ++r)
        rows.push_back(r);
    for (int c = 0; c < m_fixedCols; ++c)
        cols.push_back(c);
    for (int c = m_leftCol; c < ColCount(); ++c)
        cols.push_back(c);
    bool focused = hasFocus();
    int y = 0;
    for (int r : rows) {
        int h = RowHeight(r);
        if (y >= height)
            break;
        if (h >= 1) {
            int x = 0;
            for (int c : cols) {
                int w = ColWidth(c);
                if (x >= width)
                    break;
                if (w >= 1) {
                    Rect rect{x, y, x + w, y + h};
                    int state = 0;
                    if (c == m_col && r == m_row)
                        state |= kDrawCurrent;
                    if (focused)
                        state |= kDrawFocused;
                    if (c < m_fixedCols || r < m_fixedRows)
                        state |= kDrawFixed;
                    painter.save();
                    painter.setClipRect(QRect(x, y, w, h));
                    onDrawCell(canvas, c, r, rect, state);
                    painter.restore();
                }
                x += w;
            }
        }
        y += h;
    }
}

// ---- keyboard ----

int cuiGrid::VirtualKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace:
        return kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: // Shift+Tab
        return kVkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kVkReturn;
    case Qt::Key_Escape:
        return kVkEscape;
    case Qt::Key_PageUp:
        return kVkPrior;
    case Qt::Key_PageDown:
        return kVkNext;
    case Qt::Key_End:
        return kVkEnd;
    case Qt::Key_Home:
        return kVkHome;
    case Qt::Key_Left:
        return kVkLeft;
    case Qt::Key_Up:
        return kVkUp;
    case Qt::Key_Right:
        return kVkRight;
    case Qt::Key_Down:
        return kVkDown;
    case Qt::Key_Insert:
        return kVkInsert;
    case Qt::Key_Delete:
        return kVkDelete;
    case Qt::Key_Menu:
        return kVkApps;
    default:
        if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
            return kVkF1 + (qtKey - Qt::Key_F1);
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
            return qtKey; // same numbers as the virtual keys
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return qtKey;
        return 0;
    }
}

int cuiGrid::ShiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= kShift;
    if (modifiers & Qt::AltModifier)
        shift |= kAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= kCtrl;
    return shift;
}

void cuiGrid::DefaultKey(int key, int shift) {
    switch (key) {
    case kVkLeft:
        for (int c = m_col - 1; c >= m_fixedCols; --c)
            if (ColWidth(c) > 0) {
                SetCol(c);
                break;
            }
        break;
    case kVkRight:
        for (int c = m_col + 1; c < ColCount(); ++c)
            if (ColWidth(c) > 0) {
                SetCol(c);
                break;
            }
        break;
    case kVkUp:
        if (m_row > m_fixedRows)
            SetRow(m_row - 1);
        break;
    case kVkDown:
        if (m_row + 1 < RowCount())
            SetRow(m_row + 1);
        break;
    case kVkPrior:
        SetRow(std::max(m_fixedRows, m_row - std::max(VisibleRowCount(), 1)));
        break;
    case kVkNext:
        SetRow(std::min(RowCount() - 1, m_row + std::max(VisibleRowCount(), 1)));
        break;
    case kVkHome:
        SetCol(m_fixedCols);
        break;
    case kVkEnd:
        SetCol(ColCount() - 1);
        break;
    default:
        break;
    }
}

void cuiGrid::keyPressEvent(QKeyEvent* event) {
    int shift = ShiftState(event->modifiers());
    int key = VirtualKey(event->key());
    const bool hadKey = key != 0;
    if (HeaderMenuKey(key, shift)) {
        event->accept();
        return;
    }
    if (key != 0 && onKeyDown)
        onKeyDown(key, shift);
    if (key == kVkApps && m_autoPopup && m_popup) {
        Rect r = CellRect(m_col, m_row);
        m_popup->exec(viewport()->mapToGlobal(QPoint(r.left, r.bottom)));
        return;
    }
    if (key != 0)
        DefaultKey(key, shift);
    // A key the handler consumed (Ctrl+C, Tab...) types no character as well.
    QString text = hadKey && key == 0 ? QString() : event->text();
    if (!text.isEmpty()) {
        char32_t ch = text.toUcs4().value(0);
        if (ch != 0 && onKeyPress)
            onKeyPress(ch);
    }
    event->accept();
}

void cuiGrid::keyReleaseEvent(QKeyEvent* event) {
    int key = VirtualKey(event->key());
    if (onKeyUp && !event->isAutoRepeat())
        onKeyUp(key, ShiftState(event->modifiers()));
    event->accept();
}

// ---- mouse ----

int cuiGrid::ColumnBorderAt(int x, int y) const {
    if (!m_colSizing || y >= FixedHeight() || m_fixedRows == 0)
        return -1;
    for (int c = 0; c < ColCount(); ++c) {
        Rect r = CellRect(c, 0);
        if (r.Width() <= 0 && ColWidth(c) > 0)
            continue;
        if (r.right == 0 && r.left == 0)
            continue;
        if (c >= m_fixedCols && std::abs(x - r.right) <= kSizingSlop)
            return c;
    }
    return -1;
}

namespace {

cuiGrid::Button ButtonOf(Qt::MouseButton b) {
    return b == Qt::RightButton    ? cuiGrid::Button::Right
           : b == Qt::MiddleButton ? cuiGrid::Button::Middle
                                   : cuiGrid::Button::Left;
}

} // namespace

void cuiGrid::mousePressEvent(QMouseEvent* event) {
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    QPoint p = event->position().toPoint();
    int shift = ShiftState(event->modifiers());
    if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
        int border = event->button() == Qt::LeftButton ? ColumnBorderAt(p.x(), p.y()) : -1;
        if (border >= 0) {
            m_sizingCol = border;
            m_sizingStartX = p.x();
            m_sizingStartWidth = ColWidth(border);
        } else {
            m_mouseDown = true;
            int col, row;
            if (CellAtPoint(p.x(), p.y(), col, row) && col >= m_fixedCols && row >= m_fixedRows &&
                (col != m_col || row != m_row)) {
                if (AskSelect(col, row)) {
                    InvalidateCell(m_col, m_row);
                    m_col = col;
                    m_row = row;
                    ScrollIntoView(col, row);
                    InvalidateCell(m_col, m_row);
                }
            }
        }
    }
    NoteHeaderPress(event->button(), p);
    m_lastMouse = p;
    if (onMouseDown)
        onMouseDown(ButtonOf(event->button()), shift, p.x(), p.y());
    event->accept();
}

void cuiGrid::mouseMoveEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    m_lastMouse = p;
    if (m_sizingCol >= 0) {
        SetColWidth(m_sizingCol, std::max(0, m_sizingStartWidth + p.x() - m_sizingStartX));
    } else if (m_mouseDown) {
        if (viewport()->rect().contains(p)) {
            m_scrollTimer->stop();
            int col, row;
            if (CellAtPoint(p.x(), p.y(), col, row) && col >= m_fixedCols && row >= m_fixedRows &&
                (col != m_col || row != m_row))
                MoveCurrent(col, row);
        } else if (!m_scrollTimer->isActive()) {
            m_scrollTimer->start();
        }
    } else if (m_colSizing) {
        viewport()->setCursor(ColumnBorderAt(p.x(), p.y()) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
    }
    if (onMouseMove)
        onMouseMove(ShiftState(event->modifiers()), p.x(), p.y());
}

void cuiGrid::mouseReleaseEvent(QMouseEvent* event) {
    QPoint p = event->position().toPoint();
    m_scrollTimer->stop();
    m_mouseDown = false;
    if (m_sizingCol >= 0) {
        m_sizingCol = -1;
        if (onColWidthsChanged)
            onColWidthsChanged();
    }
    HeaderRelease(event->button(), p);
    if (onMouseUp)
        onMouseUp(ButtonOf(event->button()), ShiftState(event->modifiers()), p.x(), p.y());
    event->accept();
}

void cuiGrid::NoteHeaderPress(Qt::MouseButton button, const QPoint& p) {
    int col = -1, row = -1;
    m_headerCol = button == Qt::LeftButton && m_sizingCol < 0 && CellAtPoint(p.x(), p.y(), col, row) &&
                          row < m_fixedRows
                      ? col
                      : -1;
}

void cuiGrid::HeaderRelease(Qt::MouseButton button, const QPoint& p) {
    const int pressed = m_headerCol;
    m_headerCol = -1;
    int col = -1, row = -1;
    if (button == Qt::LeftButton && pressed >= 0 && CellAtPoint(p.x(), p.y(), col, row) && col == pressed &&
        row < m_fixedRows && onHeaderClick)
        onHeaderClick(col);
}

void cuiGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    m_doubleClickAt = event->position().toPoint();
    mousePressEvent(event);
    if (onDblClick)
        onDblClick();
}

void cuiGrid::TimedScrollStep() {
    QPoint p = m_lastMouse;
    int dirs = 0;
    if (p.x() < 0)
        dirs |= kScrollLeft;
    if (p.x() >= ClientWidth())
        dirs |= kScrollRight;
    if (p.y() < 0)
        dirs |= kScrollUp;
    if (p.y() >= ClientHeight())
        dirs |= kScrollDown;
    if (dirs == 0)
        return;
    if (onTimedScroll) {
        onTimedScroll(dirs);
        return;
    }
    int col = m_col + ((dirs & kScrollRight) ? 1 : 0) - ((dirs & kScrollLeft) ? 1 : 0);
    int row = m_row + ((dirs & kScrollDown) ? 1 : 0) - ((dirs & kScrollUp) ? 1 : 0);
    col = std::clamp(col, m_fixedCols, ColCount() - 1);
    row = std::clamp(row, m_fixedRows, RowCount() - 1);
    if (col != m_col || row != m_row) {
        MoveCurrent(col, row);
        ScrollIntoView(m_col, m_row);
    }
}

void cuiGrid::wheelEvent(QWheelEvent* event) {
    int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        SetTopRow(m_topRow - steps * kWheelRows);
    event->accept();
}

void cuiGrid::focusInEvent(QFocusEvent* event) {
    if (onFocusGained)
        onFocusGained();
    QAbstractScrollArea::focusInEvent(event);
    InvalidateGrid();
}

void cuiGrid::focusOutEvent(QFocusEvent* event) {
    if (onFocusLost)
        onFocusLost();
    QAbstractScrollArea::focusOutEvent(event);
    InvalidateGrid();
}

bool cuiGrid::HeaderMenuAt(const QPoint& p, const QPoint& globalPos) {
    int col = -1, row = -1;
    if (!onHeaderMenu || !CellAtPoint(p.x(), p.y(), col, row) || row >= m_fixedRows)
        return false;
    onHeaderMenu(col, globalPos);
    return true;
}

bool cuiGrid::HeaderMenuKey(int key, int shift) {
    if (key != kVkApps || !(shift & kCtrl) || !onHeaderMenu)
        return false;
    Rect r = CellRect(m_col, 0);
    onHeaderMenu(m_col, viewport()->mapToGlobal(QPoint(r.left, r.bottom)));
    return true;
}

void cuiGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && HeaderMenuAt(event->pos(), event->globalPos())) {
        event->accept();
        return;
    }
    if (m_autoPopup && m_popup)
        m_popup->exec(event->globalPos());
    event->accept();
}

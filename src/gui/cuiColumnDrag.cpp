#include "gui/cuiColumnDrag.h"

#include "gui/cuiGrid.h"
#include "gui/cuiSheetView.h"
#include "sheets/cuiSheet.h"

#include <QMouseEvent>
#include <QWidget>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kDragSlop = 5;   // pixels sideways a press moves before it drags
constexpr int kBorderSlop = 3; // as the grid's column sizing: a press this near a border sizes

} // namespace

cuiColumnDrag::cuiColumnDrag(cuiSheetView& view)
    : QObject(&view), m_view(view), m_viewport(view.Grid().viewport()) {
    m_viewport->installEventFilter(this);
}

bool cuiColumnDrag::eventFilter(QObject* watched, QEvent* event) {
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
        m_pressCol = -1;
        if (mouse->button() == Qt::LeftButton && hit && row < grid.FixedRows() &&
            m_view.Sheet().ColumnMovable(col)) {
            const cuiGrid::Rect r = grid.CellRect(col, row);
            if (std::abs(p.x() - r.left) > kBorderSlop && std::abs(p.x() - r.right) > kBorderSlop)
                m_pressCol = col;
        }
        m_pressAt = p;
        return false;
    }
    if (m_pressCol < 0)
        return false;
    if (type == QEvent::MouseMove) {
        if (!(mouse->buttons() & Qt::LeftButton)) {
            m_pressCol = -1;
            return false;
        }
        if (!m_dragging && std::abs(p.x() - m_pressAt.x()) >= kDragSlop) {
            m_dragging = true;
            grid.CancelHeaderClick();
            grid.viewport()->setCursor(Qt::DragMoveCursor);
        }
        return m_dragging;
    }
    const int pressed = std::exchange(m_pressCol, -1);
    if (!std::exchange(m_dragging, false))
        return false;
    grid.viewport()->unsetCursor();
    if (hit && col != pressed && m_view.Sheet().StoreColumnMove(pressed, col) && onMoved)
        onMoved();
    return false;
}

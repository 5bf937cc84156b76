#pragma once
// Moving a sheet's column by dragging its header sideways: a press on a header cell (not on a
// column border, which sizes the column) and a move of a few pixels left or right starts it, and
// the release over another column puts the dragged column in that column's place. A press released
// without the move stays a header click (which sorts). Columns drawn together with a neighbour and
// the fixed columns do not move.
#include <QObject>
#include <QPoint>
#include <functional>

class cuiSheetView;

class cuiColumnDrag : public QObject {
    Q_OBJECT
public:
    explicit cuiColumnDrag(cuiSheetView& view);

    // After the new order was stored: the sheet is to be built again to show it (later, not while
    // the view's events are being handled).
    std::function<void()> onMoved;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    cuiSheetView& m_view;
    // The grid's viewport, compared before the view is touched: the filter still sees the events of
    // the view's own destruction, when the view is no longer whole.
    QObject* m_viewport = nullptr;
    int m_pressCol = -1; // the column whose header was pressed, -1 for none
    QPoint m_pressAt;
    bool m_dragging = false;
};

#pragma once
// Dragging list rows by their row number (the fixed column): a press there and a move of a few
// pixels up or down starts it, the release on another row drops the dragged rows there, a release
// outside the grid hands them on with the global point (a bank node of the tree takes them). The
// rows dragged are the pressed one, or the selected rows when the press is on one of them. The
// entries then move through the row commands in one change, every reference following them.
#include "model/indRowCommands.h"

#include <QObject>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <vector>

class cmcEeprom;
class cuiSheet;
class cuiSheetView;

class cuiRowDrag : public QObject {
    Q_OBJECT
public:
    explicit cuiRowDrag(cuiSheetView& view);

    // A drop on a row of the grid (firstRow..lastRow dragged, targetRow the row under the release).
    std::function<void(int firstRow, int lastRow, int targetRow)> onDrop;
    // A release outside the grid.
    std::function<void(int firstRow, int lastRow, const QPoint& globalPos)> onDropOutside;
    // Whether a drag is going on.
    bool Dragging() const { return m_dragging; }

    // The list entries of the sheet's rows (the parameter of each row's first cell of a list
    // category, -1 for a row without one) and that category.
    static std::vector<int32_t> RowEntries(cuiSheet& sheet, const indRowCommands& rows, int32_t& category);
    // The order that moves the entries low..high (relative to the list's first entry) onto target:
    // down past target (it then stands before them) or up before it; target at count places them
    // after the last entry. Entry i goes to position order[i].
    static std::vector<int32_t> MoveOrder(int32_t count, int32_t low, int32_t high, int32_t target);
    // Moves the entries shown on firstRow..lastRow onto the entry of targetRow (a row after the
    // list's entries in use: after the last of them). NotHere when the rows are no entries of a list
    // that moves.
    static indRowCommands::Result Move(cuiSheet& sheet, indRowCommands& rows, int firstRow, int lastRow,
                                       int targetRow);

    // Moves the channels shown on firstRow..lastRow of a bank sheet to the end of bank target: as
    // many blank channels as are moved are added at the target's end, the channels change places
    // with them in one renumbering (every reference follows its channel), and the blanks left in the
    // source bank are deleted. On a refusal (the target is full) the working image is left as it
    // was. work is the image the row commands edit, defaults the initial data.
    static indRowCommands::Result MoveToBank(cuiSheet& sheet, indRowCommands& rows, cmcEeprom& work,
                                             const cmcEeprom* defaults, int firstRow, int lastRow,
                                             int target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    cuiSheetView& m_view;
    // The grid's viewport, compared before the view is touched: the filter still sees the events of
    // the view's own destruction, when the view is no longer whole.
    QObject* m_viewport = nullptr;
    int m_pressRow = -1; // the row whose number was pressed, -1 for none
    QPoint m_pressAt;
    bool m_dragging = false;
};

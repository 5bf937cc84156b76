#pragma once
// Which columns of a sheet the grid shows: the header pop-up lists the sheet's scrolling columns with
// ticks (untick hides one), hides the columns the data does not use and shows every column again.
// Hiding changes neither the data nor a stored width; the sheet keeps it in the settings store.
#include <QObject>
#include <QPoint>
#include <string>
#include <vector>

class QMenu;
class cmcCellHandler;
class cuiSheetView;

class cuiColumnControl : public QObject {
    Q_OBJECT
public:
    // handler gives the texts cells show (may be null: cells show their own texts).
    cuiColumnControl(cuiSheetView& view, cmcCellHandler* handler);

    // The grid shows what the sheet keeps hidden (the cursor is not moved).
    void ApplyToGrid();
    // Hides or shows one scrolling column; the cursor leaves a column that hides.
    void SetHidden(int col, bool hidden);
    // Columns the data does not use: in every data row (a row where some cell shows a text) each of
    // the column's cells is greyed (cannot be selected) or shows a blank text, or, with two data rows
    // or more, every row shows one and the same text, so the column tells no row from another.
    // Columns that are hidden already or hold no cell with a behaviour are not listed.
    std::vector<int> UnusedColumns();
    void HideUnused();
    void ShowAll();
    // A column's header as the pop-up names it.
    std::string Header(int col);
    // Builds the header pop-up (parented to the view); the caller runs and deletes it.
    QMenu* BuildMenu();
    // Opens the header pop-up at a global position.
    void ShowMenu(const QPoint& globalPos);

private:
    std::string Text(int line) const;
    void LeaveHiddenColumn();

    cuiSheetView& m_view;
    cmcCellHandler* m_handler;
};

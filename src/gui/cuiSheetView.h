#pragma once
// The window side of one open sheet: its title bar and grid, the cell painter as the grid's draw
// handler, and the engine that moves the cursor over selectable cells, hands keys, characters, double
// clicks and edited text to the cell handler and opens the in-place editor when the handler asks.
#include "cells/cmcCellCapsule.h"
#include "gui/cuiCellPainter.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class cmcCellHandler;
class cuiGrid;
class cuiSheet;

class cuiSheetView : public QWidget, private cuiCellPainter::Source {
    Q_OBJECT
public:
    // Takes a built sheet; handler may be null (cells then show their own texts).
    cuiSheetView(std::unique_ptr<cuiSheet> sheet, cmcCellHandler* handler, QWidget* parent = nullptr);
    ~cuiSheetView() override;

    cuiSheet& Sheet() { return *m_sheet; }
    cuiGrid& Grid() { return *m_grid; }
    QLabel* TitleBar() { return m_title; }

    // Runs an action on a cell: key code, pop-up command, or committed text (edit state 1).
    void ExecuteCell(int col, int row, int32_t key, int32_t command, const std::string* text = nullptr);
    // Keyboard movement over selectable cells, with the fallback search of the nearest one.
    void MoveBy(int dx, int dy);
    void MoveTo(int col, int row);
    bool Selectable(int col, int row) const;
    // Widens or narrows a column to its widest text: fixed rows by their own texts, the others by
    // the texts the cell handler shows.
    void FitColumn(int col);
    bool EditorVisible() const override;
    void CloseEditor(bool commit);
    // Whether the sheet's cells were painted since the view was shown.
    bool Painted() const { return m_painted; }

private:
    // cuiCellPainter::Source
    bool Ready() const override;
    int ColCount() const override;
    int RowCount() const override;
    int ColWidth(int col) const override;
    int RowHeight(int row) const override;
    int FixedCols() const override;
    const cmcCellObj& Cell(int col, int row) const override;
    uint8_t CellBits(int col, int row) const override;
    const cmcCellObj& BasicCell() const override;
    bool IsCurrent(int col, int row) const override;
    int CurrentRow() const override;
    bool GridFocused() const override;
    bool PopupMode() const override;
    bool SelectLineColoring() const override;
    bool Printing() const override { return false; }
    double Scale() const override { return 1.0; }
    bool CallHandler(cmcCellCapsule& capsule) override;
    bool HasImages() const override { return true; }
    void DrawImage(cmcCanvas& canvas, int x, int y, int index) override;

    void FillCapsule(cmcCellCapsule& capsule, int col, int row);
    bool StepSearch(int& col, int& row, int dx, int dy) const;
    void KeyDown(int& key, int shift);
    void DoubleClick();
    void OpenEditor(int col, int row, const std::string& text, int selStart, int selLength);
    bool MoveToCell(int32_t category, int32_t cell, int32_t parameter);
    static void Refresh(void* context, cmcCellCapsule& capsule, uint8_t scope);
    static void RestartEdit(void* context, cmcCellCapsule& capsule, int32_t flag);

    std::unique_ptr<cuiSheet> m_sheet;
    cmcCellHandler* m_handler;
    QLabel* m_title = nullptr;
    cuiGrid* m_grid = nullptr;
    QLineEdit* m_editor = nullptr;
    int m_editCol = -1;
    int m_editRow = -1;
    int m_keyCol = 0; // the cell reached by the last keyboard move
    int m_keyRow = 0;
    bool m_building = true;
    bool m_guard = false; // the engine itself changes the current column
    bool m_painted = false;
    cuiCellPainter m_painter;
    cmcCellCapsule m_capsule;
};

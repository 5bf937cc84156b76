#pragma once
// The window side of one open sheet: its title bar and grid, the cell painter as the grid's draw
// handler, and the engine that moves the cursor over selectable cells, hands keys, characters, double
// clicks and edited text to the cell handler and opens the in-place editor when the handler asks.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellPainter.h"

#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QMenu;
class cmcCellHandler;
class cmcFCache;
struct cmcEvRec;
class cuiColumnControl;
class cuiGrid;
class cuiQtCanvas;
class cuiSheet;

class cuiSheetView : public QWidget, private cmcCellPainter::Source {
    Q_OBJECT
public:
    // Takes a built sheet; handler may be null (cells then show their own texts).
    cuiSheetView(std::unique_ptr<cuiSheet> sheet, cmcCellHandler* handler, QWidget* parent = nullptr);
    ~cuiSheetView() override;

    // Popup mode (a choice list window): Enter, a double click or a left click answers the opening
    // cell with the current entry through a copy of opener, then onChosen runs.
    void SetOpener(const cmcCellCapsule& opener);
    std::function<void()> onChosen;
    // Pop-up row commands (copy, paste, insert...) on the current cell or the selected range; true
    // when carried out. The handler gets every other command.
    std::function<bool(int32_t command, cmcCellCapsule& capsule)> onRowCommand;
    // Whether a pop-up command other than Edit can act on the current row (its entry is disabled
    // otherwise).
    std::function<bool(int32_t command, const cmcCellCapsule& capsule)> rowCommandApplies;
    // Sorts the sheet's list by a column (a click on its header: ascending, the next click on the same
    // header descending); true when the column sorts the list, also when it was in that order.
    std::function<bool(int col, bool descending)> onSortColumn;
    // The grid follows the sheet's rows after list rows were added or removed.
    void SyncRows();
    // Bracket each user action on the cells (a key, entered text, a list answer, a row command on any
    // number of rows, a pasted cell, cut rows), so that what it changes in the data is one step of the
    // edit history: command is the pop-up row command (kCutRows for Ctrl+X) or 0, col and row the cell.
    static constexpr int32_t kCutRows = -1;
    std::function<void(int32_t command, int col, int row)> onActionBegin;
    std::function<void()> onActionEnd;

    cuiSheet& Sheet() { return *m_sheet; }
    cuiGrid& Grid() { return *m_grid; }
    QLabel* TitleBar() { return m_title; }
    // The columns shown and their header pop-up.
    cuiColumnControl& Columns() { return *m_columns; }

    // Runs an action on a cell: key code, pop-up command, or committed text (edit state 1).
    void ExecuteCell(int col, int row, int32_t key, int32_t command, const std::string* text = nullptr);
    // Keyboard movement over selectable cells, with the fallback search of the nearest one.
    void MoveBy(int dx, int dy);
    void MoveTo(int col, int row);
    bool Selectable(int col, int row) const;
    // Places the cursor on the first selectable cell with this cell identifier and parameter (any
    // category when category is negative), without scrolling; false when there is none.
    bool MoveToCell(int32_t category, int32_t cell, int32_t parameter);

    // Multi-cell selection: whether a range exists and whether a cell is selected or line-marked.
    bool HasRange() const { return m_range; }
    bool IsSelected(int col, int row) const;
    bool IsLineMarked(int col, int row) const;
    void ClearSelection();
    // The parameters of the rows the selection spans (first column after the fixed ones), as the
    // handler and the row commands read them; false without a range.
    bool RangeParameters(int32_t& first, int32_t& last) const;

    // Several cells of one column edited at once. The rows whose cell in col is selected, top to
    // bottom (the current row alone while no range is selected); every cell of a column that may be
    // multi-selected becomes the selection (Shift or Ctrl on its header); Ctrl+click adds a cell of the
    // current column to the selection, or takes a selected one out.
    std::vector<int> SelectedRows(int col) const;
    void SelectColumn(int col);
    // Asked first while a range is selected: the text the in-place editor commits at (col, row), and a
    // key (space, backspace) on the current cell; true when they were applied to the selection.
    std::function<bool(int col, int row, const std::string& text)> onRangeText;
    std::function<bool(int32_t key)> onRangeKey;

    // The pop-up menu of the current cell, prepared from its menu sections and the handler's entry
    // states; null in popup mode.
    QMenu* PopupMenu() { return m_popup; }
    void PreparePopup(bool force);
    // Opens the pop-up menu at a global position (right click, menu key).
    void ShowPopup(const QPoint& globalPos);
    // Whole sheet size beyond what the grid shows: how much a window must grow to show it all.
    int ExtraWidth() const;
    int ExtraHeight() const;
    // Widens every value column to the widest text its cells show now (never narrower, at most the
    // column limit), so values are not clipped behind a header-fitted width.
    void FitValueColumns();
    // The choice lists the handler reads values from; with it, columns also fit every entry of the
    // list a cell shows.
    void SetChoiceLists(cmcFCache* lists) { m_lists = lists; }
    // Widens or narrows a column to its widest text: fixed rows by their own texts, the others by
    // the texts the cell handler shows.
    void FitColumn(int col);
    bool EditorVisible() const override;
    void CloseEditor(bool commit);
    // Sends the in-place editor's text to its cell and hides it, leaving the focus where it is.
    void CommitEditor();
    // Whether the sheet's cells were painted since the view was shown.
    bool Painted() const { return m_painted; }

protected:
    // Notes Shift on mouse presses before the grid moves its cell, so that Shift+click extends.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // cmcCellPainter::Source
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
    // A pop-up row command on the current cell or the selected range; true when carried out.
    bool RunRowCommand(int col, int row, int32_t command);
    // A row command from its key: runs only while its pop-up entry is shown and enabled here.
    bool RowKey(int32_t command);
    // A click on a column's header: the list sorted by it, the other way round on a second click.
    void HeaderClicked(int col);
    // The current cell's shown text to the system clipboard, and the clipboard's text entered into
    // it as if typed (false when the clipboard holds no text).
    void CopyCellText();
    bool PasteCellText();
    bool StepSearch(int& col, int& row, int dx, int dy) const;
    void KeyDown(int& key, int shift);
    void DoubleClick();
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button);
    void MouseMove(int x, int y);
    void OpenEditor(int col, int row, const std::string& text, int selStart, int selLength);
    bool WrapMode(int dx, int dy) const;
    void UpdateSelection(int col, int row);
    void SetBits(int col, int row, uint8_t bits, bool on);
    void UpdateLineMarks();
    void SelectParameterRange(int32_t cell, int32_t first, int32_t last, int32_t anchorParameter);
    void FillRange(cmcCellCapsule& capsule);
    // A Ctrl+click on (col, row) of the current column joins the cell to the selection; false when
    // the cell cannot join it (another column, a cell that may not be multi-selected).
    bool ToggleInto(int col, int row);
    // A Ctrl+press at a viewport point on a selected cell other than the current one takes it out of
    // the selection; true when it did (the press then moves nothing).
    bool ToggleOut(const QPoint& p);
    // The rows a selection made with Ctrl spans, as RangeParameters gives them; false when its rows
    // have gaps (row commands then act on the current row only, never on rows left out).
    bool ToggledRange(int32_t& first, int32_t& last) const;
    // The frame that shows a selected cell of a multi-cell selection.
    void DrawSelection(cuiQtCanvas& canvas, int col, int row, const cmcCanvas::Rect& rect);
    int TextWidth(int col, int row, const std::string& text) const;
    void StatusClear();
    // After an action on (col, row): a refusal's reason goes to the status bar and a tooltip at the
    // cell (none for a negative col or row); an entered text that was taken clears the status text.
    void ReportRefusal(int col, int row, const std::string& refusal, bool entered);
    static void OnEvent(void* context, const cmcEvRec& event);
    static void Refresh(void* context, cmcCellCapsule& capsule, uint8_t scope);
    static void RestartEdit(void* context, cmcCellCapsule& capsule, int32_t flag);

    std::unique_ptr<cuiSheet> m_sheet;
    cmcCellHandler* m_handler;
    cmcFCache* m_lists = nullptr;
    QLabel* m_title = nullptr;
    cuiGrid* m_grid = nullptr;
    cuiColumnControl* m_columns = nullptr;
    QLineEdit* m_editor = nullptr;
    int m_editCol = -1;
    int m_editRow = -1;
    int m_keyCol = 0; // the cell reached by the last keyboard move
    int m_keyRow = 0;
    int m_anchorCol = -1; // fixed corner of the selection
    int m_anchorRow = -1;
    bool m_range = false;
    bool m_dragging = false;
    bool m_pressed = false; // the left button went down on this grid
    bool m_extend = false;  // Shift held in the key or mouse event being handled
    bool m_toggle = false;  // Ctrl held in the mouse press being handled
    bool m_toggled = false; // the selection was made or changed with Ctrl+click
    bool m_lineMarksClear = true;
    bool m_wrap = false;     // the move being made wraps around the grid (list windows)
    bool m_answered = false; // a list window answered its cell once
    QPoint m_lastMouse{-1, -1};
    std::optional<cmcCellCapsule> m_opener;
    QMenu* m_popup = nullptr;
    std::string m_popupName;
    const cmcCellObj* m_popupCell = nullptr;
    std::deque<cmcCellObj> m_popupCells; // entries of the pop-up menu
    cmcCellObj m_popupBasic;
    bool m_building = true;
    bool m_guard = false; // the engine itself changes the current column
    bool m_painted = false;
    bool m_closingEditor = false; // the editor is being hidden: its leave does not commit
    int m_sortCol = -1;           // the column the list was last sorted by from its header
    bool m_sortDescending = false;
    cmcCellPainter m_painter;
    cmcCellCapsule m_capsule;
};

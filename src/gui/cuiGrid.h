#pragma once
// The grid control of sheets: columns and rows with their own widths and heights, fixed leading
// columns and rows, a current cell and scrolling by whole columns and rows. It paints no cell itself:
// every cell is drawn through the draw-cell handler, and the sheet decides through its handlers which
// cell may become current and what keys and clicks do.
#include "cells/cmcCanvas.h"

#include <QAbstractScrollArea>
#include <functional>
#include <vector>

class QMenu;
class QTimer;
class cuiQtCanvas;

class cuiGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    using Rect = cmcCanvas::Rect;

    // Draw state bits.
    static constexpr int kDrawCurrent = 0x01;
    static constexpr int kDrawFocused = 0x02;
    static constexpr int kDrawFixed = 0x04;

    // Shift state bits of key and mouse handlers.
    static constexpr int kShift = 0x01;
    static constexpr int kAlt = 0x02;
    static constexpr int kCtrl = 0x04;

    // Mouse buttons.
    enum class Button { Left, Right, Middle };

    // Timed scroll directions.
    static constexpr int kScrollLeft = 0x01;
    static constexpr int kScrollRight = 0x02;
    static constexpr int kScrollUp = 0x04;
    static constexpr int kScrollDown = 0x08;

    // Key codes given to the key handlers: the platform-neutral virtual-key numbers of the radio
    // logic (0x25 Left, 0x26 Up, 0x27 Right, 0x28 Down, 0x21 Page Up, 0x22 Page Down, 0x70 F1...).
    static constexpr int kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B;
    static constexpr int kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24;
    static constexpr int kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;
    static constexpr int kVkInsert = 0x2D, kVkDelete = 0x2E, kVkF1 = 0x70, kVkF12 = 0x7B, kVkApps = 0x5D;

    explicit cuiGrid(QWidget* parent = nullptr);
    ~cuiGrid() override;

    // Counts; new columns and rows take the default sizes. The current cell stays inside.
    void SetCounts(int cols, int rows);
    int ColCount() const { return static_cast<int>(m_colWidths.size()); }
    int RowCount() const { return static_cast<int>(m_rowHeights.size()); }
    // Kept below the counts.
    void SetFixed(int cols, int rows);
    int FixedCols() const { return m_fixedCols; }
    int FixedRows() const { return m_fixedRows; }
    void SetDefaultSizes(int width, int height);
    int DefaultColWidth() const { return m_defaultWidth; }
    int DefaultRowHeight() const { return m_defaultHeight; }
    int ColWidth(int col) const;
    int RowHeight(int row) const;
    // A width of 0 hides a column.
    void SetColWidth(int col, int width);
    void SetRowHeight(int row, int height);
    // A hidden column shows 0 wide and keeps its width for when it shows again.
    void SetColHidden(int col, bool hidden);
    bool ColHidden(int col) const;

    int Col() const { return m_col; }
    int Row() const { return m_row; }
    // Sets the current column (or row); asks the select handler first and scrolls the cell into view.
    void SetCol(int col);
    void SetRow(int row);
    // Moves the current cell without scrolling; asks the select handler first.
    void MoveCurrent(int col, int row);
    int LeftCol() const { return m_leftCol; }
    int TopRow() const { return m_topRow; }
    void SetLeftCol(int col);
    void SetTopRow(int row);
    // Whole scrollable columns and rows shown.
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Width and height of every column and row.
    int GridWidth() const;
    int GridHeight() const;
    int ClientWidth() const;
    int ClientHeight() const;

    // In viewport coordinates; empty for a cell that is not shown.
    Rect CellRect(int col, int row) const;
    // -1, -1 when the point hits no cell.
    bool CellAtPoint(int x, int y, int& col, int& row) const;
    void InvalidateCell(int col, int row);
    void InvalidateArea(const Rect& rect);
    void InvalidateGrid();

    // Column sizing by dragging a column's right border in a fixed row.
    void SetColSizing(bool on) { m_colSizing = on; }
    bool ColSizing() const { return m_colSizing; }
    // Background outside the cells (0x00BBGGRR or a system colour).
    void SetColor(uint32_t color);
    uint32_t Color() const { return m_color; }

    // The pop-up menu and whether it opens by itself on right click or the context-menu key.
    void SetPopupMenu(QMenu* menu) { m_popup = menu; }
    QMenu* PopupMenu() const { return m_popup; }
    void SetAutoPopup(bool on) { m_autoPopup = on; }
    bool AutoPopup() const { return m_autoPopup; }

    // Handlers. Without a select handler every cell may become current; without a draw handler
    // nothing is drawn.
    std::function<void(int col, int row, bool& allow)> onSelectCell;
    std::function<void(cuiQtCanvas& canvas, int col, int row, const Rect& rect, int state)> onDrawCell;
    std::function<void()> onTopLeftChanged;
    std::function<void()> onColWidthsChanged;           // after the grid's own reaction
    std::function<void(int& key, int shift)> onKeyDown; // key 0 consumes it
    std::function<void(int key, int shift)> onKeyUp;
    std::function<void(char32_t& ch)> onKeyPress; // 0 consumes it
    std::function<void(Button button, int shift, int x, int y)> onMouseDown;
    std::function<void(Button button, int shift, int x, int y)> onMouseUp;
    std::function<void(int shift, int x, int y)> onMouseMove;
    std::function<void()> onDblClick;
    // A left click on a cell of a fixed row (pressed and released on the same cell, not on a column
    // border being dragged): the column whose header was clicked.
    std::function<void(int col)> onHeaderClick;
    // A right click on a cell of a fixed row, or Ctrl and the context-menu key (the current column):
    // the column and where its pop-up opens. Without it the grid's own pop-up opens there too.
    std::function<void(int col, const QPoint& globalPos)> onHeaderMenu;
    // The left press on a header cell no longer ends in a click (it became a drag).
    void CancelHeaderClick() { m_headerCol = -1; }
    // Where the last double click hit, in viewport coordinates.
    QPoint DoubleClickPos() const { return m_doubleClickAt; }
    std::function<void()> onFocusGained;
    std::function<void()> onFocusLost;
    std::function<void(int directions)> onTimedScroll; // replaces the grid's own timed scrolling

    // The grid's own reaction to a key that no handler consumed (moving the current cell).
    void DefaultKey(int key, int shift);
    // Qt key to virtual-key number; 0 for keys without one.
    static int VirtualKey(int qtKey);
    static int ShiftState(Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override { return false; }

private:
    bool AskSelect(int col, int row);
    void ScrollIntoView(int col, int row);
    void UpdateScrollBars();
    int MaxLeftCol() const;
    int MaxTopRow() const;
    int FixedWidth() const;
    int FixedHeight() const;
    int ColumnBorderAt(int x, int y) const; // column whose right border is under x in a fixed row, or -1
    void TimedScrollStep();
    // The header cell a left press hit (none while a column is being sized), and its click when the
    // release is on the same cell.
    void NoteHeaderPress(Qt::MouseButton button, const QPoint& p);
    void HeaderRelease(Qt::MouseButton button, const QPoint& p);
    // The header pop-up of a right click at p (true when it opened), or of Ctrl+context-menu key.
    bool HeaderMenuAt(const QPoint& p, const QPoint& globalPos);
    bool HeaderMenuKey(int key, int shift);

    std::vector<int> m_colWidths;
    std::vector<bool> m_colHidden;
    std::vector<int> m_rowHeights;
    int m_fixedCols = 0;
    int m_fixedRows = 0;
    int m_defaultWidth = 64;
    int m_defaultHeight = 24;
    int m_col = 0;
    int m_row = 0;
    int m_leftCol = 0;
    int m_topRow = 0;
    bool m_colSizing = false;
    uint32_t m_color = 0x80000005u;
    QMenu* m_popup = nullptr;
    bool m_autoPopup = false;
    bool m_syncingBars = false;
    int m_sizingCol = -1; // column being resized by dragging
    int m_sizingStartX = 0;
    int m_sizingStartWidth = 0;
    int m_headerCol = -1; // column of the header cell a left press hit, -1 for none
    bool m_mouseDown = false;
    QPoint m_lastMouse;
    QPoint m_doubleClickAt;
    QTimer* m_scrollTimer = nullptr;
};

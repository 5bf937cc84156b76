#pragma once
// A sheet without its window: built from the overlay's _Style, _BasicCell and _Cells sections into a
// cell table with row map, column widths and row heights. The grid shows it; model sheets derive.
#include "cells/cmcCellObj.h"
#include "sheets/cuiSheetEnv.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cuiSheet {
public:
    struct RowEntry {
        int32_t line = 0;        // line of the cells section the row is built from
        bool multiSelect = true; // the select flag in force when the row was added
    };
    // One grid cell: its cell object and its selection bits.
    struct CellEntry {
        static constexpr uint8_t kMultiSelectAllowed = 0x01;
        static constexpr uint8_t kSelected = 0x02;
        static constexpr uint8_t kLineMarked = 0x04;
        cmcCellObj cell;
        uint8_t flags = kMultiSelectAllowed;
    };
    enum MultiSelect : int32_t { kMultiNone = 0, kMultiCell = 1, kMultiLine = 2 };
    // Columns restored from stored widths are never wider than this.
    static constexpr int32_t kMaxRestoredWidth = 650;

    cuiSheet(const cuiSheetEnv& env, std::string overlayKey, int32_t startCell = 0,
             int32_t startParameter = 0);
    virtual ~cuiSheet();
    cuiSheet(const cuiSheet&) = delete;
    cuiSheet& operator=(const cuiSheet&) = delete;

    // Slots of the build, in the order the model sheets override them.
    virtual void SetKind(std::string_view kind);
    // The model part of showing a sheet: style keys, then the cells. Call once.
    virtual void Show();
    virtual void ApplyStyleKey(std::string_view key);
    virtual void ApplyRowKeyword(std::string_view keyword);
    virtual void BuildCells();
    virtual void BuildBasicCell();
    virtual void LayoutRows(const std::string& cellsKey);
    virtual void CreateCells(const std::string& cellsKey);
    virtual void RowHook(int32_t row);
    virtual void CellHook(int32_t column, int32_t row);
    virtual std::string Title();
    virtual bool IsPrintable();
    bool CanPrint() { return IsPrintable(); }
    virtual void RestoreColumnWidths();
    virtual void SaveColumnWidths();
    // Row events of the list sheets (48 adds rows, 49 removes them); the base sheet has none.
    virtual void AddRows(int32_t count);
    virtual void RemoveRows(int32_t count);

    void SetSheetText(std::string_view text) { m_sheetText = text; }
    void SetPopupMode(bool on) { m_popup = on; }
    // Builds for the printer: sizes scale by printer dots per inch over screen pixels per inch.
    void SetPrinter(int32_t printerDpi, int32_t screenDpi);
    // Builds for a preview bitmap of the printer's pages: printing rules at scale 1.
    void SetPreviewTarget(int32_t printerDpi, int32_t screenDpi);
    // Bitmap mode (preview): columns and rows start 1 pixel wide instead of one printer unit.
    void SetBitmapMode(bool on) { m_bitmapMode = on; }
    void SetPrintFontHeight(int32_t height) { m_printFontHeight = height; }
    void SetStartPosition(int32_t col, int32_t row, int32_t left, int32_t top);
    void SetPendingWidthReset(bool on) { m_pendingWidthReset = on; }

    // The cell table: outside it is a fatal configuration error ("Illegal Cell selection").
    CellEntry& CellAt(int32_t column, int32_t row);
    const CellEntry& CellAt(int32_t column, int32_t row) const;
    cmcCellObj& Cell(int32_t column, int32_t row) { return CellAt(column, row).cell; }

    const std::string& OverlayKey() const { return m_overlayKey; }
    const std::string& SheetText() const { return m_sheetText; }
    const std::string& Kind() const { return m_kind; }
    int32_t ColCount() const { return m_colCount; }
    int32_t RowCount() const { return m_rowCount; }
    // Rows the cell table holds (spare rows of list sheets included).
    int32_t TableRows() const { return m_tableRows; }
    int32_t FixedCols() const { return m_fixedCols; }
    int32_t FixedRows() const { return m_fixedRows; }
    // The fixed counts the grid can show: always at least one scrolling column and row.
    int32_t GridFixedCols() const;
    int32_t GridFixedRows() const;
    int32_t ColWidth(int32_t column) const;
    int32_t RowHeight(int32_t row) const;
    void SetColWidth(int32_t column, int32_t width);
    // The width pass 2 fitted (before stored widths), for the print width limit.
    int32_t FittedWidth(int32_t column) const;
    const RowEntry& Row(int32_t row) const;
    int32_t FirstSelectableCol() const { return m_firstSelCol; }
    int32_t FirstSelectableRow() const { return m_firstSelRow; }
    const std::optional<std::string>& TitleText() const { return m_title; }
    uint32_t TitleColor() const { return m_titleColor; }
    const std::optional<cmcCellFont>& TitleFont() const { return m_titleFont; }
    bool NoPrint() const { return m_noPrint; }
    bool ColSizing() const { return m_colSizing; }
    bool ColorSelectLine() const { return m_colorSelectLine; }
    int32_t PrintFontRatio() const { return m_printFontRatio; }
    int32_t MultiSelectMode() const { return m_multiSelect; }
    bool Printing() const { return m_printerDpi > 0; }
    bool BitmapMode() const { return m_bitmapMode; }
    int32_t PrintFontHeight() const { return m_printFontHeight; }
    // Layout units per screen pixel: printer dots per inch over screen pixels per inch when printing.
    double Scale() const { return m_scale; }
    bool PopupMode() const { return m_popup; }
    const cmcCellObj& BasicCell() const { return m_basic; }
    cmcCellObj::Counters& Counters() { return m_counters; }
    const cuiSheetEnv& Env() const { return m_env; }
    int32_t StartCell() const { return m_startCell; }
    int32_t StartParameter() const { return m_startParameter; }
    // The settings store name of this sheet's column widths; "" when it keeps none.
    std::string WidthStoreName();
    // Removes the stored widths of every sheet GI_CellWidthRegList names.
    void DeleteStoredWidths();
    // Columns the user hid: the grid and the printer show them 0 wide; their cells, data and stored
    // widths stay as they are. Kept per sheet in the settings store beside the widths.
    bool ColumnHidden(int32_t column) const;
    // Only scrolling columns hide; false (nothing changes) for a fixed column or one out of range.
    bool SetColumnHidden(int32_t column, bool hidden);
    // Whether the sheet keeps hidden columns and their order in the settings store (the window and
    // choice list sheets keep none: they show every column in the definition's order).
    bool KeepsColumnLayout() const { return m_storedWidths && !m_popup && m_env.settings; }
    // The user's order of the scrolling columns, kept beside the widths: the built sheet holds its
    // columns in that order (so the grid and the printer show them so), and widths and hidden
    // columns are stored under the column's place in the sheet definition. The column's place in
    // the sheet definition:
    int32_t OriginColumn(int32_t column) const;
    // Whether a column can move: a scrolling column none of whose cells is drawn together with a
    // neighbour (a heading over several columns, a text running into the next cell).
    bool ColumnMovable(int32_t column) const;
    // Stores the order with column moved to place to (both shown indexes); it takes effect when the
    // sheet is built again. False when either cannot move.
    bool StoreColumnMove(int32_t column, int32_t to);

protected:
    // Row map access that grows the map: new entries read line 0 with the flag set.
    RowEntry& RowAt(int32_t index);
    // Appends a row entry for line (with the select flag unless the sheet keeps the entries' own).
    void AppendRow(int32_t line);
    // Whether LayoutRows gives new row entries the select flag (the list sheets do not).
    bool m_layoutSelectFlags = true;
    // Rows the cell table holds at least (spare rows of the list sheets).
    int32_t m_minTableRows = 0;
    // Added to a fitted width or height before it is cut to whole pixels (window sheets add none).
    double m_fitRounding = 0.5;
    // Whether the sheet keeps its column widths in the settings store (window sheets do not).
    bool m_storedWidths = true;
    // Copies row - 1 into row with every parameter one higher (repeat and spare rows).
    void CopyRowDown(int32_t row, int32_t columns);
    // Loop sheets show count more (fewer) rows, at least one: the last shown row becomes an entry row
    // (may be multi-selected) and the new last row the blank row that adds an entry. Growing stops
    // at the cell table's end, shrinking at loopMark, the row above the loop's blank row.
    void GrowLoop(int32_t count);
    void ShrinkLoop(int32_t count, int32_t loopMark);
    // Every cell of a column of width 0 loses S.
    void UnselectHiddenColumns();
    // A skip keyword "Name N": sets the skip count when N is a number.
    static bool NumberAfterSpace(std::string_view keyword, int32_t& n);
    static bool StartsWith(std::string_view text, std::string_view prefix) {
        return text.substr(0, prefix.size()) == prefix;
    }
    // Entries in use of a list of the working image, by record kind (0 for other kinds).
    int32_t ListCount(int32_t recordKind) const;
    // Parenthesised groups of a style or control line, in order.
    static std::vector<std::string_view> Groups(std::string_view line);

    cuiSheetEnv m_env;
    std::string m_overlayKey;
    std::string m_sheetText;
    std::string m_kind;
    std::optional<std::string> m_title;
    uint32_t m_titleColor = 0x80000011; // clGrayText
    std::optional<cmcCellFont> m_titleFont;
    int32_t m_fixedCols = 0;
    int32_t m_fixedRows = 0;
    bool m_noPrint = false;
    bool m_colSizing = false;
    bool m_colorSelectLine = false;
    int32_t m_printFontRatio = 100;
    int32_t m_multiSelect = kMultiNone;
    bool m_popup = false;
    cmcCellObj m_basic;
    cmcCellObj::Counters m_counters{};

    std::vector<RowEntry> m_rowMap;
    int32_t m_rowCount = 0;
    int32_t m_colCount = 0;
    int32_t m_tableRows = 0;
    std::vector<CellEntry> m_cells;
    std::vector<int32_t> m_colWidths;
    std::vector<int32_t> m_fittedWidths;
    std::vector<int32_t> m_rowHeights;
    std::vector<int32_t> m_filled; // cells parsed or copied per row
    int32_t m_firstSelCol = 0;
    int32_t m_firstSelRow = 0;

    // Build state of pass 1.
    int32_t m_line = 0;
    int32_t m_loopFirst = -1;
    int32_t m_loopLast = -1;
    int32_t m_loopCount = -1;
    int32_t m_skip = 0;
    bool m_select = true;
    bool m_restoring = false;

    int32_t m_printerDpi = 0;
    int32_t m_screenDpi = 96;
    double m_scale = 1.0;
    int32_t m_printFontHeight = 0;
    bool m_bitmapMode = false;
    int32_t m_startCell = 0;
    int32_t m_startParameter = 0;
    int32_t m_startPos[4] = {-1, -1, -1, -1};
    bool m_pendingWidthReset = false;

private:
    void RestoreHiddenColumns();
    void ApplyColumnOrder();
    std::vector<bool> m_hiddenCols;
    std::vector<int32_t> m_origin; // each column's place in the sheet definition (empty: the same)
    void FitCell(const cmcCellObj& cell, int32_t column, int32_t row);
};

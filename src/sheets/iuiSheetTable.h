#pragma once
// A sheet seen as a table, without a window: the header text of every shown column and, per row below
// the header, every cell's text as the sheet shows it; values are typed into its cells as in the grid.
// The spreadsheet exchange (export, import) and the comparison of two data sets read sheets this way.
#include "sheets/cuiSheet.h"
#include "sheets/iuiCellTyping.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class cmcCodecEnv;
class indCellHandler;

class iuiSheetTable {
public:
    // Builds the sheet the sheet text names on env's data; the handler and codecs are those of the
    // same working image. The handler is told the bank the sheet shows while the table lives.
    iuiSheetTable(const cuiSheetEnv& env, indCellHandler& handler, cmcCodecEnv& codecs,
                  std::string sheetText);
    ~iuiSheetTable();
    iuiSheetTable(const iuiSheetTable&) = delete;
    iuiSheetTable& operator=(const iuiSheetTable&) = delete;

    cuiSheet& Sheet() { return *m_sheet; }
    const std::string& SheetText() const { return m_sheetText; }

    // Shown columns (hidden ones, of width 0, left out), by their header text: the fixed rows' texts
    // of the column joined by a blank, line feeds as blanks; "column N" (from 1) where they are empty.
    // A header that repeats takes " (2)", " (3)"...
    int32_t ColumnCount() const { return int32_t(m_columns.size()); }
    const std::string& Header(int32_t column) const { return m_headers[size_t(column)]; }
    // The sheet's own column and row of a shown column and a row below the header.
    int32_t SheetColumn(int32_t column) const { return m_columns[size_t(column)]; }
    int32_t SheetRow(int32_t row) const { return row + m_sheet->GridFixedRows(); }
    // The column of a header text (exact, or case and surrounding blanks aside); -1 when none.
    int32_t ColumnOf(std::string_view header) const;
    // Whether a header names a column the sheet hides (a bank kind that does not use it).
    bool HiddenHeader(std::string_view header) const;

    // Rows below the header, the blank row that appends an entry included.
    int32_t RowCount() const;
    // Rows that hold data: every row except a growing list's blank row.
    int32_t DataRowCount() const;
    // Whether a row is the blank row that appends an entry when something is typed into it.
    bool IsBlankRow(int32_t row) const;
    // The text a cell shows (line feeds kept); a cell without behaviour shows its own text.
    std::string Text(int32_t row, int32_t column);
    // Whether the cell has a behaviour (takes what is typed); plain texts do not.
    bool HasCell(int32_t row, int32_t column);

    // The header, then every row that holds data: the table an export writes.
    std::vector<std::vector<std::string>> Records();

    // Types text into a cell as the grid does.
    iuiCellTyping::Outcome Type(int32_t row, int32_t column, const std::string& text);
    // The header of the shown column whose cell in row has the cell number; "" when none has.
    std::string HeaderOfCell(int32_t row, int32_t cellNumber);
    // Builds the sheet anew from the data (rows added or removed by typing into it).
    void Rebuild();

private:
    void Build();

    cuiSheetEnv m_env;
    indCellHandler& m_handler;
    cmcCodecEnv& m_codecs;
    std::string m_sheetText;
    std::unique_ptr<cuiSheet> m_sheet;
    int32_t m_savedShownBank = -1;
    std::vector<int32_t> m_columns; // sheet column of each shown column
    std::vector<std::string> m_headers;
    std::vector<std::string> m_hiddenHeaders;
};

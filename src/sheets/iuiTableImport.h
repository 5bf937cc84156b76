#pragma once
// Types a spreadsheet table (header record first) into a sheet table as a technician would type it
// into the grid: columns matched by header text, columns the table lacks left as they are, rows onto
// the sheet's rows in order, rows past a growing list's entries appended through its blank row. A value
// equal to what the cell shows is not typed again. A row with a refused value is undone whole.
// The command line's import and the window's Import share it.
#include <cstdint>
#include <string>
#include <vector>

class cmcEeprom;
class iuiSheetTable;

class iuiTableImport {
public:
    using Record = std::vector<std::string>;

    // What is wrong with the header; nothing is typed then.
    enum class HeaderFault {
        None,
        Empty,   // no header record
        Unknown, // a column the sheet does not have
        Hidden,  // a column the sheet hides (the bank's kind does not use it)
        Twice,   // a column named twice
    };
    enum class RefusalKind {
        Cell,        // the cell refused the text: reason, or still shown
        FirstCell,   // the row is empty: column 'firstCell' must be set first
        FixedText,   // the column shows a fixed text
        ExtraFields, // the record has more fields than the header
        NoRow,       // the sheet has no such row (it holds 'rows' rows)
    };
    struct Refusal {
        int32_t row = 0;    // table row from 1 (the record after the header is row 1)
        std::string header; // the column's header, "" for a refusal of the whole row
        std::string text;   // the value
        RefusalKind kind = RefusalKind::Cell;
        std::string reason;    // the cell's reason (kind Cell), when it gives one
        std::string shown;     // what the cell still shows (kind Cell)
        std::string firstCell; // header of the cell to set first (kind FirstCell)
        int32_t rows = 0;      // rows the sheet holds (kind NoRow)

        // "row N, column 'HEADER': 'TEXT' refused: REASON" and the like, in the command line's words.
        std::string Line() const;
    };
    struct Result {
        HeaderFault fault = HeaderFault::None;
        std::string faultHeader; // the header the fault names
        std::vector<Refusal> refusals;
        std::vector<int32_t> leftOut; // rows undone for a refusal
        int32_t typedRows = 0;        // rows taken over
        bool changed = false;         // the working image differs from before
    };

    // work is the working image the table's handler edits. A table separated by ';' comes from a
    // spreadsheet that may write decimal commas: a number such as "151,625" that its cell refuses is
    // typed as "151.625".
    static Result Run(iuiSheetTable& table, cmcEeprom& work, const std::vector<Record>& records,
                      char separator = ',');
};

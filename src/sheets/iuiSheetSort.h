#pragma once
// Sorting a list sheet by one of its columns. An entry's key is the text the column shows on the
// entry's row; keys compare by what they mean: numbers and frequencies by value, other texts without
// regard to case with digit runs by value, blank texts last. The entries then move in one change of
// the working image through the row commands, and every reference to them follows.
#include "model/indRowCommands.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cmcCellHandler;
class cuiSheet;

class iuiSheetSort {
public:
    // Below 0 when a comes first in ascending order, 0 when they tie, above 0 when b comes first.
    // Keys that start with a number come before other texts, blank keys after everything.
    static int Compare(std::string_view a, std::string_view b);
    // The order that sorts keys: entry i goes to position order[i]. Stable; empty entries, then the
    // entries with blank keys, stay last in their order in either direction.
    static std::vector<int32_t> Order(const std::vector<std::string>& keys, const std::vector<bool>& empty,
                                      bool descending);

    // A column's header as shown: the texts of the fixed rows, joined by a space, line feeds as
    // spaces. handler gives the texts of cells with a behaviour (may be null).
    static std::string Header(cuiSheet& sheet, cmcCellHandler* handler, int32_t column);
    // The shown column (width above 0) whose header is header (case and spaces aside); -1 for none.
    static int32_t ColumnOf(cuiSheet& sheet, cmcCellHandler* handler, std::string_view header);
    // The headers of the shown columns, in order, skipping blank ones.
    static std::vector<std::string> Headers(cuiSheet& sheet, cmcCellHandler* handler);
    // The bank or repeater group the sheet shows, -1 for a sheet of neither.
    static int32_t GroupShown(const cuiSheet& sheet);

    // Sorts the list whose rows the sheet shows by the texts of column. NotHere when the sheet has no
    // rows that take row commands, does not show every entry of their list, or the list's rows do not
    // move; Nothing when the list is in order.
    static indRowCommands::Result Sort(cuiSheet& sheet, cmcCellHandler& handler, indRowCommands& rows,
                                       int32_t column, bool descending);
};

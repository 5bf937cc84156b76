#include "sheets/iuiTableImport.h"

#include "core/cmcEeprom.h"
#include "sheets/iuiSheetTable.h"

namespace {

using Refusal = iuiTableImport::Refusal;
using Kind = iuiTableImport::RefusalKind;

bool Blank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A number written with a decimal comma ("151,625", "-0,5") as the same number with a point; empty
// for any other text.
std::string WithDecimalPoint(const std::string& text) {
    const std::string t = Trimmed(text);
    size_t i = t.empty() || (t[0] != '-' && t[0] != '+') ? 0 : 1;
    const size_t comma = t.find(',');
    if (comma == std::string::npos || comma == i || comma + 1 == t.size() ||
        t.find(',', comma + 1) != std::string::npos)
        return {};
    for (; i < t.size(); ++i)
        if (i != comma && (t[i] < '0' || t[i] > '9'))
            return {};
    std::string dotted = t;
    dotted[comma] = '.';
    return dotted;
}

// Types one record into a sheet row; the refusals of the row are appended.
void TypeRow(iuiSheetTable& table, int32_t sheetRow, const std::vector<int32_t>& columnOfField,
             const iuiTableImport::Record& record, int32_t rowNumber, bool decimalComma,
             std::vector<Refusal>& refusals) {
    std::vector<std::pair<int32_t, Refusal>> refused;
    // A row being appended takes its defaults where the table leaves a field empty.
    const bool appending = table.IsBlankRow(sheetRow);
    // In the sheet's column order: a new row takes its first cell before the others.
    for (int32_t c = 0; c < table.ColumnCount(); ++c) {
        for (size_t f = 0; f < columnOfField.size() && f < record.size(); ++f) {
            if (columnOfField[f] != c)
                continue;
            const std::string& value = record[f];
            const std::string dotted = decimalComma ? WithDecimalPoint(value) : std::string();
            const std::string shown = table.Text(sheetRow, c);
            if (Trimmed(shown) == Trimmed(value) || iuiCellTyping::SameNumber(shown, value) ||
                (!dotted.empty() && iuiCellTyping::SameNumber(shown, dotted)) || (appending && Blank(value)))
                continue;
            Refusal refusal;
            refusal.row = rowNumber;
            refusal.header = table.Header(c);
            refusal.text = value;
            if (!table.HasCell(sheetRow, c)) {
                refusal.kind = Kind::FixedText;
                refused.emplace_back(c, refusal);
                continue;
            }
            iuiCellTyping::Outcome outcome = table.Type(sheetRow, c, value);
            // A name keeps its comma as written. A number's cell refuses the comma or drops it (it
            // reads "12,5" as 125): there the comma is the spreadsheet's decimal point, and the
            // number with a point stands, or its refusal.
            if (!dotted.empty() &&
                (!outcome.accepted || table.Text(sheetRow, c).find(',') == std::string::npos))
                outcome = table.Type(sheetRow, c, dotted);
            if (outcome.accepted)
                continue;
            if (outcome.firstCell >= 0) {
                refusal.kind = Kind::FirstCell;
                refusal.firstCell = table.HeaderOfCell(sheetRow, outcome.firstCell);
            } else {
                refusal.reason = outcome.reason;
                refusal.shown = outcome.shown;
            }
            refused.emplace_back(c, refusal);
        }
    }
    // A value may come true by the row's other values (the number of a row just appended).
    for (const auto& [column, refusal] : refused)
        if (!iuiCellTyping::Same(table.Text(sheetRow, column), refusal.text))
            refusals.push_back(refusal);
}

} // namespace

std::string iuiTableImport::Refusal::Line() const {
    std::string still = shown;
    for (char& c : still)
        if (c == '\n')
            c = ' ';
    std::string why;
    switch (kind) {
    case Kind::Cell:
        why = reason.empty() ? "refused (still " + still + ")" : "refused: " + reason;
        break;
    case Kind::FirstCell:
        why = firstCell.empty() ? "refused: the row is empty; set its first cell first"
                                : "refused: the row is empty; set '" + firstCell + "' first";
        break;
    case Kind::FixedText:
        why = "refused: the column shows a fixed text";
        break;
    case Kind::ExtraFields:
        return "row " + std::to_string(row) + ": '" + text +
               "' refused: the row has more fields than the header";
    case Kind::NoRow:
        return "row " + std::to_string(row) + ": refused: the sheet has only " + std::to_string(rows) +
               " rows";
    }
    return "row " + std::to_string(row) + ", column '" + header + "': '" + text + "' " + why;
}

iuiTableImport::Result iuiTableImport::Run(iuiSheetTable& table, cmcEeprom& work,
                                           const std::vector<Record>& records, char separator) {
    const bool decimalComma = separator == ';';
    Result result;
    if (records.empty()) {
        result.fault = HeaderFault::Empty;
        return result;
    }
    // The header: every named column must be one the sheet shows, once.
    const Record& header = records.front();
    std::vector<int32_t> columnOfField;
    for (size_t f = 0; f < header.size(); ++f) {
        const std::string& name = header[f];
        const int32_t column = table.ColumnOf(name);
        if (column < 0 && Blank(name)) {
            bool empty = true;
            for (size_t r = 1; r < records.size(); ++r)
                empty = empty && (f >= records[r].size() || Blank(records[r][f]));
            if (empty) { // a spreadsheet's trailing empty column
                columnOfField.push_back(-1);
                continue;
            }
        }
        if (column < 0) {
            result.fault = table.HiddenHeader(name) ? HeaderFault::Hidden : HeaderFault::Unknown;
            result.faultHeader = name;
            return result;
        }
        for (int32_t other : columnOfField) {
            if (other == column) {
                result.fault = HeaderFault::Twice;
                result.faultHeader = name;
                return result;
            }
        }
        columnOfField.push_back(column);
    }

    const cmcEeprom start = work;
    for (size_t r = 1; r < records.size(); ++r) {
        const int32_t rowNumber = int32_t(r);
        const Record& record = records[r];
        bool extra = false;
        for (size_t f = header.size(); f < record.size() && !extra; ++f) {
            if (!Blank(record[f])) {
                Refusal refusal;
                refusal.row = rowNumber;
                refusal.text = record[f];
                refusal.kind = Kind::ExtraFields;
                result.refusals.push_back(refusal);
                extra = true;
            }
        }
        if (extra) {
            result.leftOut.push_back(rowNumber);
            continue;
        }
        // Rows past the entries of a growing list go onto its blank row, which appends one.
        int32_t sheetRow = rowNumber - 1;
        int32_t blank = -1;
        for (int32_t q = 0; q < table.RowCount(); ++q)
            if (table.IsBlankRow(q))
                blank = q;
        if (blank >= 0 && sheetRow > blank)
            sheetRow = blank;
        if (sheetRow >= table.RowCount()) {
            Refusal refusal;
            refusal.row = rowNumber;
            refusal.kind = Kind::NoRow;
            refusal.rows = table.DataRowCount();
            result.refusals.push_back(refusal);
            result.leftOut.push_back(rowNumber);
            continue;
        }
        const cmcEeprom before = work;
        const size_t refusedBefore = result.refusals.size();
        TypeRow(table, sheetRow, columnOfField, record, rowNumber, decimalComma, result.refusals);
        if (result.refusals.size() != refusedBefore) {
            // A refused row is left out whole: the values typed before the refusal are undone.
            work = before;
            result.leftOut.push_back(rowNumber);
        } else {
            ++result.typedRows;
        }
        if (table.IsBlankRow(sheetRow) || !(work == before))
            table.Rebuild();
    }
    result.changed = !(work == start);
    return result;
}

#pragma once
// Per-radio values of a fleet write: a table whose header is "serial" and then cell addresses
// ("CT_Category.CL_Cell[parameter]", as the command line's cell verbs take them), one row per radio.
// Before a radio is written, its row is typed into its own copy of the data through the cells.
#include "cells/cmcCellObj.h"

#include <string>
#include <vector>

class indFleetValues {
public:
    struct Column {
        std::string address; // as written in the header
        cmcCellObj cell;
    };
    struct Row {
        std::string serial;
        std::vector<std::string> texts; // one per column
    };

    // Reads a table from its text; false with a message saying what is wrong (a bad header, an
    // unknown cell, a row of another length, a serial given twice).
    bool Parse(const std::string& text, std::string& error);
    // Reads the table of a file; false with a message when it cannot be read or is malformed.
    bool Load(const std::string& path, std::string& error);

    // The row of a radio: its serial as the label shows it, or the 12 characters the clone
    // information holds (case and blanks aside); null when the table has none for it.
    const Row* Find(const std::string& labelSerial, const std::string& rawSerial) const;

    // "CT_Mch.CL_Mch_Text[3]" (category and parameter optional); false for a name the cell tables
    // do not know.
    static bool ParseAddress(const std::string& address, cmcCellObj& cell);

    const std::vector<Column>& Columns() const { return m_columns; }
    const std::vector<Row>& Rows() const { return m_rows; }
    bool Empty() const { return m_rows.empty(); }

private:
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};

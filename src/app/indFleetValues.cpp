#include "app/indFleetValues.h"

#include "app/cmcCsv.h"
#include "cells/cmcCellIds.h"
#include "cells/cmcCellObj.h"

#include <cctype>
#include <cstdlib>
#include <string_view>

namespace {

std::string Key(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\t')
            out += char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

bool indFleetValues::ParseAddress(const std::string& address, cmcCellObj& cell) {
    return cmcCellIds::ParseAddress(address, cell) == cmcCellIds::AddressFault::None;
}

bool indFleetValues::Parse(const std::string& text, std::string& error) {
    m_columns.clear();
    m_rows.clear();
    std::vector<cmcCsv::Record> records;
    if (!cmcCsv::Read(text, records, error))
        return false;
    if (records.empty() || records[0].empty() || Key(records[0][0]) != "SERIAL") {
        error = "the first column of the header must be 'serial'";
        return false;
    }
    for (size_t i = 1; i < records[0].size(); ++i) {
        Column column{Trimmed(records[0][i]), {}};
        if (!ParseAddress(column.address, column.cell)) {
            error = "unknown cell '" + column.address + "' in the header";
            return false;
        }
        m_columns.push_back(column);
    }
    for (size_t r = 1; r < records.size(); ++r) {
        const cmcCsv::Record& record = records[r];
        const std::string line = "row " + std::to_string(r + 1);
        if (record.size() != m_columns.size() + 1) {
            error = line + " has " + std::to_string(record.size()) + " fields, the header " +
                    std::to_string(m_columns.size() + 1);
            return false;
        }
        Row row{Trimmed(record[0]), {record.begin() + 1, record.end()}};
        if (row.serial.empty()) {
            error = line + " has no serial";
            return false;
        }
        // Two rows for one radio would leave it to chance which values it gets.
        for (const Row& other : m_rows)
            if (Key(other.serial) == Key(row.serial)) {
                error = line + " repeats the serial " + row.serial;
                return false;
            }
        m_rows.push_back(std::move(row));
    }
    return true;
}

bool indFleetValues::Load(const std::string& path, std::string& error) {
    std::string text;
    if (!cmcCsv::ReadFile(path, text)) {
        error = "cannot read " + path;
        return false;
    }
    if (!Parse(text, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

const indFleetValues::Row* indFleetValues::Find(const std::string& labelSerial,
                                                const std::string& rawSerial) const {
    const std::string label = Key(labelSerial);
    const std::string raw = Key(rawSerial);
    for (const Row& row : m_rows) {
        const std::string key = Key(row.serial);
        if ((!label.empty() && key == label) || (!raw.empty() && key == raw))
            return &row;
    }
    return nullptr;
}

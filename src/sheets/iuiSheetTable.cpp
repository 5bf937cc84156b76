#include "sheets/iuiSheetTable.h"

#include "model/indCellHandler.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSh_Mch.h"
#include "sheets/iuiSheetFactory.h"

#include <algorithm>

namespace {

// The loop of a list whose last row appends an entry: the row the loop starts at and its entries.
bool GrowingLoop(const cuiSheet& sheet, int32_t& loopMark, int32_t& entries) {
    if (sheet.Printing())
        return false;
    if (const auto* bank = dynamic_cast<const iuiSh_ChBank*>(&sheet)) {
        loopMark = bank->LoopMark();
        entries = bank->EntryCount();
        return loopMark >= 0;
    }
    if (const auto* list = dynamic_cast<const iuiSh_Mch*>(&sheet);
        list && iuiSh_Mch::EditableList(list->Letter())) {
        loopMark = list->LoopMark();
        entries = list->EntryCount();
        return loopMark >= 0;
    }
    return false;
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

} // namespace

iuiSheetTable::iuiSheetTable(const cuiSheetEnv& env, indCellHandler& handler, cmcCodecEnv& codecs,
                             std::string sheetText)
    : m_env(env), m_handler(handler), m_codecs(codecs), m_sheetText(std::move(sheetText)),
      m_savedShownBank(handler.shownBank) {
    Build();
}

iuiSheetTable::~iuiSheetTable() {
    m_handler.shownBank = m_savedShownBank;
}

void iuiSheetTable::Build() {
    m_sheet = iuiSheetFactory::Build(m_env, m_sheetText);
    // The handler knows the bank shown, as the window tells it when it opens the sheet.
    m_handler.shownBank = iuiSh_ChBank::BankShown(*m_sheet);
    m_columns.clear();
    m_headers.clear();
    m_hiddenHeaders.clear();
    const int32_t fixed = m_sheet->GridFixedRows();
    for (int32_t c = 0; c < m_sheet->ColCount(); ++c) {
        std::string header;
        for (int32_t r = 0; r < fixed; ++r) {
            const std::string part =
                OneLine(iuiCellTyping::Shown(m_handler, m_sheet.get(), m_sheet->Cell(c, r)));
            if (part.find_first_not_of(' ') == std::string::npos)
                continue;
            header += (header.empty() ? "" : " ") + part;
        }
        if (m_sheet->ColWidth(c) <= 0) {
            if (!header.empty())
                m_hiddenHeaders.push_back(header);
            continue;
        }
        if (header.empty())
            header = "column " + std::to_string(m_columns.size() + 1);
        std::string unique = header;
        for (int n = 2; std::find(m_headers.begin(), m_headers.end(), unique) != m_headers.end(); ++n)
            unique = header + " (" + std::to_string(n) + ")";
        m_columns.push_back(c);
        m_headers.push_back(unique);
    }
}

void iuiSheetTable::Rebuild() {
    Build();
}

int32_t iuiSheetTable::ColumnOf(std::string_view header) const {
    for (size_t i = 0; i < m_headers.size(); ++i)
        if (m_headers[i] == header)
            return int32_t(i);
    for (size_t i = 0; i < m_headers.size(); ++i)
        if (iuiCellTyping::Same(m_headers[i], std::string(header)))
            return int32_t(i);
    return -1;
}

bool iuiSheetTable::HiddenHeader(std::string_view header) const {
    for (const std::string& h : m_hiddenHeaders)
        if (iuiCellTyping::Same(h, std::string(header)))
            return true;
    return false;
}

int32_t iuiSheetTable::RowCount() const {
    return std::max(0, m_sheet->RowCount() - m_sheet->GridFixedRows());
}

bool iuiSheetTable::IsBlankRow(int32_t row) const {
    int32_t loopMark = 0, entries = 0;
    return GrowingLoop(*m_sheet, loopMark, entries) && row + m_sheet->GridFixedRows() == loopMark + entries;
}

int32_t iuiSheetTable::DataRowCount() const {
    int32_t n = 0;
    for (int32_t r = 0; r < RowCount(); ++r)
        n += IsBlankRow(r) ? 0 : 1;
    return n;
}

std::string iuiSheetTable::Text(int32_t row, int32_t column) {
    return iuiCellTyping::Shown(m_handler, m_sheet.get(),
                                m_sheet->Cell(m_columns[size_t(column)], row + m_sheet->GridFixedRows()));
}

bool iuiSheetTable::HasCell(int32_t row, int32_t column) {
    return m_sheet->Cell(m_columns[size_t(column)], row + m_sheet->GridFixedRows()).HasCell();
}

std::vector<std::vector<std::string>> iuiSheetTable::Records() {
    std::vector<std::vector<std::string>> records{m_headers};
    for (int32_t r = 0; r < RowCount(); ++r) {
        if (IsBlankRow(r))
            continue;
        std::vector<std::string> record;
        for (int32_t c = 0; c < ColumnCount(); ++c)
            record.push_back(Text(r, c));
        records.push_back(std::move(record));
    }
    return records;
}

iuiCellTyping::Outcome iuiSheetTable::Type(int32_t row, int32_t column, const std::string& text) {
    const cmcCellObj cell = m_sheet->Cell(m_columns[size_t(column)], row + m_sheet->GridFixedRows());
    return iuiCellTyping::Type(m_handler, m_codecs, m_sheet.get(), cell, text);
}

std::string iuiSheetTable::HeaderOfCell(int32_t row, int32_t cellNumber) {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_sheet->Cell(m_columns[i], row + m_sheet->GridFixedRows()).cell == cellNumber)
            return m_headers[i];
    return {};
}

#include "sheets/iuiSheetSort.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellHandler.h"
#include "cells/cmcCellObj.h"
#include "sheets/cuiSheet.h"
#include "sheets/iuiSh_ChBank.h"
#include "sheets/iuiSh_Mch.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <numeric>
#include <optional>
#include <utility>

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number a text starts with ("151.625000", "-3", "9.5 s"); none for other texts.
std::optional<double> LeadingNumber(std::string_view text) {
    size_t at = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        at = 1;
    }
    if (at >= text.size() || !IsDigit(text[at])) {
        return std::nullopt;
    }
    size_t end = at;
    while (end < text.size() && IsDigit(text[end])) {
        ++end;
    }
    if (end + 1 < text.size() && text[end] == '.' && IsDigit(text[end + 1])) {
        ++end;
        while (end < text.size() && IsDigit(text[end])) {
            ++end;
        }
    }
    double value = 0;
    const char* first = text.data() + at;
    if (std::from_chars(first, text.data() + end, value, std::chars_format::fixed).ec != std::errc()) {
        return std::nullopt;
    }
    return text[0] == '-' ? -value : value;
}

// Texts without regard to case, runs of digits by their value ("CH 2" before "CH 10"); a run of
// digits comes before any other character.
int Natural(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0') {
                ++i;
            }
            while (j < b.size() && b[j] == '0') {
                ++j;
            }
            size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei])) {
                ++ei;
            }
            while (ej < b.size() && IsDigit(b[ej])) {
                ++ej;
            }
            // Without leading zeros the longer run is the larger number.
            if (ei - i != ej - j) {
                return ei - i < ej - j ? -1 : 1;
            }
            if (const int c = a.substr(i, ei - i).compare(b.substr(j, ej - j)); c != 0) {
                return c < 0 ? -1 : 1;
            }
            i = ei;
            j = ej;
            continue;
        }
        const int ca = IsDigit(a[i]) ? '0' : std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = IsDigit(b[j]) ? '0' : std::tolower(static_cast<unsigned char>(b[j]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    const bool aLeft = i < a.size(), bLeft = j < b.size();
    return aLeft == bLeft ? 0 : aLeft ? 1 : -1;
}

// Line feeds as spaces, runs of spaces as one, no spaces at the ends.
std::string Spaced(std::string_view text) {
    std::string out;
    for (char c : Trimmed(text)) {
        const bool space = std::isspace(static_cast<unsigned char>(c));
        if (space && !out.empty() && out.back() == ' ') {
            continue;
        }
        out += space ? ' ' : c;
    }
    return out;
}

// Headers match without regard to case or spacing ("Band-width" is the header shown as "Band- width").
bool SameHeader(std::string_view a, std::string_view b) {
    auto squeezed = [](std::string_view text) {
        std::string out;
        for (char c : text) {
            if (!std::isspace(static_cast<unsigned char>(c))) {
                out += char(std::tolower(static_cast<unsigned char>(c)));
            }
        }
        return out;
    };
    return squeezed(a) == squeezed(b);
}

// What a cell shows: the handler's text for cells with a behaviour, its own text otherwise.
std::string Shown(cuiSheet& sheet, cmcCellHandler* handler, const cmcCellObj& cell) {
    if (!cell.HasCell() || !handler) {
        return cell.GetDisplayText();
    }
    cmcCellObj scratch = cell;
    cmcCellCapsule capsule;
    capsule.cell = &scratch;
    capsule.sheet = &sheet;
    capsule.displayText = cell.GetDisplayText();
    handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
    return capsule.displayText;
}

} // namespace

int iuiSheetSort::Compare(std::string_view a, std::string_view b) {
    a = Trimmed(a);
    b = Trimmed(b);
    if (a.empty() || b.empty()) {
        return a.empty() == b.empty() ? 0 : a.empty() ? 1 : -1;
    }
    const std::optional<double> x = LeadingNumber(a), y = LeadingNumber(b);
    if (x.has_value() != y.has_value()) {
        return x ? -1 : 1;
    }
    if (x && *x != *y) {
        return *x < *y ? -1 : 1;
    }
    return Natural(a, b);
}

std::vector<int32_t> iuiSheetSort::Order(const std::vector<std::string>& keys, const std::vector<bool>& empty,
                                         bool descending) {
    const size_t n = keys.size();
    std::vector<int32_t> sorted(n);
    std::iota(sorted.begin(), sorted.end(), 0);
    auto rank = [&](int32_t i) {
        if (size_t(i) < empty.size() && empty[size_t(i)]) {
            return 2;
        }
        return Trimmed(keys[size_t(i)]).empty() ? 1 : 0;
    };
    std::stable_sort(sorted.begin(), sorted.end(), [&](int32_t a, int32_t b) {
        const int ra = rank(a), rb = rank(b);
        if (ra != rb || ra != 0) {
            return ra < rb;
        }
        const int c = Compare(keys[size_t(a)], keys[size_t(b)]);
        return descending ? c > 0 : c < 0;
    });
    std::vector<int32_t> order(n);
    for (size_t k = 0; k < n; ++k) {
        order[size_t(sorted[k])] = int32_t(k);
    }
    return order;
}

std::string iuiSheetSort::Header(cuiSheet& sheet, cmcCellHandler* handler, int32_t column) {
    std::string header;
    if (column < 0 || column >= sheet.ColCount()) {
        return header;
    }
    for (int32_t r = 0; r < sheet.FixedRows() && r < sheet.RowCount(); ++r) {
        const std::string text = Spaced(Shown(sheet, handler, sheet.Cell(column, r)));
        if (!text.empty()) {
            header += (header.empty() ? "" : " ") + text;
        }
    }
    return header;
}

int32_t iuiSheetSort::ColumnOf(cuiSheet& sheet, cmcCellHandler* handler, std::string_view header) {
    for (int32_t c = 0; c < sheet.ColCount(); ++c) {
        if (sheet.ColWidth(c) > 0 && SameHeader(Header(sheet, handler, c), header)) {
            return c;
        }
    }
    return -1;
}

std::vector<std::string> iuiSheetSort::Headers(cuiSheet& sheet, cmcCellHandler* handler) {
    std::vector<std::string> headers;
    for (int32_t c = 0; c < sheet.ColCount(); ++c) {
        std::string header = sheet.ColWidth(c) > 0 ? Header(sheet, handler, c) : std::string();
        if (!header.empty()) {
            headers.push_back(std::move(header));
        }
    }
    return headers;
}

int32_t iuiSheetSort::GroupShown(const cuiSheet& sheet) {
    if (const auto* bank = dynamic_cast<const iuiSh_ChBank*>(&sheet)) {
        return bank->Bank();
    }
    if (const auto* list = dynamic_cast<const iuiSh_Mch*>(&sheet); list && list->Letter() == 'R') {
        return list->ShownGroup();
    }
    return -1;
}

indRowCommands::Result iuiSheetSort::Sort(cuiSheet& sheet, cmcCellHandler& handler, indRowCommands& rows,
                                          int32_t column, bool descending) {
    if (column < 0 || column >= sheet.ColCount()) {
        return indRowCommands::Result::NotHere;
    }
    // Each row's entry is the parameter of its first cell of a list category; the rows of the list
    // shown all have the category of the first such row.
    int32_t category = -1;
    std::vector<std::pair<int32_t, int32_t>> rowEntries; // sheet row, entry
    for (int32_t r = sheet.FixedRows(); r < sheet.RowCount(); ++r) {
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            const cmcCellObj& cell = sheet.Cell(c, r);
            if (!cell.HasCell() || rows.KindOfCategory(cell.category) == 0) {
                continue;
            }
            if (category < 0) {
                category = cell.category;
            }
            if (cell.category == category) {
                rowEntries.emplace_back(r, cell.parameter);
            }
            break;
        }
    }
    const int32_t group = GroupShown(sheet);
    int32_t first = 0;
    std::vector<bool> empty;
    if (category < 0 || !rows.SortEntries(category, group, first, empty)) {
        return indRowCommands::Result::NotHere;
    }
    // An entry shown on several rows takes its key from the first of them that shows a text. Only
    // a sheet that shows every entry of the list sorts it: another sheet's few cells of a list do not
    // order the entries it does not show.
    std::vector<std::string> keys(empty.size());
    std::vector<bool> shown(empty.size(), false);
    for (const auto& [r, entry] : rowEntries) {
        const int32_t i = entry - first;
        if (i >= 0 && size_t(i) < keys.size() && Trimmed(keys[size_t(i)]).empty()) {
            keys[size_t(i)] = Shown(sheet, &handler, sheet.Cell(column, r));
        }
        if (i >= 0 && size_t(i) < shown.size()) {
            shown[size_t(i)] = true;
        }
    }
    if (std::find(shown.begin(), shown.end(), false) != shown.end()) {
        return indRowCommands::Result::NotHere;
    }
    return rows.Sort(category, group, Order(keys, empty, descending));
}

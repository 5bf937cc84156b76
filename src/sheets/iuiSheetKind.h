#pragma once
// The kind text of a model sheet read as a word and comma-separated items: "Bank 3", "R 9,2".
#include <string>
#include <string_view>
#include <vector>

struct iuiSheetKind {
    std::string word;               // up to the first space, trimmed
    std::vector<std::string> items; // after the first space, split at commas, each trimmed

    static iuiSheetKind Parse(std::string_view kind);
    // Item n, or "" when there is none.
    std::string Item(size_t n) const { return n < items.size() ? items[n] : std::string(); }
    // Item n as a decimal number; false when it is empty or not a number.
    bool ItemNumber(size_t n, int& value) const;
};

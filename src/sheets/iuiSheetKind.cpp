#include "sheets/iuiSheetKind.h"

#include <charconv>

namespace {
std::string Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return std::string(s);
}
} // namespace

iuiSheetKind iuiSheetKind::Parse(std::string_view kind) {
    iuiSheetKind out;
    const size_t space = kind.find(' ');
    out.word = Trim(kind.substr(0, space));
    if (space == std::string_view::npos)
        return out;
    std::string_view rest = kind.substr(space + 1);
    while (true) {
        const size_t comma = rest.find(',');
        out.items.push_back(Trim(rest.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return out;
}

bool iuiSheetKind::ItemNumber(size_t n, int& value) const {
    const std::string item = Item(n);
    if (item.empty())
        return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
    if (ec != std::errc() || end != item.data() + item.size())
        return false;
    value = v;
    return true;
}

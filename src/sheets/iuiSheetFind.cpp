#include "sheets/iuiSheetFind.h"

#include "sheets/iuiSheetTable.h"

#include <algorithm>

namespace {

constexpr const char* kDebugSheet = "GI_Sheet_EeDebug";

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string Folded(std::string text) {
    for (char& c : text)
        c = Fold(c);
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

} // namespace

bool iuiSheetFind::Holds(const std::string& cellText, const std::string& text, const Options& options) {
    const std::string wanted = Folded(options.wholeCell ? Trimmed(OneLine(text)) : OneLine(text));
    if (wanted.empty())
        return false;
    const std::string cell = Folded(OneLine(cellText));
    if (options.wholeCell)
        return Trimmed(cell) == wanted;
    return cell.find(wanted) != std::string::npos;
}

std::string iuiSheetFind::Replaced(const std::string& cellText, const std::string& text,
                                   const std::string& with, const Options& options) {
    const std::string cell = OneLine(cellText);
    if (!Holds(cell, text, options))
        return cell;
    if (options.wholeCell)
        return with;
    const std::string wanted = Folded(OneLine(text));
    const std::string folded = Folded(cell);
    std::string out;
    size_t from = 0;
    for (size_t at = folded.find(wanted); at != std::string::npos; at = folded.find(wanted, from)) {
        out += cell.substr(from, at - from) + with;
        from = at + wanted.size();
    }
    return out + cell.substr(from);
}

std::vector<iuiSheetFind::Target> iuiSheetFind::TreeTargets(const std::vector<iuiTreeSheets::Node>& nodes) {
    std::vector<Target> targets;
    for (const iuiTreeSheets::Node& node : nodes) {
        if (node.sheetText.empty() || node.sheetText.find(kDebugSheet) != std::string::npos)
            continue;
        const bool seen = std::any_of(targets.begin(), targets.end(),
                                      [&](const Target& t) { return t.sheet == node.sheetText; });
        if (!seen)
            targets.push_back({node.sheetText, node.caption});
    }
    return targets;
}

std::vector<iuiSheetFind::Match> iuiSheetFind::InTable(iuiSheetTable& table, const std::string& caption,
                                                       const std::string& text, const Options& options) {
    std::vector<Match> out;
    for (int32_t r = 0; r < table.RowCount(); ++r) {
        if (table.IsBlankRow(r))
            continue;
        std::string label;
        for (int32_t c = 0; c < table.ColumnCount(); ++c) {
            const std::string shown = OneLine(table.Text(r, c));
            if (c == 0)
                label = shown;
            if (!Holds(shown, text, options))
                continue;
            Match m;
            m.sheet = table.SheetText();
            m.caption = caption;
            m.row = r;
            m.label = c == 0 ? std::string() : Trimmed(label);
            m.column = c;
            m.header = table.Header(c);
            m.text = shown;
            m.sheetCol = table.SheetColumn(c);
            m.sheetRow = table.SheetRow(r);
            out.push_back(std::move(m));
        }
    }
    return out;
}

std::vector<iuiSheetFind::Match> iuiSheetFind::InSheets(const cuiSheetEnv& env, indCellHandler& handler,
                                                        cmcCodecEnv& codecs,
                                                        const std::vector<Target>& targets,
                                                        const std::string& text, const Options& options) {
    std::vector<Match> out;
    for (const Target& target : targets) {
        iuiSheetTable table(env, handler, codecs, target.sheet);
        std::vector<Match> found = InTable(table, target.caption, text, options);
        out.insert(out.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }
    return out;
}

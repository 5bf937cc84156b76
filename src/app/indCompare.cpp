#include "app/indCompare.h"

#include "core/cmcEeprom.h"
#include "core/cmcGTex.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "sheets/iuiSheetTable.h"
#include "sheets/iuiTreeSheets.h"

#include <algorithm>

namespace {

constexpr const char* kDebugSheet = "GI_Sheet_EeDebug";
constexpr const char* kNoRow = "(no row)";
constexpr const char* kNoColumn = "(no column)";

// Every text a sheet shows: headers, then the rows that hold data.
std::vector<std::string> AllTexts(indCompare::Side& side, const std::vector<std::string>& sheets) {
    std::vector<std::string> texts;
    for (const std::string& sheet : sheets) {
        iuiSheetTable table(side.env, *side.handler, *side.codecs, sheet);
        for (int32_t c = 0; c < table.ColumnCount(); ++c)
            texts.push_back(table.Header(c));
        for (int32_t r = 0; r < table.RowCount(); ++r)
            if (!table.IsBlankRow(r))
                for (int32_t c = 0; c < table.ColumnCount(); ++c)
                    texts.push_back(table.Text(r, c));
        texts.emplace_back(); // keeps sheets apart
    }
    return texts;
}

// The shown rows of a table with their texts, the blank row left out.
std::vector<std::vector<std::string>> Rows(iuiSheetTable& table) {
    std::vector<std::vector<std::string>> rows;
    for (int32_t r = 0; r < table.RowCount(); ++r) {
        if (table.IsBlankRow(r))
            continue;
        std::vector<std::string> row;
        for (int32_t c = 0; c < table.ColumnCount(); ++c)
            row.push_back(table.Text(r, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

std::vector<std::string> indCompare::Sheets(const Side& a, const Side& b) {
    std::vector<std::string> sheets;
    for (const Side* side : {&a, &b}) {
        const auto nodes =
            iuiTreeSheets::Nodes(*side->env.texts, side->env.work->Data(), {side->env.modelType, true, true});
        for (const iuiTreeSheets::Node& node : nodes) {
            if (node.sheetText.empty() || node.sheetText.find(kDebugSheet) != std::string::npos)
                continue;
            if (std::find(sheets.begin(), sheets.end(), node.sheetText) == sheets.end())
                sheets.push_back(node.sheetText);
        }
    }
    return sheets;
}

std::vector<indCompare::CellDifference> indCompare::Cells(Side& a, Side& b,
                                                          const std::vector<std::string>& sheets) {
    std::vector<CellDifference> out;
    for (const std::string& sheet : sheets) {
        iuiSheetTable ta(a.env, *a.handler, *a.codecs, sheet);
        iuiSheetTable tb(b.env, *b.handler, *b.codecs, sheet);
        // Columns by header: a's in order, then those only b shows (a bank kind hides others).
        std::vector<std::string> headers;
        for (int32_t c = 0; c < ta.ColumnCount(); ++c)
            headers.push_back(ta.Header(c));
        for (int32_t c = 0; c < tb.ColumnCount(); ++c)
            if (ta.ColumnOf(tb.Header(c)) < 0)
                headers.push_back(tb.Header(c));
        const auto rowsA = Rows(ta);
        const auto rowsB = Rows(tb);
        for (size_t r = 0; r < std::max(rowsA.size(), rowsB.size()); ++r) {
            auto text = [&](iuiSheetTable& t, const std::vector<std::vector<std::string>>& rows,
                            const std::string& header) -> std::string {
                if (r >= rows.size())
                    return kNoRow;
                const int32_t c = t.ColumnOf(header);
                if (c < 0 || t.Header(c) != header)
                    return kNoColumn;
                return rows[r][size_t(c)];
            };
            for (size_t h = 0; h < headers.size(); ++h) {
                const std::string ta_text = text(ta, rowsA, headers[h]);
                const std::string tb_text = text(tb, rowsB, headers[h]);
                if (ta_text == tb_text)
                    continue;
                CellDifference d;
                d.sheet = sheet;
                d.row = int32_t(r) + 1;
                d.column = headers[h];
                const auto& rows = r < rowsA.size() ? rowsA : rowsB;
                if (h > 0 && !rows[r].empty())
                    d.label = rows[r][0];
                d.a = ta_text;
                d.b = tb_text;
                out.push_back(std::move(d));
            }
        }
    }
    return out;
}

std::vector<indCompare::ByteRange> indCompare::Ranges(const cmcEeprom& packedA, const cmcEeprom& packedB,
                                                      int32_t gap) {
    std::vector<ByteRange> out;
    const int32_t end = std::min({packedA.GetSize(), packedB.GetSize(), int32_t(indLayout::kRadioSize)});
    for (int32_t at = 0; at < end; ++at) {
        if (packedA.Data()[at] == packedB.Data()[at])
            continue;
        if (!out.empty() && at - out.back().last <= gap)
            out.back().last = at;
        else
            out.push_back({at, at});
    }
    return out;
}

int32_t indCompare::Differing(const cmcEeprom& packedA, const cmcEeprom& packedB, const ByteRange& range) {
    int32_t n = 0;
    for (int32_t at = range.first; at <= range.last; ++at)
        n += packedA.Data()[at] != packedB.Data()[at] ? 1 : 0;
    return n;
}

std::vector<indCompare::ByteRange> indCompare::Unshown(Side& a, const cmcEeprom& packedA,
                                                       const cmcEeprom& packedB, const indModel& model,
                                                       const std::vector<ByteRange>& ranges,
                                                       const std::vector<std::string>& sheets) {
    std::vector<ByteRange> out;
    if (ranges.empty())
        return out;
    cmcEeprom& work = *a.env.work;
    const cmcEeprom kept = work;
    const std::vector<std::string> shown = AllTexts(a, sheets);
    for (const ByteRange& range : ranges) {
        cmcEeprom candidate = packedA;
        for (int32_t at = range.first; at <= range.last; ++at)
            candidate.Data()[at] = packedB.Data()[at];
        model.Convert(candidate, 0);
        work = candidate;
        if (AllTexts(a, sheets) == shown)
            out.push_back(range);
    }
    work = kept;
    return out;
}

// ostrel-cli import FILE --sheet 'SHEET TEXT' IN.csv -o OUT [--skip-refused] [--yes]: types a comma
// (or semicolon) separated table into a list sheet as a technician would type it into the grid, then
// saves the data as OUT. Columns are matched by their header text; columns the table lacks are left
// as they are. Table rows go onto the sheet's rows in order; rows past a growing list's entries are
// appended through its blank row. A value equal to what the cell shows is not typed again.
// Any refused value saves nothing (exit 1) unless --skip-refused leaves its row out instead.
#include "CliCellSession.h"

#include "app/cmcCsv.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetTable.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

struct Refusal {
    int row = 0; // table row from 1
    std::string header;
    std::string text;
    std::string why; // "refused: REASON" or "refused (still X)"
};

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream all;
    all << file.rdbuf();
    text = all.str();
    return true;
}

bool Blank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

// A shown text and a table value that name the same thing without typing (blanks at the ends aside).
bool Unchanged(const std::string& shown, const std::string& value) {
    auto trim = [](const std::string& s) {
        const size_t first = s.find_first_not_of(" \t");
        if (first == std::string::npos)
            return std::string();
        return s.substr(first, s.find_last_not_of(" \t") - first + 1);
    };
    return trim(shown) == trim(value);
}

// Types one table row into a sheet row; the refusals of the row are appended.
void TypeRow(iuiSheetTable& table, int32_t sheetRow, const std::vector<int32_t>& columnOfField,
             const cmcCsv::Record& record, int rowNumber, std::vector<Refusal>& refusals) {
    struct Pending {
        int32_t column;
        std::string value;
        Refusal refusal;
    };
    std::vector<Pending> refused;
    // A row being appended takes its defaults where the table leaves a field empty.
    const bool appending = table.IsBlankRow(sheetRow);
    // In the sheet's column order: a new row takes its first cell before the others.
    for (int32_t c = 0; c < table.ColumnCount(); ++c) {
        for (size_t f = 0; f < columnOfField.size() && f < record.size(); ++f) {
            if (columnOfField[f] != c)
                continue;
            const std::string& value = record[f];
            if (Unchanged(table.Text(sheetRow, c), value) || (appending && Blank(value)))
                continue;
            if (!table.HasCell(sheetRow, c)) {
                refused.push_back(
                    {c,
                     value,
                     {rowNumber, table.Header(c), value, "refused: the column shows a fixed text"}});
                continue;
            }
            const iuiCellTyping::Outcome outcome = table.Type(sheetRow, c, value);
            if (!outcome.accepted)
                refused.push_back({c, value, {rowNumber, table.Header(c), value, outcome.Refusal()}});
        }
    }
    // A value may come true by the row's other values (the number of a row just appended).
    for (const Pending& p : refused)
        if (!iuiCellTyping::Same(table.Text(sheetRow, p.column), p.value))
            refusals.push_back(p.refusal);
}

} // namespace

int CliImport(const CliArgs& args) {
    const std::string out = args.Get("-o");
    const std::string sheetText = args.Get("--sheet");
    size_t known = 2 + (args.Has("--skip-refused") ? 1 : 0) + (args.Has("--yes") ? 1 : 0);
    if (args.positional.size() != 2 || out.empty() || sheetText.empty() || args.options.size() != known) {
        std::fprintf(
            stderr,
            "usage: ostrel-cli import FILE --sheet 'SHEET TEXT' IN.csv -o OUT [--skip-refused] [--yes]\n");
        return kCliUsageError;
    }
    const bool skipRefused = args.Has("--skip-refused");
    const std::string& csvPath = args.positional[1];
    std::string csvText;
    if (!ReadText(csvPath, csvText)) {
        std::fprintf(stderr, "ostrel-cli import: cannot read '%s'\n", csvPath.c_str());
        return 1;
    }
    std::vector<cmcCsv::Record> records;
    std::string error;
    if (!cmcCsv::Read(csvText, records, error)) {
        std::fprintf(stderr, "ostrel-cli import: '%s' is not a readable table: %s\n", csvPath.c_str(),
                     error.c_str());
        return 1;
    }
    if (records.empty()) {
        std::fprintf(stderr, "ostrel-cli import: '%s' is empty; it needs a header line naming the columns\n",
                     csvPath.c_str());
        return 1;
    }

    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], args.Has("--yes"));
        code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    cmcFixedCanvas canvas;
    cuiSheetEnv env;
    env.texts = &s.tables.Text();
    env.languages = &s.tables.Languages();
    env.work = &s.work;
    env.current = &s.work;
    env.modelType = s.modelType;
    env.canvas = &canvas;
    iuiSheetTable table(env, *s.handler, *s.env, sheetText);
    if (table.Sheet().FixedRows() <= 0 || table.ColumnCount() == 0) {
        std::fprintf(stderr,
                     "ostrel-cli import: the sheet '%s' has no header row to name its columns; import "
                     "takes the list sheets (banks, ID, talk group, status and repeater lists)\n",
                     sheetText.c_str());
        return 1;
    }

    // The header: every named column must be one the sheet shows, once.
    const cmcCsv::Record& header = records.front();
    std::vector<int32_t> columnOfField;
    for (size_t f = 0; f < header.size(); ++f) {
        const std::string& name = header[f];
        int32_t column = table.ColumnOf(name);
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
            std::fprintf(stderr, "ostrel-cli import: column '%s' of '%s' is %s; nothing was saved\n",
                         name.c_str(), csvPath.c_str(),
                         table.HiddenHeader(name)
                             ? "hidden on this sheet (the bank's kind does not use it)"
                             : "not a column of this sheet (see ostrel-cli export for its headers)");
            return 1;
        }
        for (size_t g = 0; g < columnOfField.size(); ++g) {
            if (columnOfField[g] == column) {
                std::fprintf(stderr,
                             "ostrel-cli import: column '%s' of '%s' is named twice; nothing was saved\n",
                             name.c_str(), csvPath.c_str());
                return 1;
            }
        }
        columnOfField.push_back(column);
    }

    std::vector<Refusal> refusals;
    std::vector<int> leftOut;
    int typedRows = 0;
    for (size_t r = 1; r < records.size(); ++r) {
        const int rowNumber = int(r);
        const cmcCsv::Record& record = records[r];
        for (size_t f = header.size(); f < record.size(); ++f) {
            if (!Blank(record[f])) {
                refusals.push_back(
                    {rowNumber, "", record[f], "refused: the row has more fields than the header"});
                break;
            }
        }
        if (!refusals.empty() && refusals.back().row == rowNumber) {
            leftOut.push_back(rowNumber);
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
            refusals.push_back(
                {rowNumber, "", "",
                 "refused: the sheet has only " + std::to_string(table.DataRowCount()) + " rows"});
            leftOut.push_back(rowNumber);
            continue;
        }
        const cmcEeprom before = s.work;
        const size_t refusedBefore = refusals.size();
        TypeRow(table, sheetRow, columnOfField, record, rowNumber, refusals);
        if (refusals.size() != refusedBefore) {
            // A refused row is left out whole: the values typed before the refusal are undone.
            s.work = before;
            leftOut.push_back(rowNumber);
        } else {
            ++typedRows;
        }
        if (table.IsBlankRow(sheetRow) || !(s.work == before))
            table.Rebuild();
    }

    for (const Refusal& f : refusals) {
        if (f.header.empty() && f.text.empty())
            std::fprintf(stderr, "row %d: %s\n", f.row, f.why.c_str());
        else if (f.header.empty())
            std::fprintf(stderr, "row %d: '%s' %s\n", f.row, f.text.c_str(), f.why.c_str());
        else
            std::fprintf(stderr, "row %d, column '%s': '%s' %s\n", f.row, f.header.c_str(), f.text.c_str(),
                         f.why.c_str());
    }
    if (!refusals.empty() && !skipRefused) {
        std::fprintf(stderr,
                     "ostrel-cli import: %zu value(s) refused; nothing was saved (--skip-refused "
                     "leaves the refused rows out)\n",
                     refusals.size());
        return 1;
    }
    if (cmcKvtFile::FileError code = s.Save(out); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    std::string skipped;
    for (int n : leftOut)
        skipped += (skipped.empty() ? "" : ", ") + std::to_string(n);
    std::printf("%d rows imported into %s%s%s\n", typedRows, out.c_str(),
                skipped.empty() ? "" : "; left out: rows ", skipped.c_str());
    return 0;
}

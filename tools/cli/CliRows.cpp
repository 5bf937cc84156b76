// ostrel-cli rows FILE -o OUT [--yes] 'SHEET TEXT' CMD ROWS ...: runs the row commands of a list sheet
// (copy, paste, clear, insert, delete, move up, move down) on its rows as the window's pop-up menu
// does, and sorts of the list by a column ("sort 'COLUMN HEADER'", "sort-desc ..."), in order, then
// saves to OUT. A refused or cancelled command stops the run and saves nothing.
#include "CliCellSession.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNumber.h"
#include "model/datClipCh.h"
#include "model/indCellHost.h"
#include "model/indRowCommands.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiSheetSort.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

struct Command {
    std::string text; // as given, for messages: "delete 2-3"
    int32_t command = 0;
    int first = 0; // sheet row numbers, from 1
    int last = 0;
    std::string column; // a sort's column header ("" for the other commands)
    bool descending = false;
};

struct Verb {
    const char* name;
    int32_t command;
};
constexpr Verb kVerbs[] = {
    {"copy", CL_PMenu_Copy},      {"paste", CL_PMenu_Paste},   {"clear", CL_PMenu_Clear},
    {"insert", CL_PMenu_Insert},  {"delete", CL_PMenu_Delete}, {"up", CL_PMenu_CarryUp},
    {"down", CL_PMenu_CarryDown},
};

std::optional<int> RowNumber(const std::string& text) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || n < 1 || n > 100000) {
        return std::nullopt;
    }
    return int(n);
}

std::optional<Command> ParseCommand(const std::string& verb, const std::string& rows) {
    Command c;
    if (verb == "sort" || verb == "sort-desc") {
        c.text = verb + " \"" + rows + "\"";
        c.column = rows;
        c.descending = verb == "sort-desc";
        return c;
    }
    c.text = verb + " " + rows;
    for (const Verb& v : kVerbs) {
        if (verb == v.name) {
            c.command = v.command;
        }
    }
    if (c.command == 0) {
        std::fprintf(stderr,
                     "ostrel-cli rows: '%s' is not a row command (copy, paste, clear, insert, delete, "
                     "up, down, sort, sort-desc)\n",
                     verb.c_str());
        return std::nullopt;
    }
    const size_t dash = rows.find('-');
    const std::optional<int> first = RowNumber(rows.substr(0, dash));
    const std::optional<int> last = dash == std::string::npos ? first : RowNumber(rows.substr(dash + 1));
    if (!first || !last || *last < *first) {
        std::fprintf(stderr, "ostrel-cli rows: '%s': rows are a number or a range such as 2-5, from 1\n",
                     c.text.c_str());
        return std::nullopt;
    }
    c.first = *first;
    c.last = *last;
    return c;
}

// The pop-up menu's way to the row commands: the cell handler hands them to the application, which
// runs them here.
class RowsHost : public indCellHost {
public:
    RowsHost(indRowCommands& rows, int32_t group) : m_rows(rows), m_group(group) {}
    void RunCommand(int32_t, int32_t, const std::string&) override {}
    bool RunRowCommand(const RowCommand& row, cmcCellCapsule& capsule) override {
        result = m_rows.Execute(row.command, capsule, m_group);
        return result != indRowCommands::Result::NotHere;
    }
    indRowCommands::Result result = indRowCommands::Result::NotHere;

private:
    indRowCommands& m_rows;
    int32_t m_group;
};

// The rows of a built sheet that carry row commands, in the sheet's order: each row's first cell of
// a list category (its parameter is the row's entry). The last of a growing list is its blank row.
std::vector<cmcCellObj> ListRows(cuiSheet& sheet, const indRowCommands& rows) {
    std::vector<cmcCellObj> out;
    for (int32_t r = 0; r < sheet.RowCount(); ++r) {
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
            const cmcCellObj& cell = sheet.Cell(c, r);
            if (!cell.HasCell() || rows.KindOfCategory(cell.category) == 0) {
                continue;
            }
            bool seen = false;
            for (const cmcCellObj& o : out) {
                seen = seen || o.parameter == cell.parameter;
            }
            if (!seen) {
                out.push_back(cell);
            }
            break;
        }
    }
    return out;
}

// Why the window would show a command greyed out on those rows.
const char* NotApplicable(int32_t command) {
    switch (command) {
    case CL_PMenu_Copy:
    case CL_PMenu_Clear:
        return "the rows hold no entries of the list";
    case CL_PMenu_Paste:
        return "nothing of this list was copied (copy rows of the same list first, in the same run)";
    case CL_PMenu_CarryUp:
        return "the rows cannot move up (the first row of the list, a bank row, or past the list's end)";
    case CL_PMenu_CarryDown:
        return "the rows cannot move down (the last row of the list, a bank row, or past the list's end)";
    case CL_PMenu_Insert:
    case CL_PMenu_Delete:
        return "the list has a fixed number of rows, or the rows are past its end";
    default:
        return "not a row command";
    }
}

// Sorts the sheet's list by the column c names; false (with its message) when the run must stop.
bool Sort(CliCellSession& s, cuiSheet& sheet, indRowCommands& rows, const Command& c) {
    const int32_t column = iuiSheetSort::ColumnOf(sheet, s.handler.get(), c.column);
    if (column < 0) {
        std::string headers;
        for (const std::string& header : iuiSheetSort::Headers(sheet, s.handler.get())) {
            headers += (headers.empty() ? "'" : ", '") + header + "'";
        }
        std::fprintf(stderr,
                     "ostrel-cli rows: '%s': the sheet has no column of that header; its columns are %s; "
                     "nothing was saved\n",
                     c.text.c_str(), headers.c_str());
        return false;
    }
    switch (iuiSheetSort::Sort(sheet, *s.handler, rows, column, c.descending)) {
    case indRowCommands::Result::Done:
        std::printf("%s: done\n", c.text.c_str());
        break;
    case indRowCommands::Result::Nothing:
        std::printf("%s: done (already in that order)\n", c.text.c_str());
        break;
    case indRowCommands::Result::NotHere:
        std::fprintf(stderr,
                     "ostrel-cli rows: '%s': the rows of this list do not move (a bank carries its "
                     "channels); nothing was saved\n",
                     c.text.c_str());
        return false;
    case indRowCommands::Result::Refused:
    case indRowCommands::Result::Cancelled:
        if (rows.QuietRefusal()) {
            std::fprintf(stderr, "error: %s\n", s.tables.Text().GetText(rows.QuietRefusal()).c_str());
        }
        std::fprintf(stderr, "ostrel-cli rows: '%s' was refused; nothing was saved\n", c.text.c_str());
        return false;
    }
    std::fflush(stdout); // in order with the messages on standard error
    return true;
}

} // namespace

int CliRows(const CliArgs& args) {
    const std::string out = args.Get("-o");
    if (args.positional.size() < 4 || args.positional.size() % 2 != 0 || out.empty()) {
        std::fprintf(
            stderr, "usage: ostrel-cli rows FILE -o OUT [--yes] 'SHEET TEXT' CMD ROWS [CMD ROWS ...]\n"
                    "  CMD ROWS: copy|paste|clear|insert|delete|up|down ROWS (a row or a range such as 2-5,\n"
                    "  from 1), or sort|sort-desc 'COLUMN HEADER' (the list ordered by that column)\n");
        return kCliUsageError;
    }
    std::vector<Command> commands;
    for (size_t i = 2; i + 1 < args.positional.size(); i += 2) {
        std::optional<Command> c = ParseCommand(args.positional[i], args.positional[i + 1]);
        if (!c) {
            return kCliUsageError;
        }
        commands.push_back(*c);
    }
    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], args.Has("--yes"));
        code != cmcKvtFile::FileError::Ok) {
        return cmcKvtFile::Code(code);
    }
    // What was opened is the reference a clear goes back to.
    const cmcEeprom reference = s.work;
    datClipCh clip;
    indRowCommands::Services rs;
    rs.work = &s.work;
    rs.reference = &reference;
    rs.defaults = &s.defaults;
    rs.clip = &clip;
    rs.handler = s.handler.get();
    rs.box = s.box.get();
    rs.texts = &s.tables.Text();
    rs.modelFamily = s.modelType;
    indRowCommands rows(rs);

    cmcFixedCanvas canvas;
    const cuiSheetEnv env = s.SheetEnv(canvas);
    const std::string& sheetText = args.positional[1];
    for (const Command& c : commands) {
        // The sheet is built again for every command, as the window's rows follow every insertion.
        const auto sheet = iuiSheetFactory::Build(env, sheetText);
        const int32_t group = iuiSheetSort::GroupShown(*sheet);
        s.handler->shownBank = group;
        const std::vector<cmcCellObj> listRows = ListRows(*sheet, rows);
        if (listRows.empty()) {
            std::fprintf(stderr,
                         "ostrel-cli rows: '%s' has no rows that take row commands; nothing was saved\n",
                         sheetText.c_str());
            return 1;
        }
        if (!c.column.empty()) {
            if (!Sort(s, *sheet, rows, c)) {
                return 1;
            }
            continue;
        }
        if (c.last > int(listRows.size())) {
            std::fprintf(stderr, "ostrel-cli rows: '%s': the sheet has rows 1 to %zu; nothing was saved\n",
                         c.text.c_str(), listRows.size());
            return 1;
        }
        cmcCellObj cell = listRows[size_t(c.first - 1)];
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        capsule.onGrid = true;
        if (c.last > c.first) {
            capsule.rangeFlags = cmcCellCapsule::kRangeBlock;
            capsule.rangeFirst = listRows[size_t(c.first - 1)].parameter;
            capsule.rangeLast = listRows[size_t(c.last - 1)].parameter;
        }
        if (!rows.Applies(c.command, capsule, group)) {
            std::fprintf(stderr, "ostrel-cli rows: '%s': %s; nothing was saved\n", c.text.c_str(),
                         NotApplicable(c.command));
            return 1;
        }
        RowsHost host(rows, group);
        s.handler->host = &host;
        capsule.command = c.command;
        s.handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
        s.handler->host = nullptr;
        switch (host.result) {
        case indRowCommands::Result::Done:
            std::printf("%s: done\n", c.text.c_str());
            std::fflush(stdout); // in order with the messages on standard error
            break;
        case indRowCommands::Result::Cancelled:
            std::fprintf(stderr,
                         "ostrel-cli rows: '%s' needs a confirmation: run with --yes; nothing was saved\n",
                         c.text.c_str());
            return 1;
        case indRowCommands::Result::NotHere:
            std::fprintf(stderr,
                         "ostrel-cli rows: '%s': the data does not save these rows, so they take no "
                         "changes; nothing was saved\n",
                         c.text.c_str());
            return 1;
        case indRowCommands::Result::Refused:
        case indRowCommands::Result::Nothing:
            if (rows.QuietRefusal()) {
                std::fprintf(stderr, "error: %s\n", s.tables.Text().GetText(rows.QuietRefusal()).c_str());
            }
            std::fprintf(stderr, "ostrel-cli rows: '%s' was refused; nothing was saved\n", c.text.c_str());
            return 1;
        }
    }
    if (cmcKvtFile::FileError code = s.Save(out); code != cmcKvtFile::FileError::Ok) {
        return cmcKvtFile::Code(code);
    }
    return 0;
}

// ostrel-cli import FILE --sheet 'SHEET TEXT' IN.csv -o OUT [--skip-refused] [--yes]: types a comma
// (or semicolon) separated table into a list sheet as a technician would type it into the grid, then
// saves the data as OUT. Columns are matched by their header text; columns the table lacks are left
// as they are. Table rows go onto the sheet's rows in order; rows past a growing list's entries are
// appended through its blank row. Any refused value saves nothing (exit 1) unless --skip-refused
// leaves its row out instead.
#include "CliCellSession.h"

#include "app/cmcCsv.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetTable.h"
#include "sheets/iuiTableImport.h"

#include <cstdio>

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
    const std::string& csvPath = args.positional[1];
    std::string csvText;
    if (!cmcCsv::ReadFile(csvPath, csvText)) {
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

    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], args.Has("--yes"));
        code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    cmcFixedCanvas canvas;
    const cuiSheetEnv env = s.SheetEnv(canvas);
    iuiSheetTable table(env, *s.handler, *s.env, sheetText);
    if (table.Sheet().FixedRows() <= 0 || table.ColumnCount() == 0) {
        std::fprintf(stderr,
                     "ostrel-cli import: the sheet '%s' has no header row to name its columns; import "
                     "takes the list sheets (banks, ID, talk group, status and repeater lists)\n",
                     sheetText.c_str());
        return 1;
    }

    const iuiTableImport::Result result =
        iuiTableImport::Run(table, s.work, records, cmcCsv::Separator(csvText));
    using Fault = iuiTableImport::HeaderFault;
    const char* name = result.faultHeader.c_str();
    switch (result.fault) {
    case Fault::None:
        break;
    case Fault::Empty:
        std::fprintf(stderr, "ostrel-cli import: '%s' is empty; it needs a header line naming the columns\n",
                     csvPath.c_str());
        return 1;
    case Fault::Unknown:
        std::fprintf(
            stderr,
            "ostrel-cli import: column '%s' of '%s' is not a column of this sheet (ostrel-cli export "
            "shows its headers); nothing was saved\n",
            name, csvPath.c_str());
        return 1;
    case Fault::Hidden:
        std::fprintf(
            stderr,
            "ostrel-cli import: column '%s' of '%s' is hidden on this sheet (the bank's kind does not "
            "use it); nothing was saved\n",
            name, csvPath.c_str());
        return 1;
    case Fault::Twice:
        std::fprintf(stderr, "ostrel-cli import: column '%s' of '%s' is named twice; nothing was saved\n",
                     name, csvPath.c_str());
        return 1;
    }
    for (const iuiTableImport::Refusal& refusal : result.refusals)
        std::fprintf(stderr, "%s\n", refusal.Line().c_str());
    if (!result.refusals.empty() && !args.Has("--skip-refused")) {
        std::fprintf(stderr,
                     "ostrel-cli import: %zu value(s) refused; nothing was saved (--skip-refused leaves the "
                     "refused rows out)\n",
                     result.refusals.size());
        return 1;
    }
    if (cmcKvtFile::FileError code = s.Save(out); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    std::string skipped;
    for (int32_t n : result.leftOut)
        skipped += (skipped.empty() ? "" : ", ") + std::to_string(n);
    std::printf("%d rows imported into %s%s%s\n", result.typedRows, out.c_str(),
                skipped.empty() ? "" : "; left out: rows ", skipped.c_str());
    return 0;
}

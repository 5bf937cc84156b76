// ostrel-cli export FILE --sheet 'SHEET TEXT' -o OUT.csv: writes a list sheet (a bank's memory
// channels, an ID, talk group, status or repeater list) as a comma separated table a spreadsheet
// opens: one column per shown column by its header text, one record per row that holds data, each
// cell as the sheet shows it. Never writes the clone data file.
#include "CliCellSession.h"

#include "app/cmcCsv.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetTable.h"

#include <cstdio>

int CliExport(const CliArgs& args) {
    const std::string out = args.Get("-o");
    const std::string sheetText = args.Get("--sheet");
    if (args.positional.size() != 1 || out.empty() || sheetText.empty() || args.options.size() != 2) {
        std::fprintf(stderr, "usage: ostrel-cli export FILE --sheet 'SHEET TEXT' -o OUT.csv\n");
        return kCliUsageError;
    }
    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], false); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    cmcFixedCanvas canvas;
    const cuiSheetEnv env = s.SheetEnv(canvas);
    iuiSheetTable table(env, *s.handler, *s.env, sheetText);
    if (table.Sheet().FixedRows() <= 0 || table.ColumnCount() == 0) {
        std::fprintf(stderr,
                     "ostrel-cli export: the sheet '%s' has no header row to name its columns; export "
                     "takes the list sheets (banks, ID, talk group, status and repeater lists)\n",
                     sheetText.c_str());
        return 1;
    }
    const auto records = table.Records();
    if (!cmcCsv::WriteFile(out, records)) {
        std::fprintf(stderr,
                     "ostrel-cli export: cannot write '%s'; check the folder exists and is writable\n",
                     out.c_str());
        return 1;
    }
    const int rows = int(records.size()) - 1;
    std::printf("%d rows, %d columns written to %s\n", rows, table.ColumnCount(), out.c_str());
    return 0;
}

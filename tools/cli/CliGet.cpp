// ostrel-cli get FILE CELL...: prints what each cell shows, as the sheets would show it; a cell over a
// set of rows ("CT_Mch.CL_Mch_FreqR[0-3]") prints one line per row.
#include "CliCellSession.h"

#include <cstdio>
#include <cstdlib>

int CliGet(const CliArgs& args) {
    if (args.positional.size() < 2 || (args.options.size() > (args.Has("--bank") ? 1u : 0u))) {
        std::fprintf(stderr, "usage: ostrel-cli get FILE [--bank B] CELL...\n");
        return kCliUsageError;
    }
    std::vector<CliCellSession::Cells> addresses;
    for (size_t i = 1; i < args.positional.size(); ++i) {
        std::optional<CliCellSession::Cells> cells = CliCellSession::ParseCells(args.positional[i]);
        if (!cells)
            return kCliUsageError;
        addresses.push_back(*cells);
    }
    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], false); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    if (args.Has("--bank"))
        s.handler->shownBank = std::atoi(args.Get("--bank").c_str());
    for (const CliCellSession::Cells& cells : addresses)
        if (!s.RowsExist(cells, "get"))
            return kCliUsageError;
    for (const CliCellSession::Cells& cells : addresses)
        for (size_t i = 0; i < cells.all.size(); ++i)
            std::printf("%s=%s\n", cells.Address(i).c_str(), s.Shown(cells.all[i]).c_str());
    return 0;
}

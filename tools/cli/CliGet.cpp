// ostrel-cli get FILE CELL...: prints what each cell shows, as the sheets would show it.
#include "CliCellSession.h"

#include <cstdio>
#include <cstdlib>

int CliGet(const CliArgs& args) {
    if (args.positional.size() < 2 || (args.options.size() > (args.Has("--bank") ? 1u : 0u))) {
        std::fprintf(stderr, "usage: ostrel-cli get FILE [--bank B] CELL...\n");
        return kCliUsageError;
    }
    std::vector<cmcCellObj> cells;
    for (size_t i = 1; i < args.positional.size(); ++i) {
        std::optional<cmcCellObj> cell = CliCellSession::ParseAddress(args.positional[i]);
        if (!cell)
            return kCliUsageError;
        cells.push_back(*cell);
    }
    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], false); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    if (args.Has("--bank"))
        s.handler->shownBank = std::atoi(args.Get("--bank").c_str());
    for (size_t i = 0; i < cells.size(); ++i)
        std::printf("%s=%s\n", args.positional[i + 1].c_str(), s.Shown(cells[i]).c_str());
    return 0;
}

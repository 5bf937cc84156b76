// ostrel-cli warnings FILE: runs the warning check that clone write runs, and lists what it found.
#include "CliCellSession.h"

#include "model/indWarningCheck.h"

#include <cstdio>

int CliWarnings(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.options.empty()) {
        std::fprintf(stderr, "usage: ostrel-cli warnings FILE\n");
        return kCliUsageError;
    }
    CliCellSession s;
    if (cmcKvtFile::FileError code = s.Open(args.positional[0], false); code != cmcKvtFile::FileError::Ok)
        return cmcKvtFile::Code(code);
    const indWarningCheck::Result r = indWarningCheck::Run(*s.handler, s.tables.Text(), s.modelType);
    for (const indWarningCheck::Item& i : r.errors)
        std::printf("error\t%s\t%s\n", i.location.c_str(), i.cellText.c_str());
    for (const indWarningCheck::Item& i : r.warnings)
        std::printf("warning\t%s\t%s\n", i.location.c_str(), i.cellText.c_str());
    std::printf("%d error(s), %d warning(s)\n", r.ErrorCount(), r.WarningCount());
    return r.ErrorCount() > 0 ? 1 : 0;
}

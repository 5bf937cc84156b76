// ostrel-cli check FILE: reads a clone data file as the Open command does and reports the outcome.
#include "Cli.h"

#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcKvtFile.h"
#include "core/cmcTextTables.h"
#include "model/indDataFile.h"
#include "model/indModel.h"

#include <cstdio>

int CliCheck(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.options.empty()) {
        std::fprintf(stderr, "usage: ostrel-cli check FILE\n");
        return kCliUsageError;
    }
    // The overlay of the first shipped language: the lockout setting and the messages.
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    const indModel model(nullptr, nullptr, indModel::ReadSettings(tables.Text()));
    cmcEeprom scratch;
    const cmcKvtFile::FileError code = indDataFile::Open(args.positional[0], scratch, &model);
    if (code == cmcKvtFile::FileError::Ok) {
        std::printf("OK\n");
        return cmcKvtFile::Code(code);
    }
    // The message the desktop program would show.
    std::printf("%s\n", tables.Text().GetJoinedText(cmcKvtFile::FileErrorKey(code)).c_str());
    return cmcKvtFile::Code(code);
}

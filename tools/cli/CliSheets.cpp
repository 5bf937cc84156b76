// ostrel-cli sheets [--pmr]: every sheet the navigation tree opens, on the initial data of the model
// type, one line each: sheet text, TAB, rows, TAB, columns. Maker and adjustment sheets included.
#include "Cli.h"

#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFactory.h"
#include "sheets/iuiTreeSheets.h"

#include <cstdio>

int CliSheets(const CliArgs& args) {
    if (!args.positional.empty() || args.options.size() > (args.Has("--pmr") ? 1u : 0u)) {
        std::fprintf(stderr, "usage: ostrel-cli sheets [--pmr]\n");
        return kCliUsageError;
    }
    const int type = args.Has("--pmr") ? indModel::kPmr : indModel::kLmr;
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    cmcEeprom work;
    indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), type), work);
    indModel::ConvertInitial(work, indModel::ReadSettings(tables.Text()));

    cmcFixedCanvas canvas;
    cuiSheetEnv env;
    env.texts = &tables.Text();
    env.languages = &tables.Languages();
    env.work = &work;
    env.current = &work;
    env.modelType = type;
    env.makerMode = true;
    env.canvas = &canvas;
    const auto nodes = iuiTreeSheets::Nodes(tables.Text(), work.Data(), {type, true, true});
    for (const iuiTreeSheets::Node& node : nodes) {
        if (node.sheetText.empty())
            continue;
        const auto sheet = iuiSheetFactory::Build(env, node.sheetText);
        std::printf("%s\t%d\t%d\n", node.sheetText.c_str(), sheet->RowCount(), sheet->ColCount());
    }
    return 0;
}

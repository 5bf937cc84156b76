#pragma once
// What the sheet benchmarks share: the LMR initial data with all 128 channels in bank 0 (the slots
// keep the initial data's contents), the cell handler over it, and a sheet environment measuring with
// the given canvas.
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "sheets/cuiSheetEnv.h"

#include <memory>

struct BankBench {
    static constexpr const char* kSheet = "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0";
    static constexpr double kFrameMs = 1000.0 / 60.0;

    cmcTextTables tables;
    cmcEeprom work;
    std::unique_ptr<cmcFCache> lists;
    std::unique_ptr<cmcCodecEnv> codecs;
    std::unique_ptr<indCellHandler> handler;
    cuiSheetEnv env;

    explicit BankBench(cmcMeasureCanvas* canvas) {
        tables.Load(cmcAppDir(), 0);
        indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), indModel::kLmr), work);
        indModel::ConvertInitial(work, indModel::ReadSettings(tables.Text()));
        for (int g = 0; g < indLayout::kGroups; ++g)
            indLayout::Put16(work.Data(), indLayout::kGroupCounts + 2 * g, g == 0 ? 128 : 0);
        lists = std::make_unique<cmcFCache>(tables.Text());
        codecs = std::make_unique<cmcCodecEnv>(&tables.Text(), lists.get(), nullptr);
        indCellHandler::Services services;
        services.work = &work;
        services.defaults = &work;
        services.env = codecs.get();
        handler = std::make_unique<indCellHandler>(services);
        handler->shownBank = 0;
        env.texts = &tables.Text();
        env.languages = &tables.Languages();
        env.work = &work;
        env.current = &work;
        env.canvas = canvas;
    }
};

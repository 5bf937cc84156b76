#pragma once
// The shipped overlay and LMR initial data with the model cell handler over them, as the sheet tests
// build and type into sheets.
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/cuiSheetEnv.h"

#include <memory>

struct ShippedLmrData {
    cmcTextTables tables;
    cmcEeprom work, defaults;
    std::unique_ptr<cmcFCache> lists;
    std::unique_ptr<cmcCodecEnv> codecs;
    std::unique_ptr<indCellHandler> handler;
    cmcFixedCanvas canvas;
    cuiSheetEnv env;

    // windows: where the codecs open their windows (null: nowhere).
    void Load(cmcCellWindows* windows = nullptr) {
        tables.Load(cmcAppDir(), 0);
        indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), 0), work);
        indModel::ConvertInitial(work, indModel::ReadSettings(tables.Text()));
        defaults = work;
        lists = std::make_unique<cmcFCache>(tables.Text());
        codecs = std::make_unique<cmcCodecEnv>(&tables.Text(), lists.get(), windows);
        indCellHandler::Services s;
        s.work = &work;
        s.defaults = &defaults;
        s.env = codecs.get();
        handler = std::make_unique<indCellHandler>(s);
        env.texts = &tables.Text();
        env.languages = &tables.Languages();
        env.work = &work;
        env.current = &work;
        env.canvas = &canvas;
    }
};

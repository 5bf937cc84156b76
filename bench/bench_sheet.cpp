// Building the LMR memory channel sheet of a bank holding all 128 channels and asking the cell
// handler for every cell's display text: what opening the biggest sheet costs. The baseline is one
// frame of a 60 Hz display (16.7 ms).
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcAppDir.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFactory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {
using Clock = std::chrono::steady_clock;
constexpr double kFrameMs = 1000.0 / 60.0;
} // namespace

int main() {
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    cmcEeprom work;
    indModel::LoadInitialData(indModel::InitialFilePath(tables.Text(), indModel::kLmr), work);
    indModel::ConvertInitial(work, indModel::ReadSettings(tables.Text()));
    // Every channel in bank 0; the channel slots keep the initial data's contents.
    for (int g = 0; g < indLayout::kGroups; ++g)
        indLayout::Put16(work.Data(), indLayout::kGroupCounts + 2 * g, g == 0 ? 128 : 0);

    cmcFCache lists(tables.Text());
    cmcCodecEnv codecs(&tables.Text(), &lists, nullptr);
    indCellHandler::Services services;
    services.work = &work;
    services.defaults = &work;
    services.env = &codecs;
    indCellHandler handler(services);
    handler.shownBank = 0;
    cmcFixedCanvas canvas;
    cuiSheetEnv env;
    env.texts = &tables.Text();
    env.work = &work;
    env.current = &work;
    env.canvas = &canvas;

    double best = 1e9;
    size_t cells = 0;
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        auto sheet = iuiSheetFactory::Build(env, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
        cells = 0;
        for (int32_t r = 0; r < sheet->RowCount(); ++r)
            for (int32_t c = 0; c < sheet->ColCount(); ++c) {
                cmcCellObj cell = sheet->Cell(c, r);
                if (!cell.HasCell())
                    continue;
                cmcCellCapsule capsule;
                capsule.cell = &cell;
                capsule.sheet = sheet.get();
                handler.CallCell(capsule, cmcCellHandler::kNotifyDraw);
                ++cells;
            }
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("bank sheet of 128 channels, %zu cells: %.2f ms (%.2f of a 60 Hz frame)\n", cells, best,
                best / kFrameMs);
    return 0;
}

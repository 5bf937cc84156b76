// Building the LMR memory channel sheet of a bank holding all 128 channels and asking the cell
// handler for every cell's display text: what opening the biggest sheet costs. The baseline is one
// frame of a 60 Hz display (16.7 ms).
#include "BankBench.h"
#include "cells/cmcCellCapsule.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/iuiSheetFactory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {
using Clock = std::chrono::steady_clock;
} // namespace

int main() {
    cmcFixedCanvas canvas;
    BankBench bench(&canvas);

    double best = 1e9;
    size_t cells = 0;
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        auto sheet = iuiSheetFactory::Build(bench.env, BankBench::kSheet);
        cells = 0;
        for (int32_t r = 0; r < sheet->RowCount(); ++r)
            for (int32_t c = 0; c < sheet->ColCount(); ++c) {
                cmcCellObj cell = sheet->Cell(c, r);
                if (!cell.HasCell())
                    continue;
                cmcCellCapsule capsule;
                capsule.cell = &cell;
                capsule.sheet = sheet.get();
                bench.handler->CallCell(capsule, cmcCellHandler::kNotifyDraw);
                ++cells;
            }
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("bank sheet of 128 channels, %zu cells: %.2f ms (%.2f of a 60 Hz frame)\n", cells, best,
                best / BankBench::kFrameMs);
    return 0;
}

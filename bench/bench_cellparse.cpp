// Parsing the cell texts of one bank-sheet row (a memory channel: number, receive and transmit
// frequency, tones, name, options), per row and per cell, against copying the same cell texts out of
// the row as a baseline measured in the same run.
#include "cells/cmcCellObj.h"
#include "core/cmcGTex.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Keeps results alive so that the compiler cannot drop the work that produced them.
volatile size_t g_sink = 0;

constexpr int kCells = 12;
constexpr int kRows = 20000;
constexpr int kRounds = 5;

const char* kRow = "{(%CT_Mch.CL_Mch_No[@ch0])^S}|"
                   "{(%CL_Mch_FreqR[@ch0])>S}|"
                   "{(%CL_Mch_FreqT[@ch0])>S}|"
                   "{(%CL_Mch_CTone_R[@ch0])^S}|"
                   "{(%CL_Mch_CTone_T[@ch0])^S}|"
                   "{(%CL_Mch_Text[@ch0])<SW(Font=,,,,,fsBold,)}|"
                   "{(%CL_Mch_Nar[@ch0])^S}|"
                   "{(%CL_Mch_TxInh[@ch0])^S}|"
                   "{(%CL_Mch_RfPo[@ch0])^S}|"
                   "{(%CL_Mch_Scan[@ch0])^S}|"
                   "{(%CL_Mch_Tot[@ch0])^S}|"
                   "{(%CL_Mch_PwrSave[@ch0])^SX(@ch0++)}Ch \\(@ch0+1)|";

void Report(const char* name, double value, double baseline) {
    std::printf("%s: %.1f ns (%.2f)\n", name, value * 1e9, baseline > 0 ? value / baseline : 0.0);
}

} // namespace

int main() {
    cmcGTex tex;
    tex.AttachLines({
        "#CellModel_Basic",
        "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)",
        "#End_Of_Ovl",
    });
    cmcCellObj::Counters counters{};
    cmcCellObj basic;
    basic.ParseCell("{($Basic)}", tex, &counters, nullptr);
    std::array<cmcCellObj, kCells> cells;
    std::array<std::string, kCells> copies;

    double parseRow = 1e9, copyRow = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        // Baseline: cut the row into its cell texts and copy each into a string, as a parser must at
        // least do.
        auto start = Clock::now();
        for (int r = 0; r < kRows; ++r) {
            std::string_view row = kRow;
            for (int c = 0; c < kCells && !row.empty(); ++c) {
                const size_t bar = std::min(row.find('|'), row.size());
                copies[c].assign(row.substr(0, bar));
                row.remove_prefix(std::min(bar + 1, row.size()));
            }
            g_sink = g_sink + copies[kCells - 1].size();
        }
        copyRow = std::min(copyRow, SecondsSince(start) / kRows);

        counters = {};
        start = Clock::now();
        for (int r = 0; r < kRows; ++r) {
            std::string_view row = kRow;
            for (int c = 0; c < kCells && !row.empty(); ++c)
                row = cells[c].ParseCell(row, tex, &counters, &basic);
            g_sink = g_sink + cells[kCells - 1].GetDisplayText().size();
        }
        parseRow = std::min(parseRow, SecondsSince(start) / kRows);
    }
    if (cells[1].cell != 176 || cells[kCells - 1].GetDisplayText().empty()) {
        std::fprintf(stderr, "bench_cellparse: the row did not parse as expected\n");
        return 1;
    }

    Report("copy_row (baseline)", copyRow, copyRow);
    Report("parse_row", parseRow, copyRow);
    Report("parse_cell", parseRow / kCells, copyRow / kCells);
    return 0;
}

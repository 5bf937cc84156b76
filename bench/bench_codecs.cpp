// The display text of value cells, as painting a sheet asks for it once per visible cell and frame:
// a choice cell (list lookup through the choice list cache), a frequency cell and a tone cell, in
// nanoseconds per call, against formatting an integer with snprintf as a baseline measured in the
// same run.
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "cells/cmcFrequencyCodec.h"
#include "cells/cmcToneCodec.h"
#include "core/cmcGTex.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

volatile size_t g_sink = 0;

constexpr int kCalls = 200000;
constexpr int kRounds = 5;

void Report(const char* name, double value, double baseline) {
    std::printf("%s: %.1f ns (%.2f)\n", name, value * 1e9, baseline > 0 ? value / baseline : 0.0);
}

// A tone list as shipped: off, the code entry and 50 tones in five columns; and a short choice list.
std::vector<std::string> Overlay() {
    std::vector<std::string> lines = {
        "#GI_Sheet_Sel_Mch_Power_Cells", "|{(%Flex0[0]:High)}|{(%Flex0[1]:Low 2)}|{(%Flex0[2]:Low 1)}|", "#",
        "#GI_Sheet_Sel_Mch_CTone_Cells", "|{(%Flex0[52]:OFF)}|{(%FlexDtcs[53]:DTCS)}|"};
    for (int r = 0; r < 10; ++r) {
        std::string row = "|";
        for (int c = 0; c < 5; ++c) {
            int tone = c * 10 + r;
            row += "{(%Flex0[" + std::to_string(tone) + "]:" + std::to_string(67 + tone * 4) + "\\.0)}|";
        }
        lines.push_back(row);
    }
    lines.push_back("#");
    lines.push_back("#End_Of_Ovl");
    return lines;
}

} // namespace

int main() {
    cmcGTex texts;
    texts.AttachLines(Overlay());
    cmcFCache lists(texts);
    cmcCodecEnv env(&texts, &lists, nullptr);

    double baseline = 1e9, choice = 1e9, frequency = 1e9, tone = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        // Baseline: one integer formatted into a text, as the simplest numeric cell does.
        auto start = Clock::now();
        for (int i = 0; i < kCalls; ++i) {
            char buffer[16];
            int n = std::snprintf(buffer, sizeof buffer, "%d", i & 1023);
            cmcCodecIo io;
            io.Show(std::string_view(buffer, static_cast<size_t>(n)));
            g_sink = g_sink + io.displayText.size();
        }
        baseline = std::min(baseline, SecondsSince(start) / kCalls);

        start = Clock::now();
        for (int i = 0; i < kCalls; ++i) {
            cmcCodecIo io;
            int32_t value = i % 3;
            cmcChoiceCodecs::EditChoice(io, env, value, "GI_Sheet_Sel_Mch_Power");
            g_sink = g_sink + io.displayText.size();
        }
        choice = std::min(choice, SecondsSince(start) / kCalls);

        start = Clock::now();
        for (int i = 0; i < kCalls; ++i) {
            cmcCodecIo io;
            cmcFrequencyCodec::Pair pair{146520000 + (i & 255) * 12500, 151520000, true};
            cmcFrequencyCodec::EditFrequency(io, pair, (i & 1) != 0, 0);
            g_sink = g_sink + io.displayText.size();
        }
        frequency = std::min(frequency, SecondsSince(start) / kCalls);

        start = Clock::now();
        for (int i = 0; i < kCalls; ++i) {
            cmcCodecIo io;
            cmcToneCodec::Tone rx{cmcToneCodec::kOn, static_cast<uint16_t>(i % 50), 0};
            cmcToneCodec::Tone tx{};
            cmcToneCodec::EditTone(io, env, rx, tx, false);
            g_sink = g_sink + io.displayText.size();
        }
        tone = std::min(tone, SecondsSince(start) / kCalls);
    }
    if (lists.BuiltCount() != 2) {
        std::fprintf(stderr, "bench_codecs: each list must be built once (built %d)\n", lists.BuiltCount());
        return 1;
    }
    Report("snprintf_int (baseline)", baseline, baseline);
    Report("choice_cell_text", choice, baseline);
    Report("frequency_cell_text", frequency, baseline);
    Report("tone_cell_text", tone, baseline);
    return 0;
}

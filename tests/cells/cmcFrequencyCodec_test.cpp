#include "cells/cmcFrequencyCodec.h"

#include "cells/CodecTestSupport.h"

#include <gtest/gtest.h>

namespace {

using F = cmcFrequencyCodec;
constexpr int32_t kEdit = cmcCodecIo::kResultEdit;

} // namespace

TEST(cmcFrequencyCodec, SnapsToTheRasterWithinTheTypedPrecision) {
    struct Row {
        int64_t typed;
        int32_t snapped; // -1: rejected
    };
    const Row rows[] = {
        {146520000, 146520000}, // 146.52: 2.5 kHz raster
        {146522500, 146522500}, // 146.5225
        {146006250, 146006250}, // 146.00625: 3.125 kHz raster
        {146521870, 146521875}, // 146.52187: the raster frequency just above, within 10 Hz
        {146523000, -1},        // 146.523: nothing within 1 kHz
        {146523400, -1},        // 146.5234
        {145999900, -1},        // the next raster frequency lies beyond the typed precision
        {799999999, -1},        {0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        std::optional<int32_t> s = F::SnapFrequency(r.typed);
        EXPECT_EQ(s.value_or(-1), r.snapped);
    }
}

TEST(cmcFrequencyCodec, EditFrequency) {
    struct Row {
        const char* what;
        F::Pair before;
        bool transmit;
        int32_t offset;
        Act act;
        F::Pair after;
        bool changed;
        const char* shown;
        int32_t align;
        int32_t result = 0;
        int32_t selStart = 0;
        int32_t selLength = -1; // -1: the whole text
    };
    const F::Pair empty{0, 0, false};
    const F::Pair simplex{146520000, 146520000, true};
    const F::Pair split{146520000, 151520000, true};
    const Row rows[] = {
        {"a new channel", empty, false, 0, Typed("146.52"), simplex, true, "146.520000", 2},
        {"its transmit cell", simplex, true, 0, Draw(), simplex, false, "<-", 1},
        {"too high: limited, then no raster frequency", simplex, false, 0, Typed("900"), simplex, false,
         "146.520000", 2},
        {"not on the raster", simplex, false, 0, Typed("146.523"), simplex, false, "146.520000", 2},
        {"nothing typed", simplex, false, 0, Typed("MHz"), simplex, false, "146.520000", 2},
        {"cut to 9 characters, snapped",
         simplex,
         false,
         0,
         Typed("146.521875"),
         {146521875, 146521875, true},
         true,
         "146.521875",
         2},
        {"a new repeater gets the shift", empty, false, 5000000, Typed("146.52"), split, true, "146.520000",
         2},
        {"from 470 MHz on the shift is 2 MHz less",
         empty,
         false,
         5000000,
         Typed("470.5"),
         {470500000, 473500000, true},
         true,
         "470.500000",
         2},
        {"transmit follows while equal",
         simplex,
         false,
         5000000,
         Typed("147"),
         {147000000, 147000000, true},
         true,
         "147.000000",
         2},
        {"a split pair keeps its transmit",
         split,
         false,
         0,
         Typed("147"),
         {147000000, 151520000, true},
         true,
         "147.000000",
         2},
        {"transmit typed",
         simplex,
         true,
         0,
         Typed("150"),
         {146520000, 150000000, true},
         true,
         "150.000000",
         2},
        {"an empty channel shows nothing", empty, true, 0, Draw(), empty, false, "", 2},
        {"space opens the editor", split, true, 0, Key(' '), split, false, "151.520000", 2, kEdit},
        {"carriage return on <- edits the frequency", simplex, true, 0, Key(13), simplex, false, "146.520000",
         1, kEdit},
        {"carriage return on an empty channel", empty, false, 0, Key(13), empty, false, "", 2, kEdit},
        {"point: caret after the decimal point", split, false, 0, Key('.'), split, false, "146.520000", 2,
         kEdit, 4, 0},
        {"= takes the receive frequency", split, true, 0, Key('='), split, false, "146.520000", 2, kEdit},
        {"a digit", split, false, 0, Key('4'), split, false, "4", 2, kEdit, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = MakeIo(r.act);
        F::Pair pair = r.before;
        EXPECT_EQ(F::EditFrequency(io, pair, r.transmit, r.offset), r.changed);
        EXPECT_EQ(pair.rx, r.after.rx);
        EXPECT_EQ(pair.tx, r.after.tx);
        EXPECT_EQ(pair.set, r.after.set);
        EXPECT_EQ(io.displayText, r.shown);
        EXPECT_EQ(io.align, r.align);
        EXPECT_EQ(io.result, r.result);
        EXPECT_EQ(io.selStart, r.selStart);
        EXPECT_EQ(io.selLength, r.selLength < 0 ? static_cast<int32_t>(io.displayText.size()) : r.selLength);
    }
}

// A refused frequency says why, with the band of the cell or the raster steps; a taken one leaves no
// reason behind.
TEST(cmcFrequencyCodec, RefusalNamesTheBandOrTheRaster) {
    CodecFixture f({{"GI_AppMess_Refuse_Number", {"not a number"}},
                    {"GI_AppMess_Refuse_Band", {"band %1-%2 MHz"}},
                    {"GI_AppMess_Refuse_Raster", {"%1 or %2 kHz steps"}}});
    const F::Band whole;
    const F::Band vhf{136000000, 174000000};
    const F::Band narrow{136000000, 146521000};
    struct Row {
        const char* typed;
        const F::Band& band;
        const char* refusal; // "" when taken
    };
    const Row rows[] = {
        {"900", whole, "band 0.002500-799.997500 MHz"},
        {"0", whole, "band 0.002500-799.997500 MHz"},
        {"146.523", whole, "2.5 or 3.125 kHz steps"},
        {"MHz", whole, "not a number"},
        {"", whole, "not a number"},
        {"146.52", whole, ""},
        {"180", vhf, "band 136.000000-174.000000 MHz"},
        {"135.9975", vhf, "band 136.000000-174.000000 MHz"},
        {"174", vhf, ""},
        {"136", vhf, ""},
        // 146.521 snaps up to 146.521875, past the top of the band.
        {"146.521", narrow, "band 136.000000-146.521000 MHz"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        cmcCodecIo io = MakeIo(Typed(r.typed));
        io.env = &f.env;
        F::Pair pair{146520000, 146520000, true};
        const bool taken = F::EditFrequency(io, pair, false, 0, r.band);
        EXPECT_EQ(io.refusal, r.refusal);
        EXPECT_EQ(taken, *r.refusal == 0);
        if (!taken) {
            EXPECT_EQ(pair.rx, 146520000);
        }
    }
}

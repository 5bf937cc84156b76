#include "cells/cmcNumberCodecs.h"

#include "cells/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using N = cmcNumberCodecs;
constexpr int32_t kSpace = ' ', kBack = 8, kCr = 13;
constexpr int32_t kEdit = cmcCodecIo::kResultEdit;

// One call of a codec: the value before, what the user does, and everything the codec answers. An
// empty editor text means "the shown text"; selStart -1 means "whole text selected".
struct Row {
    const char* what;
    int32_t before;
    Act act;
    int32_t after;
    bool changed;
    const char* shown;
    int32_t result = 0;
    int32_t selStart = -1;
};

void RunTable(std::initializer_list<Row> rows, const std::function<bool(cmcCodecIo&, int32_t&)>& codec) {
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = MakeIo(r.act);
        int32_t value = r.before;
        EXPECT_EQ(codec(io, value), r.changed);
        EXPECT_EQ(value, r.after);
        EXPECT_EQ(io.displayText, r.shown);
        EXPECT_EQ(io.result, r.result);
        if (r.selStart < 0) {
            EXPECT_EQ(io.selStart, 0);
            EXPECT_EQ(io.selLength, static_cast<int32_t>(io.displayText.size()));
        } else {
            EXPECT_EQ(io.selStart, r.selStart);
            EXPECT_EQ(io.selLength, 0);
        }
    }
}

CodecFixture Texts() {
    return CodecFixture({{"GI_AppInd_TimerOff", {"OFF"}}});
}

} // namespace

TEST(cmcNumberCodecs, EditNumber) {
    RunTable(
        {
            {"zero filled to the width", 7, Draw(), 7, false, "0007"},
            {"typed, rounded half away", 0, Typed("40.6"), 41, true, "0041"},
            {"typed above the maximum", 3, Typed("5000"), 3, false, "0003"},
            {"typed below the minimum", 3, Typed("-1"), 3, false, "0003"},
            {"nothing numeric typed", 3, Typed("abc"), 3, false, "0003"},
            {"only the first 9 characters", 3, Typed("0000000001234"), 0, true, "0000"},
            {"space wraps at the top", 4095, Key(kSpace), 0, true, "0000"},
            {"backspace wraps at the bottom", 0, Key(kBack), 4095, true, "4095"},
            {"carriage return opens the editor", 7, Key(kCr), 7, false, "0007", kEdit},
            {"activation acts as carriage return", 7, Key(256), 7, false, "0007", kEdit},
            {"a digit opens the editor with it", 7, Key('5'), 7, false, "5", kEdit, 1},
            {"minus without negative values", 7, Key('-'), 7, false, "0007"},
            {"keys need a grid", 7, Act{kSpace, nullptr, false}, 7, false, "0007"},
        },
        [](cmcCodecIo& io, int32_t& v) { return N::EditNumber(io, v, 4, 0, 4095, false); });
    RunTable(
        {
            {"sign before the fill", -3, Draw(), -3, false, "-003"},
            {"minus opens the editor", 2, Key('-'), 2, false, "-", kEdit, 1},
            {"typed negative", 2, Typed("-4.5"), -5, true, "-005"},
        },
        [](cmcCodecIo& io, int32_t& v) { return N::EditNumber(io, v, 4, -5, 5, false); });
    RunTable({{"no fill", 7, Draw(), 7, false, "7"}},
             [](cmcCodecIo& io, int32_t& v) { return N::EditNumber(io, v, 4, 0, 4095, true); });
}

TEST(cmcNumberCodecs, EditStepped) {
    N::Stepped wrap{1, 15};
    N::Stepped saturate{1, 15, 0, 1, nullptr, false, true};
    N::Stepped fives{0, 100, 0, 5};
    N::Stepped offset{0, 255, 1};
    N::Stepped clamp{1, 15, 0, 1, nullptr, true};
    N::Stepped fixed{0, 3, 0, 1, "Auto"};
    auto with = [](N::Stepped p) {
        return [p](cmcCodecIo& io, int32_t& v) { return N::EditStepped(io, v, p); };
    };
    RunTable(
        {
            {"space wraps to the minimum", 15, Key(kSpace), 1, true, "1"},
            {"backspace wraps to the maximum", 1, Key(kBack), 15, true, "15"},
            {"typed, limited", 3, Typed("99"), 15, true, "15"},
            {"a lone point reads 0, limited", 3, Typed("."), 1, true, "1"},
            {"nothing usable typed", 3, Typed("x"), 3, false, "3"},
            {"a digit opens the editor", 3, Key('7'), 3, false, "7", kEdit, 1},
        },
        with(wrap));
    RunTable(
        {
            {"space saturates", 15, Key(kSpace), 15, true, "15"},
            {"backspace saturates", 1, Key(kBack), 1, true, "1"},
        },
        with(saturate));
    RunTable(
        {
            {"12 rounds down to 10", 0, Typed("12"), 10, true, "10"},
            {"13 rounds up to 15", 0, Typed("13"), 15, true, "15"},
            {"a half step rounds away from zero", 0, Typed("12.5"), 15, true, "15"},
            {"space truncates 17 to 15", 12, Key(kSpace), 15, true, "15"},
            {"backspace truncates 7 to 5", 12, Key(kBack), 5, true, "5"},
        },
        with(fives));
    RunTable(
        {
            {"shown with the offset", 9, Draw(), 9, false, "10"},
            {"typed without it", 0, Typed("10"), 9, true, "10"},
        },
        with(offset));
    RunTable(
        {
            {"pulled inside while drawn", 20, Draw(), 15, true, "15"},
            {"inside stays", 5, Draw(), 5, false, "5"},
        },
        with(clamp));
    RunTable({{"fixed text", 2, Draw(), 2, false, "Auto"}}, with(fixed));

    cmcCodecIo io = MakeIo(Key(kSpace));
    uint8_t byte = 255;
    EXPECT_TRUE(N::EditStepped(io, byte, N::Stepped{0, 255}));
    EXPECT_EQ(byte, 0);
}

TEST(cmcNumberCodecs, EditFixedPoint) {
    auto with = [](N::FixedPoint p) {
        return [p](cmcCodecIo& io, int32_t& v) { return N::EditFixedPoint(io, v, p); };
    };
    RunTable(
        {
            {"seconds with milliseconds", 0, Typed("2.5"), 2500, true, "  2.500"},
            {"limited to the maximum", 0, Typed("75"), 60000, true, " 60.000"},
            {"limited to the minimum", 5, Typed("-1"), 0, true, "  0.000"},
            {"nothing typed", 5, Typed("s"), 5, false, "  0.005"},
            {"space opens the editor trimmed", 2500, Key(kSpace), 2500, false, "2.500", kEdit},
            {"the point opens the editor after it", 2500, Key('.'), 2500, false, ".", kEdit, 1},
        },
        with(N::FixedPoint{3, 3, 0, 60}));
    RunTable({{"minimum in stored units", 0, Typed("0"), 1, true, "  0.01"}},
             with(N::FixedPoint{2, 2, 0.01, 2.55}));
    RunTable(
        {
            {"more decimals shown than stored", 5, Draw(), 5, false, "  0.050"},
            {"truncated to the step", 0, Typed("0.051"), 4, true, "  0.040"},
        },
        with(N::FixedPoint{2, 3, 0.02, 0.3, 2}));
    RunTable(
        {
            {"fewer decimals shown than stored", 1225000, Draw(), 1225000, false, "  1.2250"},
            {"typed offsets truncate to 25 kHz", 0, Typed("1.23"), 1225000, true, "  1.2250"},
            {"negative offsets keep their sign", 0, Typed("-0.5"), -500000, true, " -0.5000"},
            {"limit", 0, Typed("-300"), -99975000, true, "-99.9750"},
        },
        with(N::FixedPoint{6, 4, -99.975, 99.975, 25000}));
    RunTable(
        {
            {"stepping saturates at the top", 60000, Key(kSpace), 60000, true, " 60.000"},
            {"stepping saturates at the bottom", 0, Key(kBack), 0, true, "  0.000"},
            {"stepping", 100, Key(kSpace), 101, true, "  0.101"},
            {"carriage return still edits", 100, Key(kCr), 100, false, "0.100", kEdit},
        },
        with(N::FixedPoint{3, 3, 0, 60, 1, true}));
    RunTable({{"cleared editor", 100, Key(kCr), 100, false, "", kEdit, 0}},
             with(N::FixedPoint{3, 3, 0, 60, 1, false, true}));
}

TEST(cmcNumberCodecs, EditTimer) {
    CodecFixture f = Texts();
    auto with = [&](N::Timer p) {
        return [&f, p](cmcCodecIo& io, int32_t& v) { return N::EditTimer(io, f.env, v, p); };
    };
    RunTable(
        {
            {"zero is off", 0, Draw(), 0, false, "OFF"},
            {"typed off", 25, Typed("off"), 0, true, "OFF"},
            {"a lone O is not off", 25, Typed("o"), 25, false, "  2.500"},
            {"seconds to tenths", 0, Typed("2.5"), 25, true, "  2.500"},
            {"tenths truncate", 0, Typed("2.56"), 25, true, "  2.500"},
            {"limited", 0, Typed("30"), 255, true, " 25.500"},
            {"space wraps to the minimum", 255, Key(kSpace), 0, true, "OFF"},
            {"backspace wraps to the maximum", 0, Key(kBack), 255, true, " 25.500"},
            {"the editor gets the number, not the off text", 0, Key(kCr), 0, false, "0.000", kEdit},
            {"O opens the editor", 25, Key('O'), 25, false, "O", kEdit, 1},
        },
        with(N::Timer{10, 0, 255, true}));
    RunTable(
        {
            {"trailing zeros dropped, point too", 20, Draw(), 20, false, "  2"},
            {"only zeros are dropped", 25, Draw(), 25, false, "  2.5"},
            {"off not allowed: zero is a number", 0, Draw(), 0, false, "  0"},
        },
        with(N::Timer{10, 0, 255, false, 3}));
    RunTable(
        {
            {"milliseconds", 1234, Draw(), 1234, false, "  1.234"},
            {"off refused without off", 1234, Typed("OFF"), 1234, false, "  1.234"},
        },
        with(N::Timer{1000, 1, 5000}));
    cmcCodecIo io = MakeIo(Typed("99"));
    uint8_t byte = 0;
    EXPECT_TRUE(N::EditTimer(io, f.env, byte, N::Timer{1, 0, 1000}));
    EXPECT_EQ(byte, 99);
}

TEST(cmcNumberCodecs, EditMinSec) {
    CodecFixture f = Texts();
    auto with = [&](N::MinSec p) {
        return [&f, p](cmcCodecIo& io, int32_t& v) { return N::EditMinSec(io, f.env, v, p); };
    };
    RunTable(
        {
            {"a remainder below half rounds down", 0, Typed("1:02"), 12, true, " 1:00"},
            {"a remainder of half or more rounds up", 0, Typed("1:03"), 13, true, " 1:05"},
            {"seconds only", 0, Typed(":30"), 6, true, " 0:30"},
            {"minutes only", 0, Typed("5"), 60, true, " 5:00"},
            {"longer than mmm:ss", 5, Typed("1234:567"), 5, false, " 0:25"},
            {"limited", 0, Typed("99:00"), 720, true, "60:00"},
            {"zero is off", 0, Draw(), 0, false, "OFF"},
            {"space wraps", 720, Key(kSpace), 0, true, "OFF"},
            {"colon opens the editor", 6, Key(':'), 6, false, ":", kEdit, 1},
        },
        with(N::MinSec{0, 3600, 5, true}));
}

TEST(cmcNumberCodecs, EditAdjust) {
    auto with = [](N::Adjust p, bool shift) {
        return [p, shift](cmcCodecIo& io, int32_t& v) {
            io.shift = shift;
            return N::EditAdjust(io, v, p);
        };
    };
    RunTable(
        {
            {"right adds the step", 10, Key(0x2700), 11, true, "11"},
            {"left saturates", 0, Key(0x2500), 0, true, "0"},
            {"typed, limited", 0, Typed("300"), 255, true, "255"},
        },
        with(N::Adjust{0, 255}, false));
    RunTable(
        {
            {"shift takes the large step, truncated", 12, Key(0x2700), 15, true, "15"},
            {"saturates at the top", 254, Key(0x2700), 255, true, "255"},
        },
        with(N::Adjust{0, 255}, true));
    RunTable({{"coarse step with offset", 100, Key(0x2500), 90, true, "80"}},
             with(N::Adjust{0, 255, -10, 10, 50}, false));
    EXPECT_EQ(N::AdjustBar(128, 0, 255), "[##########----------]");
    EXPECT_EQ(N::AdjustBar(255, 0, 255), "[####################]");
    EXPECT_EQ(N::AdjustBar(5, 5, 5), "[--------------------]");
}

// A refused entry names its reason with the cell's limits; a taken one, even when limited into the
// range, leaves none.
TEST(cmcNumberCodecs, RefusalsNameTheirLimits) {
    CodecFixture f({{"GI_AppInd_TimerOff", {"OFF"}},
                    {"GI_AppMess_Refuse_Number", {"number"}},
                    {"GI_AppMess_Refuse_Range", {"range %1..%2"}},
                    {"GI_AppMess_Refuse_Length", {"length %1"}}});
    using Codec = std::function<bool(cmcCodecIo&, int32_t&)>;
    const Codec number = [](cmcCodecIo& io, int32_t& v) { return N::EditNumber(io, v, 4, 0, 4095, false); };
    const Codec stepped = [](cmcCodecIo& io, int32_t& v) { return N::EditStepped(io, v, N::Stepped{1, 15}); };
    const Codec timer = [&f](cmcCodecIo& io, int32_t& v) {
        return N::EditTimer(io, f.env, v, N::Timer{10, 5, 100, false});
    };
    const Codec minSec = [&f](cmcCodecIo& io, int32_t& v) {
        return N::EditMinSec(io, f.env, v, N::MinSec{0, 600, 5, false});
    };
    struct Row {
        const char* what;
        const Codec& codec;
        const char* typed;
        const char* refusal;
    };
    const Row rows[] = {
        {"number above the maximum", number, "5000", "range 0..4095"},
        {"number below the minimum", number, "-1", "range 0..4095"},
        {"no digit", number, "abc", "number"},
        {"number within", number, "40", ""},
        {"stepped without a digit", stepped, "x", "number"},
        {"stepped above: limited, taken", stepped, "99", ""},
        {"timer without off, off typed", timer, "off", "range 0.5..10"},
        {"timer with nothing numeric", timer, "s", "number"},
        {"minutes and seconds too long", minSec, "1234:56", "length 6"},
        {"minutes and seconds empty", minSec, "--", "number"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = MakeIo(Typed(r.typed));
        io.env = &f.env;
        int32_t value = 7;
        const bool changed = r.codec(io, value);
        EXPECT_EQ(io.refusal, r.refusal);
        EXPECT_EQ(changed, *r.refusal == 0);
    }
}

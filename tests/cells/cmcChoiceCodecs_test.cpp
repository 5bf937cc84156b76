#include "cells/cmcChoiceCodecs.h"

#include "cells/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using C = cmcChoiceCodecs;
using Opened = std::vector<std::string>;
constexpr int32_t kRefresh = cmcCodecIo::kResultRefresh, kEdit = cmcCodecIo::kResultEdit;

CodecFixture Lists() {
    return CodecFixture({
        {"GI_Sheet_Sel_Test_Cells", {"|{(%Flex0[0]:Off)}|{(%Flex0[1]:On)}|"}},
        {"GI_Sheet_Sel_Num_Cells",
         {"|{(%Flex0[0]:OFF)}|{(%Flex0[1]:  5)}|{(%Flex0[2]: 10)}|{(%Flex0[3]: 20)}|"}},
        {"GI_AddCH", {"CH"}},
        {"GI_StatusList_Disable", {"Disable"}},
        {"GI_StatusList_LastStatus", {"Last"}},
    });
}

struct Row {
    const char* what;
    int32_t before;
    cmcCodecIo io;
    int32_t after;
    bool changed;
    const char* shown;
    int32_t result = 0;
    Opened opened = {};
};

template <class Codec> void RunTable(CodecFixture& f, std::initializer_list<Row> rows, Codec codec) {
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        f.windows.opened.clear();
        cmcCodecIo io = r.io;
        int32_t v = r.before;
        EXPECT_EQ(codec(io, v), r.changed);
        EXPECT_EQ(v, r.after);
        EXPECT_EQ(io.displayText, r.shown);
        EXPECT_EQ(io.result, r.result);
        EXPECT_EQ(f.windows.opened, r.opened);
    }
}

cmcCodecIo Linked(int32_t cell) {
    cmcCodecIo io = MakeIo(Draw());
    io.linked = true;
    io.chosenCell = cell;
    return io;
}

} // namespace

TEST(cmcChoiceCodecs, EditChoice) {
    CodecFixture f = Lists();
    RunTable(f,
             {
                 {"the list text", 1, MakeIo(Draw()), 1, false, "On"},
                 {"a value not in the list", 5, MakeIo(Draw()), 5, false, "error"},
                 {"steps from it to the first entry", 5, MakeIo(Key(' ')), 0, true, "Off"},
                 {"space wraps", 1, MakeIo(Key(' ')), 0, true, "Off"},
                 {"backspace wraps", 0, MakeIo(Key(8)), 1, true, "On"},
                 {"carriage return opens the list",
                  1,
                  MakeIo(Key(13)),
                  1,
                  false,
                  "On",
                  kRefresh,
                  {"list GI_Sheet_Sel_Test 1 1"}},
                 {"activation too",
                  0,
                  MakeIo(Key(256)),
                  0,
                  false,
                  "Off",
                  kRefresh,
                  {"list GI_Sheet_Sel_Test 1 0"}},
                 {"an answer from the list", 0, Chosen(1, 1), 1, true, ""},
                 {"an answer from another list", 0, Chosen(4, 1), 0, false, ""},
             },
             [&](cmcCodecIo& io, int32_t& v) { return C::EditChoice(io, f.env, v, "GI_Sheet_Sel_Test"); });
    RunTable(
        f,
        {
            {"the marked value",
             1,
             MakeIo(Key(13)),
             1,
             false,
             "On",
             kRefresh,
             {"list GI_Sheet_Sel_Test 1 7"}},
        },
        [&](cmcCodecIo& io, int32_t& v) { return C::EditChoice(io, f.env, v, "GI_Sheet_Sel_Test", 1, 7); });
    RunTable(f,
             {
                 {"inside a window: the opener's link is no answer", 1, Linked(176), 1, false, "On"},
                 {"inside a window: an answer still is", 0, Chosen(1, 1), 1, true, ""},
             },
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditChoice(io, f.env, v, "GI_Sheet_Sel_Test", 1, std::nullopt, true);
             });
}

TEST(cmcChoiceCodecs, EditChoiceModel) {
    CodecFixture f = Lists();
    auto skipTen = [](int32_t v) { return v == 2; }; // the entry " 10" is excluded by the record's rules
    RunTable(f,
             {
                 {"stepping passes over excluded entries", 1, MakeIo(Key(' ')), 3, true, " 20"},
                 {"backwards too", 3, MakeIo(Key(8)), 1, true, "  5"},
                 {"the model's list window",
                  1,
                  MakeIo(Key(13)),
                  1,
                  false,
                  "  5",
                  kRefresh,
                  {"model GI_Sheet_Sel_Num 1 1 I"}},
                 {"an answer", 1, Chosen(1, 3), 3, true, ""},
             },
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditChoiceModel(io, f.env, v, "GI_Sheet_Sel_Num", 1, "I", skipTen);
             });
    RunTable(f, {{"everything excluded: back at the start", 1, MakeIo(Key(' ')), 1, false, "  5"}},
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditChoiceModel(io, f.env, v, "GI_Sheet_Sel_Num", 1, "I",
                                           [](int32_t) { return true; });
             });
}

TEST(cmcChoiceCodecs, EditChoiceTyped) {
    CodecFixture f = Lists();
    RunTable(
        f,
        {
            {"the nearest entry", 0, MakeIo(Typed("12")), 2, true, " 10"},
            {"equal distances keep the earlier entry", 0, MakeIo(Typed("15")), 2, true, " 10"},
            {"far above", 0, MakeIo(Typed("100")), 3, true, " 20"},
            {"off", 3, MakeIo(Typed(" off")), 0, true, "OFF"},
            {"O and anything else", 3, MakeIo(Typed("ok")), 3, false, " 20"},
            {"a digit opens the editor", 3, MakeIo(Key('5')), 3, false, "5", kEdit},
            {"so does O", 3, MakeIo(Key('o')), 3, false, "o", kEdit},
            {"space steps", 3, MakeIo(Key(' ')), 0, true, "OFF"},
        },
        [&](cmcCodecIo& io, int32_t& v) { return C::EditChoiceTyped(io, f.env, v, "GI_Sheet_Sel_Num"); });
}

TEST(cmcChoiceCodecs, ChannelsAndZones) {
    CodecFixture f = Lists();
    auto bankOneMarked = [](int32_t ch) { return ch / 16 == 1; };
    RunTable(f,
             {
                 {"bank and position", 18, MakeIo(Draw()), 18, false, "2-3CH"},
                 {"none", 128, MakeIo(Draw()), 128, false, "Null"},
                 {"space wraps", 127, MakeIo(Key(' ')), 0, true, "1-1CH"},
                 {"backspace wraps", 0, MakeIo(Key(8)), 127, true, "8-16CH"},
                 {"carriage return opens the banks",
                  18,
                  MakeIo(Key(13)),
                  18,
                  false,
                  "2-3CH",
                  kRefresh,
                  {"list GI_Sheet_Sel_ScanZoneSel 8 1"}},
                 {"a bank answer opens its channels",
                  18,
                  Chosen(8, 1),
                  18,
                  false,
                  "",
                  kRefresh,
                  {"list GI_Sheet_Sel_ScanCHSel 14 2"}},
                 {"the channel answer", 18, Chosen(14, 5), 21, true, ""},
                 {"a channel answer without a bank", 18, Chosen(14, 5), 18, false, ""},
                 {"a bank above 7 means none", 18, Chosen(8, 9), 128, true, ""},
             },
             [&](cmcCodecIo& io, int32_t& v) { return C::EditChannelRef(io, f.env, v, {}); });
    // Banks as the radio holds them: bank 1 with 5 channels, bank 2 with 3, the rest empty.
    C::ChannelLists uneven;
    uneven.banks.first = {0, 5, 8, 8, 8, 8, 8, 8};
    uneven.banks.size = {5, 3, 0, 0, 0, 0, 0, 0};
    RunTable(f,
             {
                 {"the first channel of bank 2", 5, MakeIo(Draw()), 5, false, "2-1CH"},
                 {"the last channel of bank 1", 4, MakeIo(Draw()), 4, false, "1-5CH"},
                 {"a channel no bank holds", 20, MakeIo(Draw()), 20, false, "CH 21"},
                 {"carriage return opens its bank",
                  6,
                  MakeIo(Key(13)),
                  6,
                  false,
                  "2-2CH",
                  kRefresh,
                  {"list GI_Sheet_Sel_ScanZoneSel 8 1"}},
                 {"the bank answer opens at its position",
                  6,
                  Chosen(8, 1),
                  6,
                  false,
                  "",
                  kRefresh,
                  {"list GI_Sheet_Sel_ScanCHSel 14 1"}},
                 {"the channel is the bank's first plus the position", 6, Chosen(14, 2), 7, true, ""},
                 {"another bank answer",
                  7,
                  Chosen(8, 1),
                  7,
                  false,
                  "",
                  kRefresh,
                  {"list GI_Sheet_Sel_ScanCHSel 14 2"}},
                 {"a position past the bank's end changes nothing", 7, Chosen(14, 3), 7, false, ""},
             },
             [&](cmcCodecIo& io, int32_t& v) { return C::EditChannelRef(io, f.env, v, uneven); });
    RunTable(f, {{"marked banks are passed over", 15, MakeIo(Key(' ')), 32, true, "3-1CH"}},
             [&](cmcCodecIo& io, int32_t& v) { return C::EditChannelRef(io, f.env, v, {}, bankOneMarked); });
    RunTable(f,
             {
                 {"a zone", 3, MakeIo(Draw()), 3, false, "Zone 4"},
                 {"none", 8, MakeIo(Draw()), 8, false, "Null"},
                 {"space wraps and skips", 7, MakeIo(Key(' ')), 1, true, "Zone 2"},
                 {"answer", 7, Chosen(8, 2), 2, true, ""},
             },
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditZone(io, f.env, v, {}, [](int32_t z) { return z == 0; });
             });
    RunTable(f, {{"every zone empty: one turn, then stay", 3, MakeIo(Key(' ')), 3, true, "Zone 4"}},
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditZone(io, f.env, v, {}, [](int32_t) { return true; });
             });
}

TEST(cmcChoiceCodecs, EditBits) {
    CodecFixture f = Lists();
    RunTable(f,
             {
                 {"labels of set positions", 0x81, MakeIo(Draw()), 0x81, false, "1______8\n"},
                 {"a label key toggles its position", 0x81, MakeIo(Key('8')), 0x80, true, "1_______\n"},
                 {"the first position is the highest bit", 0x00, MakeIo(Key('1')), 0x80, true, "1_______\n"},
                 {"space sets all when none is set", 0x00, MakeIo(Key(' ')), 0xFF, true, "12345678\n"},
                 {"space clears all otherwise", 0x01, MakeIo(Key(' ')), 0x00, true, "________\n"},
                 {"backspace inverts", 0x0F, MakeIo(Key(8)), 0xF0, true, "1234____\n"},
                 {"a key without a label", 0x0F, MakeIo(Key('9')), 0x0F, false, "____5678\n"},
                 {"carriage return opens the editor window",
                  0x81,
                  MakeIo(Key(13)),
                  0x81,
                  false,
                  "1______8\n",
                  kRefresh,
                  {"bits 129 1..8 style 3 Ports"}},
                 {"its answer", 0x81, Chosen(1, 0, "5"), 5, true, "_____6_8\n"},
             },
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditBits(io, f.env, v, 1, 8, C::BitLabels::Numeric, "Ports");
             });
    RunTable(f,
             {
                 {"the tenth shows 0", 0x3FF, MakeIo(Draw()), 0x3FF, false, "1234567890\n"},
                 {"0 toggles it", 0x3FF, MakeIo(Key('0')), 0x3FE, true, "123456789_\n"},
             },
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditBits(io, f.env, v, 1, 10, C::BitLabels::Numeric, "");
             });
    RunTable(f,
             {
                 {"letters, and Z for the seventeenth", 0x1FF, MakeIo(Draw()), 0x1FF, false, "9ABCDEFGZ\n"},
                 {"z toggles it", 0x1FF, MakeIo(Key('z')), 0x1FE, true, "9ABCDEFG_\n"},
                 {"the alphanumeric window style",
                  0,
                  MakeIo(Key(13)),
                  0,
                  false,
                  "_________\n",
                  kRefresh,
                  {"bits 0 9..17 style 4 "}},
             },
             [&](cmcCodecIo& io, int32_t& v) {
                 return C::EditBits(io, f.env, v, 9, 17, C::BitLabels::Alphanumeric, "");
             });
}

TEST(cmcChoiceCodecs, SmallerCodecs) {
    CodecFixture f = Lists();
    auto excludeTwo = [](int32_t n) { return n == 2; };
    RunTable(
        f,
        {
            {"disabled", 0, MakeIo(Draw()), 0, false, "Disable"},
            {"numbers shown one lower", 5, MakeIo(Draw()), 5, false, "4"},
            {"typed", 0, MakeIo(Typed("31")), 32, true, "31"},
            {"typed too high", 0, MakeIo(Typed("32")), 0, false, "Disable"},
            {"typed excluded", 0, MakeIo(Typed("2")), 0, false, "Disable"},
            {"typed off changes nothing", 5, MakeIo(Typed("OFF")), 5, false, "4"},
            {"stepping skips excluded numbers", 2, MakeIo(Key(' ')), 4, true, "3"},
            {"stepping wraps", 32, MakeIo(Key(' ')), 0, true, "Disable"},
        },
        [&](cmcCodecIo& io, int32_t& v) { return C::EditStatusNumber(io, f.env, v, false, excludeTwo); });
    RunTable(f,
             {
                 {"receive lists: the last status", 1, MakeIo(Draw()), 1, false, "Last"},
                 {"receive lists: two lower", 2, MakeIo(Draw()), 2, false, "0"},
                 {"receive lists reach 33", 0, MakeIo(Typed("31")), 33, true, "31"},
             },
             [&](cmcCodecIo& io, int32_t& v) { return C::EditStatusNumber(io, f.env, v, true); });
    RunTable(f,
             {
                 {"off", 0, MakeIo(Draw()), 0, false, "OFF"},
                 {"a code", 5, MakeIo(Draw()), 5, false, "5"},
                 {"typed off", 5, MakeIo(Typed("Off")), 0, true, "OFF"},
                 {"typed beyond 32", 5, MakeIo(Typed("33")), 5, false, "5"},
                 {"the off/on list",
                  5,
                  MakeIo(Key(13)),
                  5,
                  false,
                  "5",
                  kRefresh,
                  {"list GI_Sheet_Sel_RxC_AbcSel 1 1"}},
                 {"its code entry opens the codes",
                  5,
                  Chosen(2, 1),
                  5,
                  false,
                  "",
                  kRefresh,
                  {"list GI_Sheet_Sel_RxC_AbcCode 1 5"}},
                 {"a code chosen", 5, Chosen(1, 12), 12, true, ""},
             },
             [&](cmcCodecIo& io, int32_t& v) { return C::EditCodeWithOff(io, f.env, v); });
    RunTable(
        f,
        {
            {"A B E", 7, MakeIo(Draw()), 7, false, "ABE"},
            {"E hidden by bit 8", 15, MakeIo(Draw()), 15, false, "AB"},
            {"set E clears bit 8", 8, Chosen(4, 3), 4, true, ""},
            {"clear E sets bit 8", 4, Chosen(4, 4), 12, true, ""},
            {"toggle bit 32", 32, Chosen(4, 6), 0, true, ""},
            {"the mark list", 1, MakeIo(Key(13)), 1, false, "A", kRefresh, {"list GI_Sheet_Sel_Marks 4 1"}},
        },
        [&](cmcCodecIo& io, int32_t& v) { return C::EditMarks(io, f.env, v, "GI_Sheet_Sel_Marks"); });

    uint8_t port = 0x04;
    cmcCodecIo step = MakeIo(Key(' '));
    EXPECT_TRUE(C::EditBit(step, f.env, port, 2, "GI_Sheet_Sel_Test"));
    EXPECT_EQ(port, 0x00);
    EXPECT_EQ(step.displayText, "Off");
    RecordingCanvas canvas;
    cmcCodecIo unavailable = MakeIo(Key(' '));
    unavailable.canvas = &canvas;
    EXPECT_FALSE(C::EditBit(unavailable, f.env, port, 2, "GI_Sheet_Sel_Test", false));
    EXPECT_EQ(unavailable.displayText, "----");
    EXPECT_EQ(canvas.fontColor, cmcCodecIo::kGrey);
    EXPECT_EQ(port, 0x00);

    EXPECT_EQ(C::KeyOptionText("P1", true, false), "Key : P1 /L");
    EXPECT_EQ(C::KeyOptionText("P2", false, true), "Key : P2");
    EXPECT_EQ(C::AuxActionText("Horn", 2), "Horn /Momentary");
}

// Typed texts a list cell cannot take say so: a list of texts takes only its entries, a list of
// numbers a number, and the numbered codecs name their range.
TEST(cmcChoiceCodecs, RefusalsOfTypedTexts) {
    CodecFixture f({{"GI_Sheet_Sel_Test_Cells", {"|{(%Flex0[0]:Off)}|{(%Flex0[1]:On)}|"}},
                    {"GI_Sheet_Sel_Num_Cells", {"|{(%Flex0[0]:OFF)}|{(%Flex0[1]:  5)}|"}},
                    {"GI_StatusList_Disable", {"Disable"}},
                    {"GI_AppMess_Refuse_Number", {"number"}},
                    {"GI_AppMess_Refuse_Range", {"range %1..%2"}},
                    {"GI_AppMess_Refuse_List", {"list"}}});
    using Codec = std::function<bool(cmcCodecIo&, int32_t&)>;
    struct Row {
        const char* what;
        Codec codec;
        const char* typed;
        const char* refusal;
    };
    const Row rows[] = {
        {"a list of texts",
         [&](cmcCodecIo& io, int32_t& v) { return C::EditChoice(io, f.env, v, "GI_Sheet_Sel_Test"); }, "On",
         "list"},
        {"a list of numbers: O and not off",
         [&](cmcCodecIo& io, int32_t& v) { return C::EditChoiceTyped(io, f.env, v, "GI_Sheet_Sel_Num"); },
         "ok", "number"},
        {"a list of numbers: a number",
         [&](cmcCodecIo& io, int32_t& v) { return C::EditChoiceTyped(io, f.env, v, "GI_Sheet_Sel_Num"); },
         "4", ""},
        {"a status number too high",
         [&](cmcCodecIo& io, int32_t& v) { return C::EditStatusNumber(io, f.env, v, false); }, "32",
         "range 0..31"},
        {"a status number that is none",
         [&](cmcCodecIo& io, int32_t& v) { return C::EditStatusNumber(io, f.env, v, false); }, "x", "number"},
        {"a code beyond 32", [&](cmcCodecIo& io, int32_t& v) { return C::EditCodeWithOff(io, f.env, v); },
         "33", "range 1..32"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        cmcCodecIo io = MakeIo(Typed(r.typed));
        io.env = &f.env;
        int32_t value = 0;
        EXPECT_EQ(r.codec(io, value), *r.refusal == 0);
        EXPECT_EQ(io.refusal, r.refusal);
    }
}

// The signalling cells (DTMF memories and decode entries, two-tone and five-tone codes, user tones)
// through the model cell handler on the shipped initial data: for each cell its text, one edit and the
// exact bytes it leaves, nothing else in the working image touched, and the values after a save and a
// reopen.
#include "HandlerFixture.h"
#include "cells/cmcChoiceCodecs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace handlerfix;
namespace S = indSignal;

namespace {

constexpr int32_t kSpace = cmcCellCapsule::kKeySpace;

// One edit of a cell: typed text, a key, or the answer of its list window (choice >= 0).
struct Edit {
    const char* typed = nullptr;
    int32_t key = 0;
    int32_t choice = -1;
};

struct Case {
    const char* name;
    int32_t category;
    int32_t cell;
    int32_t param;
    const char* before; // shown on the initial data
    Edit edit;
    const char* after;          // shown after the edit
    int32_t at;                 // the first byte the edit may change
    std::vector<uint8_t> bytes; // what those bytes hold after it
};

std::vector<Case> Cases() {
    const int32_t mem = S::kMemoryAt + S::kMemorySize * 2;
    const int32_t dec = S::kDecodeAt + S::kDecodeSize * 1;
    const int32_t rx = S::kRxAt + S::kRxSize * 3;
    const int32_t tx = S::kTxAt + S::kTxSize * 31;
    const int32_t txo = S::kTxOptionsAt + S::kTxOptionsSize * 4;
    const int32_t ttx = S::kTwoToneTxAt + S::kTwoToneTxSize * 7;
    return {
        {"dtmf memory code",
         CT_DTMF,
         CL_Dtmf_Code,
         2,
         "",
         {"12*#a"},
         "12*#A",
         mem,
         {5, 0x12, 0xEF, 0xA0, 0, 0, 0, 0, 0}},
        {"dtmf memory ID mark", CT_DTMF, CL_Dtmf_CodeID, 2, "OFF", {nullptr, 0, 1}, "ON", mem, {0x40}},
        {"dtmf memory emergency mark",
         CT_DTMF,
         CL_Dtmf_CodeEmer,
         2,
         "OFF",
         {nullptr, kSpace},
         "ON",
         mem,
         {0x80}},
        {"dtmf memory name",
         CT_DTMF,
         CL_Dtmf_Text,
         2,
         "",
         {"HOME"},
         "HOME",
         mem + S::kMemoryName,
         {'H', 'O', 'M', 'E', ' ', ' ', ' ', ' '}},
        {"dtmf decode code", CT_DTMF_Rx, CL_Dtmf_Decode_Code, 1, "", {"0#"}, "0#", dec, {2, 0x0F}},
        {"dtmf decode answer-back code", CT_DTMF_Rx, CL_Dtmf_Decode_Abc, 1, "OFF", {"7"}, "7", dec + 9, {7}},
        {"dtmf decode name",
         CT_DTMF_Rx,
         CL_Dtmf_Decode_Text,
         1,
         "",
         {"GATE"},
         "GATE",
         dec + 10,
         {'G', 'A', 'T', 'E', ' ', ' ', ' ', ' '}},
        {"five-tone receive code",
         CT_RX_Code,
         CL_5TRx_RxCode,
         3,
         "",
         {"12+45*"},
         "12+45*",
         rx + 8,
         {0x12, 0x04, 0x5E, 0xFF, 0x20}},
        {"five-tone receive name",
         CT_RX_Code,
         CL_5TRx_Text,
         3,
         "",
         {"DEPOT"},
         "DEPOT",
         rx,
         {'D', 'E', 'P', 'O', 'T', ' ', ' ', ' '}},
        {"five-tone ID decode",
         CT_RX_Code,
         CL_5TRx_IdDec,
         3,
         "OFF",
         {nullptr, kSpace},
         "ON",
         rx + 13,
         {0x80}},
        {"five-tone bell",
         CT_RX_Code,
         CL_5TRx_Bell,
         3,
         "OFF",
         {nullptr, 0, 3},
         "Blinking bell",
         rx + 13,
         {0x18}},
        {"five-tone scan", CT_RX_Code, CL_5TRx_Scan, 3, "OFF", {nullptr, 0, 2}, "Scan stop", rx + 13, {0x40}},
        {"five-tone output", CT_RX_Code, CL_5TRx_Exo, 3, "OFF", {nullptr, kSpace}, "ON", rx + 13, {0x01}},
        {"five-tone auto TX", CT_RX_Code, CL_5TRx_AutoTx, 3, "OFF", {nullptr, kSpace}, "ON", rx + 13, {0x02}},
        {"five-tone special function",
         CT_RX_Code,
         CL_5TRx_Sfunc,
         3,
         "OFF",
         {nullptr, kSpace},
         "ON",
         rx + 13,
         {0x04}},
        {"five-tone beep", CT_RX_Code, CL_5TRx_Beep, 3, "OFF", {nullptr, 0, 7}, "Ringer 3", rx + 14, {0x07}},
        {"five-tone AUX", CT_RX_Code, CL_5TRx_Aux, 3, "OFF", {nullptr, 0, 3}, "AUX 3", rx + 14, {0x18}},
        {"five-tone stun", CT_RX_Code, CL_5TRx_Stun, 3, "OFF", {nullptr, 0, 2}, "Kill", rx + 14, {0x40}},
        {"five-tone emergency cancel",
         CT_RX_Code,
         CL_5TRx_EmerCancel,
         3,
         "OFF",
         {nullptr, kSpace},
         "ON",
         rx + 14,
         {0x80}},
        {"five-tone audio", CT_RX_Code, CL_5TRx_Aud, 3, "Open", {nullptr, 0, 2}, "Tone", rx + 15, {0x02}},
        {"five-tone compared digits limited to eight",
         CT_RX_Code,
         CL_5TRx_CompareDigit,
         3,
         "0",
         {"9"},
         "8",
         rx + 15,
         {0x80}},
        {"five-tone answer-back code", CT_RX_Code, CL_5TRx_Abc, 3, "OFF", {"32"}, "32", rx + 16, {32}},
        {"five-tone beep repeat",
         CT_RX_Code,
         CL_5TRx_BeepRepeatTimer,
         3,
         "OFF",
         {"12"},
         " 12.000",
         rx + 17,
         {12}},
        {"two-tone first tone",
         CT_2Tone_Code,
         CL_2T_RxFreq_1st,
         3,
         "  0.0",
         {"1500.5"},
         "1500.5",
         rx + 18,
         {0x3A, 0x9D}},
        {"two-tone second tone limited",
         CT_2Tone_Code,
         CL_2T_RxFreq_2nd,
         3,
         "  0.0",
         {"5000"},
         "3000.0",
         rx + 20,
         {0x75, 0x30}},
        {"two-tone first period",
         CT_2Tone_Code,
         CL_2T_1st_Period,
         3,
         "  0.000",
         {"1.2"},
         "  1.200",
         rx + 22,
         {12}},
        {"two-tone second period",
         CT_2Tone_Code,
         CL_2T_2nd_Period,
         3,
         "  0.000",
         {"3"},
         "  3.000",
         rx + 23,
         {30}},
        {"two-tone code type",
         CT_2Tone_Code,
         CL_2T_Code_Type,
         3,
         "Two tones",
         {nullptr, kSpace},
         "Long tone",
         rx + 24,
         {0x01}},
        {"two-tone group call",
         CT_2Tone_Code,
         CL_2T_GroupCall,
         3,
         "OFF",
         {nullptr, 0, 2},
         "All call",
         rx + 24,
         {0x08}},
        {"two-tone answer back",
         CT_2Tone_Code,
         CL_2T_ANS,
         3,
         "OFF",
         {nullptr, kSpace},
         "ON",
         rx + 24,
         {0x10}},
        {"two-tone no-tone timer",
         CT_2Tone_Code,
         CL_2T_NotoneTimer,
         3,
         "OFF",
         {"0.5"},
         "  0.500",
         rx + 25,
         {5}},
        {"five-tone transmit code",
         CT_TX_Code,
         CL_5TTx_TxCode,
         31,
         "",
         {"9*"},
         "9*",
         tx,
         {0x9E, 0xFF, 0xFF, 0xFF}},
        {"five-tone input digits",
         CT_TX_Code,
         CL_5TTx_InputDigit,
         4,
         "________\n",
         {nullptr, '3'},
         "__3_____\n",
         txo + 8,
         {0x20}},
        {"five-tone transmit name",
         CT_TX_Code,
         CL_5TTx_Text,
         4,
         "",
         {"UNIT 5"},
         "UNIT 5",
         txo,
         {'U', 'N', 'I', 'T', ' ', '5', ' ', ' '}},
        {"five-tone update", CT_TX_Code, CL_5TTx_Update, 4, "OFF", {nullptr, kSpace}, "ON", txo + 9, {0x01}},
        {"five-tone ABC decode",
         CT_TX_Code,
         CL_5TTx_AbcDec,
         4,
         "OFF",
         {nullptr, kSpace},
         "ON",
         txo + 9,
         {0x02}},
        {"five-tone ABC audio",
         CT_TX_Code,
         CL_5TTx_AbcAud,
         4,
         "OFF",
         {nullptr, kSpace},
         "ON",
         txo + 9,
         {0x04}},
        {"five-tone selectable", CT_TX_Code, CL_5TTx_Sel, 4, "OFF", {nullptr, kSpace}, "ON", txo + 9, {0x08}},
        {"selected transmit code", CT_Null, CL_Select_TX_Code, 0, "1", {"5"}, "5", S::kSelectedTxCode, {4}},
        {"shown digits",
         CT_Null,
         CL_5TTx_DispDigit,
         0,
         "________\n",
         {nullptr, '1'},
         "1_______\n",
         S::kShownDigits,
         {0x80}},
        {"digit shown for key 7",
         CT_Null,
         CL_5TTx_DispDigit7,
         0,
         "0",
         {"b"},
         "B",
         S::kDigitShown + 3,
         {0xB0}},
        {"digit shown for key 0",
         CT_Null,
         CL_5TTx_DispDigit0,
         0,
         "0",
         {"4"},
         "4",
         S::kDigitShown + 4,
         {0x04}},
        {"group tone", CT_Null, CL_5TTx_SpTone_Group, 0, "0", {"A"}, "A", S::kSpecialTones, {0xAE}},
        {"repeat tone", CT_Null, CL_5TTx_SpTone_Repeat, 0, "E", {"C"}, "C", S::kSpecialTones, {0x0C}},
        {"link 2 tone", CT_Null, CL_5TTx_SpTone_Link2, 0, "0", {"D"}, "D", S::kSpecialLink2, {0xD0}},
        {"two-tone transmit name",
         CT_2ToneTX_Common,
         CL_2T_TxText,
         7,
         "",
         {"BASE"},
         "BASE",
         ttx,
         {'B', 'A', 'S', 'E', ' ', ' ', ' ', ' '}},
        {"two-tone transmit first tone",
         CT_2ToneTX_Common,
         CL_2TTx_Freq_1st,
         7,
         "  0.0",
         {"697"},
         "697.0",
         ttx + 8,
         {0x1B, 0x3A}},
        {"two-tone transmit second tone stepped from the floor",
         CT_2ToneTX_Common,
         CL_2TTx_Freq_2nd,
         7,
         "  0.0",
         {nullptr, kSpace},
         "250.0",
         ttx + 10,
         {0x09, 0xC4}},
        {"user tone",
         CT_UserTone,
         CL_UTone_Encode,
         63,
         "  0.0",
         {"88.5"},
         " 88.5",
         S::kUserToneAt + 2 * 63,
         {0x03, 0x75}},
        {"user tone auto",
         CT_Null,
         CL_UTone_Auto,
         0,
         "OFF",
         {nullptr, kSpace},
         "ON",
         S::kUserToneAuto,
         {0x01}},
        {"user tone decode low limit",
         CT_Null,
         CL_UTone_Dec_Low,
         0,
         "  0.0",
         {"20"},
         " 25.0",
         S::kUserToneLow,
         {0x00, 0xFA}},
        {"user tone decode high limit",
         CT_Null,
         CL_UTone_Dec_High,
         0,
         "  0.0",
         {"254.1"},
         "254.1",
         S::kUserToneHigh,
         {0x09, 0xED}},
        {"user tone period",
         CT_Null,
         CL_UTone_TonePeriod,
         0,
         "  0.000",
         {"0.3"},
         "  0.300",
         S::kUserTonePeriod,
         {3}},
        {"user tone no-tone timer",
         CT_Null,
         CL_UTone_NotoneTimer,
         0,
         "OFF",
         {"2"},
         "  2.000",
         S::kUserToneNoTone,
         {20}},
        {"user tone length",
         CT_Null,
         CL_UTone_Length,
         0,
         "  0.000",
         {"1"},
         "  1.000",
         S::kUserToneLength,
         {10}},
    };
}

class SignalCells : public HandlerTest {
protected:
    void SetUp() override {
        HandlerTest::SetUp();
        // The model's own tables travel with the data once it holds them; data that lacks them gets
        // them here as a file saved with them would.
        std::vector<int> missing;
        for (int id : {indTable::kModelWorkArea, indTable::kModelExtras})
            if (!indWorkImage::HoldsTableAt(work.Data(), L::SlotOf(id)->offset))
                missing.push_back(id);
        if (!missing.empty())
            HoldIds(missing);
    }

    Outcome Apply(const Case& c) {
        if (c.edit.choice >= 0)
            return Answer(c.category, c.cell, c.param, cmcChoiceCodecs::kFlex0, c.edit.choice);
        return Call(c.category, c.cell, c.param, c.edit.key, c.edit.typed);
    }
    std::string Text(const Case& c) { return Call(c.category, c.cell, c.param).text; }
};

TEST_F(SignalCells, EachCellShowsEditsAndStoresOnlyItsOwnBytes) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Text(c), c.before);
        const cmcEeprom before = work;
        Apply(c);
        EXPECT_EQ(Text(c), c.after);
        for (size_t i = 0; i < c.bytes.size(); ++i) {
            EXPECT_EQ(work.Data()[c.at + int32_t(i)], c.bytes[i]) << "byte " << i;
        }
        // Nothing outside the field changed (the packed memory below the slots aside).
        for (int32_t i = L::kChA; i < L::kWorkSize; ++i) {
            if (i >= c.at && i < c.at + int32_t(c.bytes.size()))
                continue;
            if (work.Data()[i] != before.Data()[i]) {
                ADD_FAILURE() << "byte 0x" << std::hex << i << " changed";
                break;
            }
        }
        work = before;
    }
}

// All edits at once (the repeat tone C then shows in the codes), saved and reopened.
TEST_F(SignalCells, EditsSurviveSaveAndReopen) {
    for (const Case& c : Cases())
        Apply(c);
    std::vector<std::string> shown;
    for (const Case& c : Cases())
        shown.push_back(Text(c));
    work = Reopened();
    Build(0);
    const std::vector<Case> cases = Cases();
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(Text(cases[i]), shown[i]);
    }
}

TEST_F(SignalCells, DrawingNeverWrites) {
    const cmcEeprom before = work;
    for (const Case& c : Cases())
        Text(c);
    EXPECT_EQ(std::memcmp(work.Data(), before.Data(), size_t(L::kWorkSize)), 0);
}

// The two-tone and five-tone views of a receive code share its name and decode actions, and keep their
// own code fields apart.
TEST_F(SignalCells, ReceiveCodeViewsShareNameAndActionsOnly) {
    Call(CT_2Tone_Code, CL_2T_Text, 5, 0, "FIRE");
    Answer(CT_2Tone_Code, CL_2T_Bell, 5, cmcChoiceCodecs::kFlex0, 1);
    Answer(CT_2Tone_Code, CL_2T_Beep, 5, cmcChoiceCodecs::kFlex0, 5);
    Call(CT_2Tone_Code, CL_2T_RxFreq_1st, 5, 0, "1000");
    EXPECT_EQ(Call(CT_RX_Code, CL_5TRx_Text, 5).text, "FIRE");
    EXPECT_EQ(Call(CT_RX_Code, CL_5TRx_Bell, 5).text, "Bell icon");
    EXPECT_EQ(Call(CT_RX_Code, CL_5TRx_Beep, 5).text, "Ringer 1");
    EXPECT_EQ(Call(CT_RX_Code, CL_5TRx_RxCode, 5).text, "");
    Call(CT_RX_Code, CL_5TRx_RxCode, 5, 0, "123");
    EXPECT_EQ(Call(CT_2Tone_Code, CL_2T_RxFreq_1st, 5).text, "1000.0");
}

// A stored repeat tone shows as "*" in the codes and "*" stores it; a repeat tone that is no letter
// tone counts as E, so that a plain digit is never shown as a repeat.
TEST_F(SignalCells, RepeatToneOfTheFiveToneCodes) {
    Call(CT_RX_Code, CL_5TRx_RxCode, 0, 0, "1E0");
    EXPECT_EQ(Call(CT_RX_Code, CL_5TRx_RxCode, 0).text, "1*0");
    Call(CT_Null, CL_5TTx_SpTone_Repeat, 0, 0, "B");
    EXPECT_EQ(Call(CT_RX_Code, CL_5TRx_RxCode, 0).text, "1E0");
    Call(CT_TX_Code, CL_5TTx_TxCode, 0, 0, "5*");
    EXPECT_EQ(work.Data()[S::kTxAt], 0x5B);
    EXPECT_EQ(Call(CT_TX_Code, CL_5TTx_TxCode, 0).text, "5*");
}

TEST_F(SignalCells, RefusedEntriesLeaveTheBytes) {
    struct Refusal {
        const char* name;
        int32_t category, cell, param;
        const char* typed;
        const char* shown;
    };
    const Refusal refusals[] = {
        {"answer-back code above 32", CT_RX_Code, CL_5TRx_Abc, 0, "33", "OFF"},
        {"special tone F", CT_Null, CL_5TTx_SpTone_Group, 0, "F", "0"},
        {"tone code without digits", CT_TX_Code, CL_5TTx_TxCode, 0, "xyz", ""},
        {"frequency without digits", CT_UserTone, CL_UTone_Encode, 0, "abc", "  0.0"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        const cmcEeprom before = work;
        Call(r.category, r.cell, r.param, 0, r.typed);
        EXPECT_EQ(std::memcmp(work.Data(), before.Data(), size_t(L::kWorkSize)), 0);
        EXPECT_EQ(Call(r.category, r.cell, r.param).text, r.shown);
    }
}

// User tones outside the decode limits warn (the user tone check of the tree collects it); without
// both limits, or for an unused tone, nothing warns.
TEST_F(SignalCells, UserToneOutsideTheDecodeLimitsWarns) {
    auto warns = [&](int32_t n) {
        return (Call(CT_UserTone, CL_UTone_Encode, n).marks & cmcCellCapsule::kStateWarning) != 0;
    };
    Call(CT_UserTone, CL_UTone_Encode, 0, 0, "50");
    Call(CT_UserTone, CL_UTone_Encode, 1, 0, "150");
    EXPECT_FALSE(warns(0));
    Call(CT_Null, CL_UTone_Dec_Low, 0, 0, "100");
    EXPECT_FALSE(warns(0)); // no high limit yet
    Call(CT_Null, CL_UTone_Dec_High, 0, 0, "200");
    EXPECT_TRUE(warns(0));
    EXPECT_FALSE(warns(1));
    EXPECT_FALSE(warns(2)); // unused
    EXPECT_TRUE((Call(CT_Null, CL_Check_User_Tone_Encode, 0).marks & cmcCellCapsule::kStateWarning) != 0);
    Call(CT_UserTone, CL_UTone_Encode, 0, 0, "120");
    EXPECT_FALSE((Call(CT_Null, CL_Check_User_Tone_Encode, 0).marks & cmcCellCapsule::kStateWarning) != 0);
}

TEST_F(SignalCells, CaptionsAndSelectedCodeName) {
    EXPECT_EQ(Call(CT_DTMF, CL_Dtmf_ChNo, 0).text, "1 Autodial");
    Call(CT_DTMF, CL_Dtmf_CodeID, 0, kSpace);
    EXPECT_EQ(Call(CT_DTMF, CL_Dtmf_ChNo, 0).text, "1 Log/ID");
    Call(CT_DTMF, CL_Dtmf_CodeEmer, 0, kSpace);
    EXPECT_EQ(Call(CT_DTMF, CL_Dtmf_ChNo, 0).text, "1 Emergency");
    EXPECT_EQ(Call(CT_DTMF_Rx, CL_Dtmf_Decode_ChNo, 7).text, "8");
    // Out of the list: an empty cell.
    EXPECT_EQ(Call(CT_DTMF, CL_Dtmf_Code, S::kMemories).text, "");

    Call(CT_TX_Code, CL_5TTx_Text, 9, 0, "YARD");
    Call(CT_Null, CL_Select_TX_Code, 0, 0, "10");
    EXPECT_EQ(Call(CT_Null, CL_Select_TX_Text, 0).text, "YARD");
    // The name cell edits the selected code's name.
    Call(CT_Null, CL_Select_TX_Text, 0, 0, "GATE");
    EXPECT_EQ(Call(CT_TX_Code, CL_5TTx_Text, 9).text, "GATE");
}

} // namespace

// The key assignment, external port, display and further common, emergency and expert cells that live in
// the model's own area: on the shipped initial data each shows its value, one edit changes exactly its
// own bytes, the edit survives packing and expansion, and the refusals the codecs and the password rule
// make leave the data as it was.
#include "HandlerFixture.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecIo.h"
#include "model/datCh.h"
#include "model/indKeyCells.h"
#include "model/indListEdit.h"
#include "model/indSettingTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace handlerfix;

namespace {

namespace A = indKeysArea;
constexpr int32_t kExtras = L::SlotAddress(indTable::kModelExtras);
constexpr int32_t kFlex0 = cmcChoiceCodecs::kFlex0;

// What the user does on the cell.
struct Edit {
    enum class Kind { Key, Typed, Answer } kind = Kind::Key;
    int32_t key = 0;
    const char* text = nullptr;
    int32_t chosenCell = 0;
    int32_t chosenParam = 0;
};
Edit Press(int32_t key) {
    return Edit{Edit::Kind::Key, key, nullptr, 0, 0};
}
Edit Type(const char* text) {
    return Edit{Edit::Kind::Typed, 0, text, 0, 0};
}
Edit Choose(int32_t cell, int32_t param) {
    return Edit{Edit::Kind::Answer, 0, nullptr, cell, param};
}

struct Case {
    int32_t cell;
    const char* shown; // on the initial data
    Edit edit;
    int32_t byte;                 // first byte of the field within the model's own area
    uint8_t mask;                 // the bits of the field (in every byte compared)
    std::vector<uint8_t> written; // the field's bytes after the edit, masked
    const char* after;            // shown after the edit
};

class KeyCells : public HandlerTest {
protected:
    uint8_t* W() { return work.Data(); }

    void Do(int32_t cell, const Edit& e) {
        switch (e.kind) {
        case Edit::Kind::Key:
            Call(CT_Null, cell, 0, e.key);
            break;
        case Edit::Kind::Typed:
            Call(CT_Null, cell, 0, 0, e.text);
            break;
        case Edit::Kind::Answer:
            Answer(CT_Null, cell, 0, e.chosenCell, e.chosenParam);
            break;
        }
    }
    std::string Shown(int32_t cell) { return Call(CT_Null, cell, 0).text; }

    // Runs the edit and checks the field's bytes and that no other byte of the working image moved.
    void Check(const Case& c) {
        SCOPED_TRACE("cell " + std::to_string(c.cell));
        EXPECT_EQ(Shown(c.cell), c.shown);
        const cmcEeprom before = work;
        Do(c.cell, c.edit);
        const int32_t at = kExtras + c.byte;
        for (size_t i = 0; i < c.written.size(); ++i) {
            EXPECT_EQ(W()[at + int32_t(i)] & c.mask, c.written[i]) << "byte " << i;
        }
        for (int32_t i = 0; i < L::kWorkSize; ++i) {
            const bool field = i >= at && i < at + int32_t(c.written.size());
            const uint8_t keep = field ? uint8_t(~c.mask) : 0xFF;
            if ((W()[i] & keep) != (before.Data()[i] & keep)) {
                ADD_FAILURE() << "byte " << i << " changed";
                break;
            }
        }
        EXPECT_EQ(Shown(c.cell), c.after);
    }

    // The data without the model's own area, as data saved before the model kept it.
    void DropExtras() {
        uint8_t* w = W();
        const int n = L::Get16(w, L::kDir32At + 4);
        for (int i = 0; i < n; ++i) {
            uint8_t* e = w + L::kDir32Copy + 12 * i;
            if (L::Get16(e, 0) != indTable::kModelExtras)
                continue;
            std::memcpy(e, w + L::kDir32Copy + 12 * (n - 1), 12);
            L::Put16(w, L::kDir32At + 4, uint32_t(n - 1));
            return;
        }
        FAIL() << "the initial data lacks the model's own area";
    }
};

const char* const kConvTexts[A::kKeys] = {"Right up", "Right down", "Left up",  "Left down", "Dial cw",
                                          "Dial ccw", "P0",         "P1",       "P2",        "P3",
                                          "P4",       "Option 0",   "Option 1", "Option 2",  "Ext emr"};

// Every free key takes a function from the key list into its byte, the high/low option kept; the dial
// keys are fixed to the channel selector: olive, and no key, entry or answer changes them.
TEST_F(KeyCells, EveryKeyShowsAndTakesItsFunction) {
    const int32_t first[2] = {CL_KDisp_Key_Conv_RightUp, CL_KDisp_Key_Shift_RightUp};
    const int32_t bytes[2] = {A::kConvKeys, A::kShiftKeys};
    for (int layer = 0; layer < 2; ++layer)
        for (int i = 0; i < A::kKeys; ++i) {
            const int32_t cell = first[layer] + i;
            SCOPED_TRACE(std::string(layer ? "shifted " : "") + kConvTexts[i]);
            const bool option = i == 14;
            const bool fixed = layer == 0 && (i == 4 || i == 5);
            if (fixed) {
                const std::string text = i == 4 ? "Key : Channel up" : "Key : Channel down";
                const cmcEeprom before = work;
                EXPECT_EQ(Call(CT_Null, cell, 0).color, cmcCodecIo::kOlive);
                for (int32_t key : {int32_t(' '), int32_t(8), int32_t('a'), int32_t('1')})
                    Call(CT_Null, cell, 0, key);
                Call(CT_Null, cell, 0, 0, "Scan");
                Answer(CT_Null, cell, 0, kFlex0, 2);
                EXPECT_TRUE(work == before);
                EXPECT_EQ(Shown(cell), text);
                continue;
            }
            Check(Case{cell,
                       option ? "Key : Null /L" : "Key : Null",
                       Choose(kFlex0, 13),
                       bytes[layer] + i,
                       0xFF,
                       {13},
                       option ? "Key : Emergency /L" : "Key : Emergency"});
        }
}

TEST_F(KeyCells, KeysStepTypeAndSetTheirOption) {
    const Case cases[] = {
        // Space steps down the list's first column (Null, Bank up, ...), backspace wraps to its end.
        {CL_KDisp_Key_Conv_RightDn, "Key : Null", Press(' '), A::kConvKeys + 1, 0xFF, {5}, "Key : Bank up"},
        {CL_KDisp_Key_Conv_LeftUp,
         "Key : Null",
         Type("channel down"),
         A::kConvKeys + 2,
         0xFF,
         {4},
         "Key : Channel down"},
        // The external emergency input: its active level, typed, as a key or from the option list.
        {CL_KDisp_Key_Conv_ExtEmr,
         "Key : Null /L",
         Type("H"),
         A::kConvKeys + 14,
         0xFF,
         {0x80},
         "Key : Null /H"},
        {CL_KDisp_Key_Shift_ExtEmr,
         "Key : Null /L",
         Choose(cmcChoiceCodecs::kFlexKeyOpt, 1),
         A::kShiftKeys + 14,
         0xFF,
         {0x80},
         "Key : Null /H"},
    };
    for (const Case& c : cases)
        Check(c);
    Check(Case{CL_KDisp_Key_Conv_ExtEmr,
               "Key : Null /H",
               Press('l'),
               A::kConvKeys + 14,
               0xFF,
               {0x00},
               "Key : Null /L"});
    // A new function keeps the option.
    Check(Case{CL_KDisp_Key_Shift_ExtEmr,
               "Key : Null /H",
               Choose(kFlex0, 1),
               A::kShiftKeys + 14,
               0xFF,
               {0x81},
               "Key : Monitor /H"});
    // "/" opens the option list; keys without an option take no "H".
    Call(CT_Null, CL_KDisp_Key_Conv_ExtEmr, 0, '/');
    ASSERT_FALSE(windows.lists.empty());
    EXPECT_EQ(windows.lists.back(), indKeyCells::kOptionList);
    const cmcEeprom before = work;
    Call(CT_Null, CL_KDisp_Key_Conv_P0, 0, 0, "H");
    Call(CT_Null, CL_KDisp_Key_Conv_P0, 0, 0, "no such function");
    EXPECT_TRUE(work == before);
    EXPECT_EQ(Shown(CL_KDisp_Key_Conv_P0), "Key : Null");
}

// A function number beyond the list shows "error" and steps to the list's first entry.
TEST_F(KeyCells, StoredKeyOutsideTheListShowsError) {
    W()[kExtras + A::kConvKeys + 6] = 0x7E;
    EXPECT_EQ(Shown(CL_KDisp_Key_Conv_P0), "Key : error");
    Call(CT_Null, CL_KDisp_Key_Conv_P0, 0, ' ');
    EXPECT_EQ(W()[kExtras + A::kConvKeys + 6], 0);
}

TEST_F(KeyCells, ChoicesOfTheKeysPortsAndSettingsSheets) {
    const Case cases[] = {
        {CL_KDisp_LED_LP0, "OFF", Choose(kFlex0, 2), A::kLeds, 0xFF, {2}, "Transmit"},
        {CL_KDisp_LED_LP1, "OFF", Press(' '), A::kLeds + 1, 0xFF, {4}, "Call"},
        {CL_KDisp_LED_LP2, "OFF", Choose(kFlex0, 7), A::kLeds + 2, 0xFF, {7}, "Digital"},
        // I/O 5-8 are general ports whatever the port modes say.
        {CL_ExtPort_InOut_5, "None", Choose(kFlex0, 5), A::kPorts + 4, 0xFF, {5}, "Monitor"},
        {CL_ExtPort_InOut_6, "None", Choose(kFlex0, 6), A::kPorts + 5, 0xFF, {6}, "Scan"},
        {CL_ExtPort_InOut_7, "None", Choose(kFlex0, 7), A::kPorts + 6, 0xFF, {7}, "Squelch out"},
        {CL_ExtPort_InOut_8, "None", Press(8), A::kPorts + 7, 0xFF, {11}, "Public address"},
        {CL_ExtPort_PortMode_none, "Unused", Press(' '), A::kKeyFlags, 0x80, {0x80}, "General I/O"},
        {CL_KDisp_Tenkey_Select, "Disabled", Press(' '), A::kKeyFlags, 0x40, {0x40}, "Enabled"},
        {CL_KDisp_DTMFDecoder_Select, "Disabled", Choose(kFlex0, 1), A::kKeyFlags, 0x20, {0x20}, "Enabled"},
        {CL_KDisp_DTMFMic_Customize, "OFF", Press(' '), A::kKeyFlags, 0x10, {0x10}, "ON"},
        {CL_KDisp_RotarySel, "Disabled", Press(' '), A::kKeyFlags, 0x08, {0x08}, "Enabled"},
        {CL_KDisp_ErrChDisplay, "OFF", Press(8), A::kKeyFlags, 0x04, {0x04}, "ON"},
        {CL_KDisp_SmaKey, "Disabled", Press(' '), A::kKeyFlags, 0x02, {0x02}, "Enabled"},
        {CL_Comm_EmerIn, "Disabled", Press(' '), A::kKeyFlags, 0x01, {0x01}, "Enabled"},
        {CL_Emer_Signal_ScanCancel, "OFF", Press(' '), A::kMoreFlags, 0x80, {0x80}, "ON"},
        {CL_Comm_ChGrp_Type, "Zone function", Press(' '), A::kMoreFlags, 0x40, {0x40}, "Channel function"},
        {CL_Exp_RxAf_Filter, "Through", Press(' '), A::kMoreFlags, 0x20, {0x20}, "High-pass filter"},
        {CL_Exp_Select_ExPttFtsw, "Common", Choose(kFlex0, 1), A::kMoreFlags, 0x10, {0x10}, "Separate"},
        {CL_Exp_EpttFtsw_C, "Internal mic", Press(' '), A::kMoreFlags, 0x08, {0x08}, "External mic"},
        {CL_Exp_EpttFtsw_S, "Internal mic", Press(' '), A::kMoreFlags, 0x04, {0x04}, "External mic"},
        {CL_Exp_DimIgsw, "OFF", Press(' '), A::kMoreFlags, 0x02, {0x02}, "ON"},
    };
    for (const Case& c : cases)
        Check(c);
}

// The three cells of port pin n (I/O 1-9, input 1, output 1 follow each other in the cell table).
struct PinCells {
    int32_t function, direction, logic;
};
PinCells Pin(int n) {
    const int32_t function = CL_ExtPort_InOut_1 + 3 * n;
    return {function, function + 1, function + 2};
}

// A port mode set to its dedicated function holds its pins: their function, direction and logic show
// "----" in grey and take no key, text or list answer. Set to general use, the pins take edits again
// and show what they held before; set back, they are held again and keep what was edited.
TEST_F(KeyCells, PortModesHoldAndFreeTheirPins) {
    ASSERT_EQ(Pin(9).function, CL_ExtPort_In_1);
    ASSERT_EQ(Pin(10).logic, CL_ExtPort_Out_1_Logic);
    struct Holder {
        int32_t mode;
        std::vector<int> pins;
    };
    const Holder holders[] = {
        {CL_ExtPort_PortMode_SCI, {0, 1}}, {CL_ExtPort_PortMode_EPTT, {2}}, {CL_ExtPort_PortMode_AFO, {3}},
        {CL_ExtPort_PortMode_none, {8}},   {CL_ExtPort_PortMode_IGSW, {9}}, {CL_ExtPort_PortMode_HORN, {10}},
    };
    for (const Holder& h : holders) {
        SCOPED_TRACE("mode " + std::to_string(h.mode));
        const indSettingRow& mode = *indSettingTable::Find(h.mode);
        ASSERT_EQ(mode.Read(W()), 0) << "the initial data sets each mode to its own function";
        for (int n : h.pins) {
            W()[kExtras + A::kPorts + n] = 5; // Monitor, set while the pin was a general port
            indSettingTable::Find(Pin(n).direction)->Write(W(), 1);
        }
        const cmcEeprom held = work;
        const size_t opened = windows.lists.size();
        for (int n : h.pins)
            for (int32_t cell : {Pin(n).function, Pin(n).direction, Pin(n).logic}) {
                SCOPED_TRACE(cell);
                const auto shown = Call(CT_Null, cell, 0);
                EXPECT_EQ(shown.text, "----");
                EXPECT_EQ(shown.color, cmcCodecIo::kGrey);
                for (int32_t key : {int32_t(' '), int32_t(8), int32_t('\r')})
                    EXPECT_EQ(Call(CT_Null, cell, 0, key).text, "----");
                Call(CT_Null, cell, 0, 0, "Scan");
                Answer(CT_Null, cell, 0, kFlex0, 1);
            }
        EXPECT_TRUE(work == held);
        EXPECT_EQ(windows.lists.size(), opened);

        // General use: the stored values come back and take edits; the pins of other modes stay held.
        Answer(CT_Null, h.mode, 0, kFlex0, 1);
        ASSERT_EQ(mode.Read(W()), 1);
        for (int n : h.pins) {
            EXPECT_EQ(Shown(Pin(n).function), "Monitor");
            EXPECT_EQ(Shown(Pin(n).direction), "Output");
            EXPECT_NE(Call(CT_Null, Pin(n).logic, 0).color, cmcCodecIo::kGrey);
            Answer(CT_Null, Pin(n).function, 0, kFlex0, 6);
            EXPECT_EQ(W()[kExtras + A::kPorts + n], 6);
            Call(CT_Null, Pin(n).direction, 0, ' ');
            EXPECT_EQ(Shown(Pin(n).direction), "Input");
        }
        if (h.mode != CL_ExtPort_PortMode_HORN) {
            EXPECT_EQ(Shown(Pin(10).function), "----");
        }
        EXPECT_EQ(Shown(Pin(4).function), "None"); // I/O 5 belongs to no mode

        Answer(CT_Null, h.mode, 0, kFlex0, 0);
        for (int n : h.pins) {
            EXPECT_EQ(Shown(Pin(n).function), "----");
            EXPECT_EQ(W()[kExtras + A::kPorts + n], 6);
            EXPECT_EQ(indSettingTable::Find(Pin(n).direction)->Read(W()), 0);
        }
    }
}

// Every entry of the key, LED and port lists goes into its field as the entry's own value and comes
// back as the entry's own text; keys also take each entry typed by its text. No two entries of a list
// share a value or a text, so no choice stores what another one means.
TEST_F(KeyCells, EveryEntryOfTheKeyAndPortListsRoundTrips) {
    for (int32_t mode : {CL_ExtPort_PortMode_SCI, CL_ExtPort_PortMode_EPTT, CL_ExtPort_PortMode_AFO,
                         CL_ExtPort_PortMode_none, CL_ExtPort_PortMode_IGSW, CL_ExtPort_PortMode_HORN})
        Answer(CT_Null, mode, 0, kFlex0, 1);
    auto entriesOf = [&](const char* list, int32_t choiceCell) {
        const auto entries = lists.List(list, choiceCell).ByPosition();
        std::set<int32_t> values;
        std::set<std::string> texts;
        for (const cmcChoiceList::Entry& e : entries) {
            EXPECT_TRUE(values.insert(e.value).second) << list << ": value " << e.value << " twice";
            std::string upper;
            for (char c : std::string(e.text))
                upper += char(std::toupper(static_cast<unsigned char>(c)));
            EXPECT_TRUE(texts.insert(upper).second) << list << ": " << e.text << " twice";
        }
        EXPECT_GT(entries.size(), 1u) << list;
        return entries;
    };

    const auto keys = entriesOf(indKeyCells::kKeyList, kFlex0);
    const int32_t layers[2][2] = {{CL_KDisp_Key_Conv_RightUp, A::kConvKeys},
                                  {CL_KDisp_Key_Shift_RightUp, A::kShiftKeys}};
    for (const auto& layer : layers)
        for (int i = 0; i < A::kKeys; ++i) {
            const int32_t cell = layer[0] + i;
            if (layer[0] == CL_KDisp_Key_Conv_RightUp && (i == 4 || i == 5))
                continue; // the dial keys are fixed
            const uint8_t& byte = W()[kExtras + layer[1] + i];
            const std::string option = i == 14 ? " /L" : "";
            for (const cmcChoiceList::Entry& e : keys) {
                SCOPED_TRACE(std::to_string(cell) + " " + std::string(e.text));
                Answer(CT_Null, cell, 0, kFlex0, e.value);
                EXPECT_EQ(byte, e.value);
                EXPECT_EQ(Shown(cell), "Key : " + std::string(e.text) + option);
                Answer(CT_Null, cell, 0, kFlex0, e.value == 0 ? 1 : 0);
                Call(CT_Null, cell, 0, 0, std::string(e.text).c_str());
                EXPECT_EQ(byte, e.value);
            }
        }
    // The high/low option of the external emergency input keeps the function.
    for (const cmcChoiceList::Entry& e : entriesOf(indKeyCells::kOptionList, cmcChoiceCodecs::kFlexKeyOpt)) {
        Answer(CT_Null, CL_KDisp_Key_Conv_ExtEmr, 0, cmcChoiceCodecs::kFlexKeyOpt, e.value);
        EXPECT_EQ(W()[kExtras + A::kConvKeys + 14], (e.value ? 0x80 : 0) | keys.back().value);
        EXPECT_EQ(Shown(CL_KDisp_Key_Conv_ExtEmr),
                  "Key : " + std::string(keys.back().text) + (e.value ? " /H" : " /L"));
    }

    // The channel switch's bank list: each bank, then a channel of it; the entry after the banks is none.
    // Every bank holds 16 channels here, so that each has a 16th.
    for (int g = 0; g < L::kGroups; ++g)
        L::Put16(W(), L::kGroupCounts + 2 * g, 16);
    uint8_t& move = W()[kExtras + A::kMoveChannel];
    for (const cmcChoiceList::Entry& bank :
         entriesOf(indKeyCells::kMoveBankList, cmcChoiceCodecs::kFlexZoneSel)) {
        SCOPED_TRACE(bank.text);
        Answer(CT_Null, CL_ExtPort_ChSW_Table_MoveCH, 0, cmcChoiceCodecs::kFlexZoneSel, bank.value);
        if (bank.value > 7) {
            EXPECT_EQ(move, cmcChoiceCodecs::kNoChannel);
            EXPECT_EQ(Shown(CL_ExtPort_ChSW_Table_MoveCH), "Null");
            continue;
        }
        Answer(CT_Null, CL_ExtPort_ChSW_Table_MoveCH, 0, cmcChoiceCodecs::kFlexCHSel, 15);
        EXPECT_EQ(move, bank.value * 16 + 15);
        EXPECT_EQ(Shown(CL_ExtPort_ChSW_Table_MoveCH), std::to_string(bank.value + 1) + "-16ch");
    }

    struct Field {
        int32_t cell;
        const char* list;
    };
    std::vector<Field> fields = {{CL_KDisp_LED_LP0, "GI_Sheet_Sel_KDisp_LED"},
                                 {CL_KDisp_LED_LP1, "GI_Sheet_Sel_KDisp_LED"},
                                 {CL_KDisp_LED_LP2, "GI_Sheet_Sel_KDisp_LED"}};
    for (int n = 0; n < indKeyCells::kPins; ++n) {
        fields.push_back({Pin(n).function, "GI_Sheet_Sel_ExtPort_Function"});
        fields.push_back({Pin(n).direction, "GI_Sheet_Sel_InOutput_Port_Dir"});
        fields.push_back({Pin(n).logic, "GI_Sheet_Sel_InOutput_Port_Logic"});
    }
    for (const Field& f : fields) {
        const indSettingRow* row = indSettingTable::Find(f.cell);
        ASSERT_NE(row, nullptr) << f.cell;
        ASSERT_STREQ(row->list, f.list);
        for (const cmcChoiceList::Entry& e : entriesOf(f.list, kFlex0)) {
            SCOPED_TRACE(std::to_string(f.cell) + " " + std::string(e.text));
            Answer(CT_Null, f.cell, 0, kFlex0, e.value);
            EXPECT_EQ(row->Read(W()), e.value);
            EXPECT_EQ(Shown(f.cell), e.text);
        }
    }
}

TEST_F(KeyCells, NumbersTimersAndTheChannelOfTheChannelSwitch) {
    const Case cases[] = {
        // The number of channel groups, 1 to 16, kept as the number less one.
        {CL_Comm_ChGrp_Number, "1", Type("16"), A::kChannelGroupCount, 0x0F, {0x0F}, "16"},
        {CL_Comm_Tot_Reset, "OFF", Type("5"), A::kTotReset, 0xFF, {5}, "  5.000"},
        {CL_Exp_UserCtcss, "OFF", Type("88.5"), A::kUserTone, 0xFF, {0x03, 0x75}, " 88.5"},
        {CL_ExtPort_ChSW_Table_MoveCH, "Null", Press(' '), A::kMoveChannel, 0xFF, {0}, "1-1ch"},
    };
    for (const Case& c : cases)
        Check(c);
    // Limits: the codec holds numbers to their range; "OFF" turns the user tone off.
    Check(Case{CL_Comm_ChGrp_Number, "16", Type("40"), A::kChannelGroupCount, 0x0F, {0x0F}, "16"});
    Check(Case{CL_Comm_ChGrp_Number, "16", Type("0"), A::kChannelGroupCount, 0x0F, {0x00}, "1"});
    Check(Case{CL_Exp_UserCtcss, " 88.5", Type("500"), A::kUserTone, 0xFF, {0x0B, 0xB8}, "300.0"});
    Check(Case{CL_Exp_UserCtcss, "300.0", Type("12"), A::kUserTone, 0xFF, {0x01, 0x90}, " 40.0"});
    Check(Case{CL_Exp_UserCtcss, " 40.0", Type("off"), A::kUserTone, 0xFF, {0, 0}, "OFF"});
    // Space from off steps into the range.
    Check(Case{CL_Exp_UserCtcss, "OFF", Press(' '), A::kUserTone, 0xFF, {0x01, 0x90}, " 40.0"});
    // The channel switch's channel: bank list, then the bank's channels; the bank list's last entry is none.
    Call(CT_Null, CL_ExtPort_ChSW_Table_MoveCH, 0, '\r');
    ASSERT_FALSE(windows.lists.empty());
    EXPECT_EQ(windows.lists.back(), indKeyCells::kMoveBankList);
    Check(Case{CL_ExtPort_ChSW_Table_MoveCH,
               "1-1ch",
               Choose(cmcChoiceCodecs::kFlexZoneSel, 8),
               A::kMoveChannel,
               0xFF,
               {cmcChoiceCodecs::kNoChannel},
               "Null"});
}

// A password is never shown, only whether one is set; up to 16 characters, not blanks only, and an
// empty entry removes it.
TEST_F(KeyCells, PasswordsTakeTheDialogsRule) {
    std::vector<uint8_t> secret(16, 0);
    std::memcpy(secret.data(), "1234", 4);
    Check(Case{CL_Comm_UserPassword, "[Input the password]", Type("1234"), A::kUserPassword, 0xFF, secret,
               "********"});
    std::vector<uint8_t> dealer(16, 0);
    std::memcpy(dealer.data(), "0123456789ABCDEF", 16);
    Check(Case{CL_Comm_DealerPasscode, "[Input the password]", Type("0123456789ABCDEF"), A::kDealerPasscode,
               0xFF, dealer, "********"});
    // Refused: too long, blanks only, characters the radio cannot take.
    for (const char* refused : {"0123456789ABCDEFG", "   ", "ab\tc"}) {
        SCOPED_TRACE(refused);
        const cmcEeprom before = work;
        Call(CT_Null, CL_Comm_UserPassword, 0, 0, refused);
        EXPECT_TRUE(work == before);
    }
    Check(Case{CL_Comm_UserPassword, "********", Type(""), A::kUserPassword, 0xFF,
               std::vector<uint8_t>(16, 0), "[Input the password]"});
    // Enter asks the password dialog; a dialog that is cancelled changes nothing.
    const cmcEeprom before = work;
    EXPECT_EQ(Call(CT_Null, CL_Comm_DealerPasscode, 0, '\r').text, "********");
    EXPECT_TRUE(work == before);
}

// The emergency call's dPMR target is an entry of the dPMR ID list: typed as shown (from 1), only an
// entry in use, and it follows the list when entries before it are deleted.
TEST_F(KeyCells, EmergencyDpmrTargetNamesAnIdEntry) {
    datCh::SetEntriesInUse(W(), datCh::kKindDpmrIndId, 3);
    const std::string shown = Shown(CL_Emer_Signal_DpmrTargetId);
    EXPECT_EQ(shown.substr(0, 3), "1: ");
    Check(Case{CL_Emer_Signal_DpmrTargetId,
               shown.c_str(),
               Type("3"),
               A::kEmergencyDpmrTarget,
               0xFF,
               {0, 2},
               "3: 0000000"});
    Check(Case{CL_Emer_Signal_DpmrTargetId,
               "3: 0000000",
               Type("4"),
               A::kEmergencyDpmrTarget,
               0xFF,
               {0, 2},
               "3: 0000000"});
    EXPECT_TRUE(indListEdit(work, &defaults).DeleteEntry(datCh::kKindDpmrIndId, 0, 3));
    EXPECT_EQ(L::Get16(W(), kExtras + A::kEmergencyDpmrTarget), 1);
}

// The grey cells of the expert sheet follow the settings they depend on.
TEST_F(KeyCells, ExpertCellsGreyWhereTheirFeatureIsOff) {
    const uint32_t grey = cmcCodecIo::kGrey;
    EXPECT_EQ(Call(CT_Null, CL_Exp_DimIgsw, 0).color, grey); // ignition disabled on the initial data
    Call(CT_Null, CL_Exp_Ignition, 0, ' ');
    EXPECT_NE(Call(CT_Null, CL_Exp_DimIgsw, 0).color, grey);
    EXPECT_EQ(Call(CT_Null, CL_Exp_EpttFtsw_S, 0).color, grey); // one input for both
    EXPECT_NE(Call(CT_Null, CL_Exp_EpttFtsw_C, 0).color, grey);
    Call(CT_Null, CL_Exp_Select_ExPttFtsw, 0, ' ');
    EXPECT_EQ(Call(CT_Null, CL_Exp_EpttFtsw_C, 0).color, grey);
    EXPECT_NE(Call(CT_Null, CL_Exp_EpttFtsw_S, 0).color, grey);
}

// The edits are saved: packing and expansion give the same bytes and texts.
TEST_F(KeyCells, EditsSurviveSavingAndReopening) {
    Answer(CT_Null, CL_KDisp_Key_Conv_P3, 0, kFlex0, 21);
    Call(CT_Null, CL_KDisp_Key_Shift_ExtEmr, 0, 0, "H");
    Call(CT_Null, CL_Comm_UserPassword, 0, 0, "secret");
    Call(CT_Null, CL_Exp_UserCtcss, 0, 0, "123.4");
    Call(CT_Null, CL_ExtPort_PortMode_HORN, 0, ' '); // output 1 becomes a general port
    Answer(CT_Null, CL_ExtPort_Out_1, 0, kFlex0, 9);
    Call(CT_Null, CL_ExtPort_ChSW_Table_MoveCH, 0, 8);
    Call(CT_Null, CL_Comm_Tot_Reset, 0, 0, "30");
    Call(CT_Null, CL_KDisp_SmaKey, 0, ' ');
    const int32_t cells[] = {
        CL_KDisp_Key_Conv_P3, CL_KDisp_Key_Shift_ExtEmr,    CL_Comm_UserPassword, CL_Exp_UserCtcss,
        CL_ExtPort_Out_1,     CL_ExtPort_ChSW_Table_MoveCH, CL_Comm_Tot_Reset,    CL_KDisp_SmaKey};
    std::vector<std::string> texts;
    for (int32_t cell : cells)
        texts.push_back(Shown(cell));
    const std::vector<uint8_t> area(W() + kExtras + 250, W() + kExtras + A::kEnd);
    const cmcEeprom reread = Reopened();
    EXPECT_TRUE(std::equal(area.begin(), area.end(), reread.Data() + kExtras + 250));
    work = reread;
    for (size_t i = 0; i < std::size(cells); ++i) {
        EXPECT_EQ(Shown(cells[i]), texts[i]) << cells[i];
    }
    EXPECT_EQ(texts[0], "Key : Public address");
    EXPECT_EQ(texts[4], "Call out");
    // Backspace from none goes to the last channel a bank holds.
    int last = L::kGroups - 1;
    while (last > 0 && L::GroupCount(W(), last) == 0)
        --last;
    EXPECT_EQ(texts[5], std::to_string(last + 1) + "-" + std::to_string(L::GroupCount(W(), last)) + "ch");
}

// Data without the model's own area shows these cells grey and takes no edit, since a change would be
// lost on saving; drawing never writes.
TEST_F(KeyCells, WithoutTheAreaShownGreyAndNotEdited) {
    const cmcEeprom drawn = work;
    for (int32_t cell :
         {CL_KDisp_Key_Conv_P0, CL_Comm_UserPassword, CL_Exp_UserCtcss, CL_ExtPort_ChSW_Table_MoveCH})
        Call(CT_Null, cell, 0);
    EXPECT_TRUE(work == drawn);
    DropExtras();
    const cmcEeprom before = work;
    for (int32_t cell : {CL_KDisp_Key_Conv_P0, CL_Comm_UserPassword, CL_Exp_UserCtcss,
                         CL_ExtPort_ChSW_Table_MoveCH, CL_KDisp_LED_LP0}) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(Call(CT_Null, cell, 0).color, cmcCodecIo::kGrey);
        Call(CT_Null, cell, 0, ' ');
        Call(CT_Null, cell, 0, 0, "1");
        Answer(CT_Null, cell, 0, kFlex0, 1);
    }
    EXPECT_TRUE(work == before);
}

} // namespace

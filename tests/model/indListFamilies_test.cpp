// The list families of the model cell handler through real capsules on the shipped initial data:
// repeater and trunking repeater lists (bank groups, entry creation, options), the per-entry lists
// (NAC and colour code pairs, rotary status, short messages), scan list priority and transmit
// channels, and the MDC alias list.
#include "HandlerFixture.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecIo.h"
#include "model/indRptList.h"
#include "sheets/cmcFixedCanvas.h"
#include "sheets/cuiSheet.h"
#include "sheets/cuiSheetEnv.h"
#include "sheets/iuiSheetFactory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace handlerfix;
using R = indRptList;

constexpr int32_t kKeyBs = cmcCellCapsule::kKeyBackspace;

class ListFamilies : public HandlerTest {
protected:
    // The lists are exercised on the initial data, which holds every table of the model; on data that
    // lacks a table its cells are read-only (see the storage tests).
    uint8_t* W() { return work.Data(); }
    int32_t RptSize(int bank) { return R(work, R::kRepeaters).GroupSize(bank); }
};

// The conventional repeater list lives in the model's own repeater table. Data that lacks it (an
// older file) saves no repeater: its entries show what the working image holds, grey, and nothing
// creates or changes one. Data that holds it, as new data does, keeps an edited entry over a save.
TEST_F(ListFamilies, ConventionalRepeatersAreSavedInTheModelRepeaterTable) {
    Lack({indTable::kModelRepeaters});
    handler->shownBank = 2;
    W()[R::kRptSizes + 2] = 1;
    L::Put32(W() + R::kRptEntries, 0, 146520000u);
    Events();
    const cmcEeprom before = work;
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_FreqR, 0).text, "146.520000");
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_FreqR, 0).color, cmcCodecIo::kGrey);
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_No, 1).text, "New");
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_FreqR, 1, '4').result, cmcCellHandler::kResultNone);
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_RfPo, 1, '1').redirect.on, 0);
    Call(CT_Rpt, CL_Rpt_FreqR, 0, 0, "471.0");
    Call(CT_Rpt, CL_Rpt_Nar, 0, ' ');
    Call(CT_Rpt, CL_Rpt_AreaBit, 0, '3');
    Answer(CT_Rpt, CL_Rpt_Atr, 0, CL_Rpt_Atr, 1);
    EXPECT_TRUE(work == before);
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(box.shown.empty());

    Hold({indTable::kModelRepeaters});
    EXPECT_NE(Call(CT_Rpt, CL_Rpt_FreqR, 0).color, cmcCodecIo::kGrey);
    Call(CT_Rpt, CL_Rpt_FreqR, 0, 0, "471.0");
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_FreqR, 0).text, "471.000000");
    work = Reopened();
    handler->shownBank = 2;
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_FreqR, 0).text, "471.000000");
}

TEST_F(ListFamilies, RepeaterSheetShowsItsBankAndTellsTheCellsWhichBankItIs) {
    // Banks 0, 1 and 2 hold 2, 3 and 1 repeaters.
    const uint8_t sizes[] = {2, 3, 1};
    for (int g = 0; g < 3; ++g)
        W()[R::kRptSizes + g] = sizes[g];
    for (int i = 0; i < 6; ++i)
        L::Put32(W() + R::kRptEntries + R::kEntrySize * i, 0, uint32_t(150000000 + 1000000 * i));
    cmcFixedCanvas canvas;
    cuiSheetEnv senv;
    senv.texts = &tables.Text();
    senv.languages = &tables.Languages();
    senv.work = &work;
    senv.current = &work;
    senv.canvas = &canvas;
    senv.events = &events;
    auto sheet = iuiSheetFactory::Build(senv, "GI_Sheet_RptSetWin,R 9,1");
    ASSERT_EQ(sheet->RowCount(), 1 + 3 + 1);
    EXPECT_EQ(sheet->Cell(1, 1).parameter, 2);
    EXPECT_EQ(sheet->Cell(1, 4).parameter, 5);
    // The blank row after bank 1's last repeater is bank 1's, though entry 5 is bank 2's first.
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_FreqR, 2).text, "152.000000");
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_No, 4).text, "3");
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_No, 5).text, "New");
    EXPECT_EQ(Call(CT_Rpt, CL_Rpt_FreqR, 5).text, "");
}

struct OptionStep {
    int32_t category;
    int32_t cell;
    int32_t key;
    const char* text; // shown after the key
    int byte;         // entry byte the cell stores in
    uint8_t mask;     // the bits it owns
    uint8_t stored;   // their value after the key
};

TEST_F(ListFamilies, RepeaterOptionsStoreTheirBits) {
    const OptionStep steps[] = {
        {CT_VORN_Rpt, CL_Rpt_VORN_Atr, ' ', "Control", R::kOptions, 0x80, 0x80},
        {CT_VORN_Rpt, CL_Rpt_VORN_RfPo, ' ', "Middle", R::kOptions, 0x60, 0x20},
        {CT_VORN_Rpt, CL_Rpt_VORN_Phone, ' ', "ON", R::kOptions, 0x04, 0x04},
        {CT_VORN_Rpt, CL_Rpt_VORN_AreaBit, '8', "_______8\n", R::kAreas, 0xFF, 0x01},
    };
    handler->shownBank = 5;
    Call(CT_VORN_Rpt, CL_Rpt_VORN_FreqR, 0, '4');
    Call(CT_VORN_Rpt, CL_Rpt_VORN_FreqR, 0, 0, "440.0");
    EXPECT_EQ(Events(), (std::vector<std::string>{"35:5:0"}));
    EXPECT_EQ(L::Get16(W(), R::kVornSites + 5 * R::kEntrySize), 1); // the trunking bank's group size
    for (const OptionStep& s : steps) {
        SCOPED_TRACE(std::to_string(s.cell) + " " + s.text);
        uint8_t* e = W() + (s.category == CT_Rpt ? R::kRptEntries : R::kVornEntries);
        const cmcEeprom before = work;
        const std::string shown = Call(s.category, s.cell, 0).text;
        EXPECT_TRUE(work == before); // drawing never writes
        Outcome o = Call(s.category, s.cell, 0, s.key);
        EXPECT_NE(o.text, shown);
        EXPECT_EQ(Call(s.category, s.cell, 0).text, s.text);
        EXPECT_EQ(e[s.byte] & s.mask, s.stored);
        EXPECT_EQ(o.scope & 0x09, 0x09);
    }
    // Carriage return opens the cell's list.
    windows.lists.clear();
    Call(CT_VORN_Rpt, CL_Rpt_VORN_Atr, 0, '\r');
    EXPECT_EQ(windows.lists, std::vector<std::string>{"GI_Sheet_Sel_Rpt_Atr_VORN"});
}

TEST_F(ListFamilies, RepeaterListLimitsAndHostileGroupSizes) {
    // A bank holds 30 trunking repeaters: no more, with the overflow message.
    handler->shownBank = 3;
    L::Put16(W(), R::kVornSites + 3 * R::kEntrySize, 30);
    const cmcEeprom full = work;
    Call(CT_VORN_Rpt, CL_Rpt_VORN_FreqR, 30, '1');
    EXPECT_TRUE(work == full);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    // Group sizes past the capacity are read as what is left; no row reaches past the list.
    std::memset(W() + R::kRptSizes, 0xFF, 8);
    std::memset(W() + R::kVornSites, 0xFF, 80);
    for (int bank : {0, 7})
        for (int32_t n : {0, 159, 160, 239, 240, 241, -1}) {
            handler->shownBank = bank;
            Call(CT_Rpt, CL_Rpt_FreqT, n);
            Call(CT_VORN_Rpt, CL_Rpt_VORN_FreqT, n);
            Call(CT_Rpt, CL_Rpt_FreqR, n, '1');
            Call(CT_VORN_Rpt, CL_Rpt_VORN_FreqR, n, '1');
        }
    EXPECT_EQ(R(work, R::kRepeaters).Total(), 160);
    EXPECT_EQ(R(work, R::kTrunkRepeaters).Total(), 240);
    EXPECT_EQ(R(work, R::kRepeaters).GroupSize(7), 0);
}

// One step of a per-entry list cell: the action, then what the cell shows.
struct EntryStep {
    int32_t category;
    int32_t cell;
    int32_t param;
    int32_t key;
    const char* typed;
    const char* text;
};

TEST_F(ListFamilies, PerEntryListCells) {
    const EntryStep steps[] = {
        // NXDN NAC per channel: the transmit NAC follows while equal and shows "<-".
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_RxNac, 3, 0, "12", "12"},
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_TxNac, 3, 0, nullptr, "<-"},
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_RxNac, 3, ' ', nullptr, "13"},
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_TxNac, 3, 0, nullptr, "<-"},
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_TxNac, 3, 0, "99", "63"},  // limited to 63
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_RxNac, 3, 0, "abc", "13"}, // refused
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_RxNac, 3, kKeyBs, nullptr, "12"},
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_TxNac, 3, 0, nullptr, "63"}, // no longer follows
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_Sel, 3, ' ', nullptr, "OFF"},
        {CT_Nxdn_NacCh, CL_Nxdn_NacCh_RxNac, 40, ' ', nullptr, ""}, // past the 40 entries
        // dPMR colour code per channel.
        {CT_Dpmr_CcCh, CL_Dpmr_CcCh_RxCc, 39, kKeyBs, nullptr, "63"},
        {CT_Dpmr_CcCh, CL_Dpmr_CcCh_TxCc, 39, 0, nullptr, "<-"},
        {CT_Dpmr_CcCh, CL_Dpmr_CcCh_TxCc, 39, ' ', nullptr, "0"},
        {CT_Dpmr_CcCh, CL_Dpmr_CcCh_Sel, 39, ' ', nullptr, "OFF"},
        // dPMR rotary positions.
        {CT_Dpmr_RotaryStatus, CL_Dpmr_RotaryStatus_StatusNumber, 15, ' ', nullptr, "1"},
        {CT_Dpmr_RotaryStatus, CL_Dpmr_RotaryStatus_StatusNumber, 15, kKeyBs, nullptr, "OFF"},
        {CT_Dpmr_RotaryStatus, CL_Dpmr_RotaryStatus_StatusNumber, 16, ' ', nullptr, ""},
        // Short messages and their selection bits.
        {CT_Nxdn_SDM, CL_Nxdn_SDM_Message, 9, 0, "ON SITE", "ON SITE"},
        {CT_Nxdn_SDM, CL_Nxdn_SDM_Message, 9, 0, "TOO LONG TEXT", "ON SITE"}, // refused, not cut
        {CT_Nxdn_SDM, CL_Nxdn_SDM_Message, 9, 0, "TOO LONG", "TOO LONG"},
        {CT_Nxdn_SDM, CL_Nxdn_SDM_Sel, 9, ' ', nullptr, "ON"},
        {CT_Dpmr_SDM, CL_Dpmr_SDM_Message, 0, 0, "Meet at the gate%21", "Meet at the gate!"},
        {CT_Dpmr_SDM, CL_Dpmr_SDM_Sel, 0, ' ', nullptr, "ON"},
        {CT_MSK_Msg_ShortTxt, CL_Msk_Msg_ShortTxtTxMsg_1, 7, 0, "HELP", "HELP"},
        {CT_MSK_Msg_ShortTxt, CL_Msk_Msg_ShortTxtTxMsg_Sel, 7, ' ', nullptr, "ON"},
    };
    for (const EntryStep& s : steps) {
        SCOPED_TRACE(std::to_string(s.cell) + " " + s.text);
        Call(s.category, s.cell, s.param, s.key, s.typed);
        EXPECT_EQ(Call(s.category, s.cell, s.param).text, s.text);
    }
    // Where the values went: NAC entry 3 (receive, transmit), the selection bitmaps, the messages'
    // selection bits beside them.
    EXPECT_EQ(L::Get16(W(), 0x18AFF + 12), 12);
    EXPECT_EQ(L::Get16(W(), 0x18AFF + 14), 63);
    EXPECT_EQ(W()[0x125C8] & 0x10, 0x10);
    EXPECT_EQ(W()[0x1FA7B + 78], 63);
    EXPECT_EQ(W()[0x1FA7B + 79], 0);
    EXPECT_EQ(W()[0x12616 + 4] & 0x01, 0x01);
    EXPECT_EQ(W()[0x12624 + 15], 0);
    EXPECT_EQ(W()[0x19B11 + 18] & 0x02, 0x02);
    EXPECT_EQ(W()[0x1FDD3] & 0x02, 0x02);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(W() + 0x1101C + 72), 8), "TOO LONG");
}

TEST_F(ListFamilies, StatusAndMskListCells) {
    const EntryStep steps[] = {
        // MSK ID groups: four-digit 12-bit addresses.
        {CT_MSK_IdGroup, CL_Msk_IdGroup_Adr, 7, 0, "7", "0007"},
        {CT_MSK_IdGroup, CL_Msk_IdGroup_Adr, 7, 0, "5000", "0007"}, // above 4095: refused
        {CT_MSK_IdGroup, CL_Msk_IdGroup_Adr, 6, kKeyBs, nullptr, "4095"},
        {CT_MSK_IdGroup, CL_Msk_IdGroup_Text, 7, 0, "DEPOT", "DEPOT"},
        {CT_MSK_IdGroup, CL_Msk_IdGroup_Alert, 7, ' ', nullptr, "Single beep"},
        {CT_MSK_IdGroup, CL_Msk_IdGroup_Bell, 7, kKeyBs, nullptr, "Bell and beep"},
        {CT_MSK_IdGroup, CL_Msk_IdGroup_SFunc, 7, ' ', nullptr, "ON"},
        {CT_MSK_IdGroup, CL_Msk_IdGroup_Adr, 8, ' ', nullptr, ""}, // past the 8 groups
        // MSK call list: address and its digit count share one 16-bit value.
        {CT_MSK_CallList, CL_Msk_CallList_Adr, 31, 0, "123", "0123"},
        {CT_MSK_CallList, CL_Msk_CallList_Digit, 31, 0, "9", "4"},
        {CT_MSK_CallList, CL_Msk_CallList_Update, 31, ' ', nullptr, "Enable"},
        {CT_MSK_CallList, CL_Msk_CallList_Sel, 31, ' ', nullptr, "Enable"},
        // Status messages: receive and transmit texts in their two tables, options beside the first.
        {CT_MSK_Msg_Status, CL_Msk_Msg_Status_Text_Rx, 23, 0, "AT BASE", "AT BASE"},
        {CT_MSK_Msg_Status, CL_Msk_Msg_Status_Text_Tx, 23, 0, "GO HOME", "GO HOME"},
        {CT_MSK_Msg_Status, CL_Msk_Msg_Status_Rriority, 23, ' ', nullptr, "Priority"},
        {CT_MSK_Msg_Status, CL_Msk_Msg_Status_Horn, 23, ' ', nullptr, "ON"},
        {CT_Nxdn_Status, CL_Nxdn_Msg_Status_Text_Rx, 99, 0, "READY", "READY"},
        {CT_Nxdn_Status, CL_Nxdn_Msg_Status_Beep, 99, kKeyBs, nullptr, "Ringer 3"},
        {CT_Nxdn_Status, CL_Nxdn_Msg_Status_RX, 99, ' ', nullptr, "Disable"},
        {CT_Nxdn_Status, CL_Nxdn_Msg_Status_Text_Rx, 100, 0, "LOST", ""},
        {CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_Rx, 1, 0, "EN ROUTE", "EN ROUTE"},
        {CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_Tx, 1, 0, "ARRIVED", "ARRIVED"},
        {CT_Dpmr_Status, CL_Dpmr_Msg_Status_Function, 1, ' ', nullptr, "Emergency"},
        {CT_Dpmr_Status, CL_Dpmr_Msg_Status_TX, 1, ' ', nullptr, "ON"},
        {CT_Dpmr_Status, CL_Dpmr_Msg_Status_RX, 1, ' ', nullptr, "OFF"},
    };
    for (const EntryStep& s : steps) {
        SCOPED_TRACE(std::to_string(s.cell) + " " + s.text);
        Call(s.category, s.cell, s.param, s.key, s.typed);
        EXPECT_EQ(Call(s.category, s.cell, s.param).text, s.text);
    }
    EXPECT_EQ(L::Get16(W(), 0x12CF5 + 26 * 7), 7);
    EXPECT_EQ(W()[0x12CF5 + 26 * 7 + 10], 0xA1); // special function, bell and beep, single beep
    EXPECT_EQ(L::Get16(W(), 0x10F5C + 4 * 31), 0x4000 + 123);
    EXPECT_EQ(W()[0x10F5C + 4 * 31 + 2], 0x03);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(W() + 0x1304D + 12 * 23), 7), "GO HOME");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(W() + 0x1FACB + 12 + 1), 8), "EN ROUTE");
    EXPECT_EQ(W()[0x1FACB + 12 + 9], 0xA0);
    EXPECT_EQ(W()[0x1FACB + 12 + 10], 0x04);

    // A fixed dPMR status (its kind byte 2 to 5) shows in olive and takes no keys.
    W()[0x1FACB + 12 * 2] = 3;
    const cmcEeprom before = work;
    for (int32_t cell : {CL_Dpmr_Msg_Status_Beep, CL_Dpmr_Msg_Status_Text_Rx}) {
        Outcome o = Call(CT_Dpmr_Status, cell, 2, ' ');
        EXPECT_EQ(o.color, 0x008080u);
        EXPECT_EQ(o.result, cmcCellHandler::kResultNone);
        Call(CT_Dpmr_Status, cell, 2, 0, "7");
    }
    EXPECT_TRUE(work == before);
}

TEST_F(ListFamilies, AddressAndIdRangesSplitAtOneBoundary) {
    L::Put16(W(), 0x12DC5, 100);
    L::Put32(W(), 0x1F661, 0x00050000); // first dPMR group ID 0005000 (packed, then a 0 digit)
    const EntryStep steps[] = {
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Individual, 0, ' ', nullptr, "0000 (No Edit)"},
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Individual, 1, 0, "7", "99 (No Edit)"},
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Group, 1, ' ', nullptr, "4095 (No Edit)"},
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Group, 0, 0, "0", "0100"}, // the individual range stays
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Group, 0, 0, "2000", "2000"},
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Individual, 1, 0, nullptr, "1999 (No Edit)"},
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Common, 0, 0, "4095", "4095"},
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Killer, 0, kKeyBs, nullptr, "4095"},
        {CT_MSK_AdrRange, CL_Msk_AdrRange_Common, 2, 0, nullptr, ""},
        {CT_Null, CL_Dpmr_IdRange_Individual, 0, 0, nullptr, "0000001 (No Edit)"},
        {CT_Null, CL_Dpmr_IdRange_Individual, 1, 0, nullptr, "4999 (No Edit)"},
        {CT_Null, CL_Dpmr_IdRange_Group, 0, 0, "1*", "0005000"},      // no wildcards in a boundary
        {CT_Null, CL_Dpmr_IdRange_Group, 0, 0, "0000001", "0000002"}, // one individual ID stays
        {CT_Null, CL_Dpmr_IdRange_Individual, 1, 0, nullptr, "1 (No Edit)"},
        {CT_Null, CL_Dpmr_IdRange_Group, 0, 0, "9000000", "9000000"},
        {CT_Null, CL_Dpmr_IdRange_Individual, 1, 0, nullptr, "8999999 (No Edit)"},
        {CT_Null, CL_Dpmr_IdRange_Group, 1, 0, "1", "9999999 (No Edit)"},
    };
    for (const EntryStep& s : steps) {
        SCOPED_TRACE(std::to_string(s.cell) + " " + s.text);
        Call(s.category, s.cell, s.param, s.key, s.typed);
        EXPECT_EQ(Call(s.category, s.cell, s.param).text, s.text);
    }
    EXPECT_EQ(L::Get16(W(), 0x12DC5), 2000);
    EXPECT_EQ(L::Get16(W(), 0x12DC7), 4095);
    EXPECT_EQ(L::Get32(W(), 0x1F661), 0x90000000u);
}

TEST_F(ListFamilies, ScanListPriorityAndTransmitChannels) {
    uint8_t* e = W() + 0x127D6 + 18 * 2; // scan list 3
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Prio1_CH, 2).text, "OFF");
    Call(CT_Scan, CL_ScanList_Prio1_CH, 2, ' ');
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Prio1_CH, 2).text, "Selected channel");
    // The channel mark shows the channel reference; space then steps the channels in use.
    Call(CT_Scan, CL_ScanList_Prio1_CH, 2, ' ');
    EXPECT_EQ(e[10] >> 4, 5);
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Prio1_CH, 2).text, "1-1ch");
    Call(CT_Scan, CL_ScanList_Prio1_CH, 2, kKeyBs); // wraps to the last channel in use (4 in bank 1)
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Prio1_CH, 2).text, "1-4ch");
    EXPECT_EQ(L::Get16(e, 12), 3);
    // Carriage return offers the marks; the channel entry leads through bank and channel lists.
    windows.lists.clear();
    Call(CT_Scan, CL_ScanList_Prio2_CH, 2, '\r');
    Answer(CT_Scan, CL_ScanList_Prio2_CH, 2, cmcChoiceCodecs::kFlex0, 5);
    Answer(CT_Scan, CL_ScanList_Prio2_CH, 2, cmcChoiceCodecs::kFlexZoneSel, 0);
    EXPECT_EQ(windows.lists, (std::vector<std::string>{"GI_Sheet_Sel_ScanPrio2CH", "GI_Sheet_Sel_ScanZoneSel",
                                                       "GI_Sheet_Sel_ScanCHSel"}));
    EXPECT_EQ(e[10] & 0x0F, 0); // nothing changes before the channel is chosen
    Answer(CT_Scan, CL_ScanList_Prio2_CH, 2, cmcChoiceCodecs::kFlexCHSel, 2);
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Prio2_CH, 2).text, "1-3ch");
    EXPECT_EQ(e[10] & 0x0F, 5);
    EXPECT_EQ(L::Get16(e, 14), 2);
    // The transmit channel keeps its use bit (bit 7 of byte 8) with the channel mark.
    Answer(CT_Scan, CL_ScanList_TX_CH, 2, cmcChoiceCodecs::kFlex0, 5);
    Answer(CT_Scan, CL_ScanList_TX_CH, 2, cmcChoiceCodecs::kFlexZoneSel, 0);
    Answer(CT_Scan, CL_ScanList_TX_CH, 2, cmcChoiceCodecs::kFlexCHSel, 1);
    EXPECT_EQ(e[11] >> 4, 5);
    EXPECT_EQ(e[8] & 0x80, 0x80);
    Answer(CT_Scan, CL_ScanList_TX_CH, 2, cmcChoiceCodecs::kFlex0, 0);
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_TX_CH, 2).text, "Selected channel");
    EXPECT_EQ(e[8] & 0x80, 0);
    // A channel mark on a channel that is not in use warns; other marks never do.
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Prio2_CH, 2).marks & 0x04, 0);
    L::Put16(e, 14, 40);
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Prio2_CH, 2).marks & 0x04, 0x04);
    EXPECT_TRUE(handler->WarningOf(CT_Scan, CL_ScanList_Prio2_CH, 2));
    EXPECT_FALSE(handler->WarningOf(CT_Scan, CL_ScanList_TX_CH, 2));
    L::Put16(e, 14, 2);
    // A "none" bank answer keeps the mark as it was.
    Answer(CT_Scan, CL_ScanList_Prio2_CH, 2, cmcChoiceCodecs::kFlexZoneSel, 8);
    EXPECT_EQ(e[10] & 0x0F, 5);
}

TEST_F(ListFamilies, DpmrIdListSelectionDigitsAndCallListViews) {
    const int count = L::Get16(W(), L::kCount101);
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Dec, count, '\r');
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Dec, count, 0, "2345678");
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Name, count, 0, "TRUCK 7");
    uint8_t* e = W() + 0x1DAD9 + 14 * count;
    // Input digit positions 1..7 are bits 7..1 of byte 12; bit 0 stays.
    e[12] = 0x01;
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_InputDigit, count, '1');
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_InputDigit, count, '7');
    EXPECT_EQ(e[12], 0x83);
    EXPECT_EQ(Call(CT_Dpmr_Inv, CL_Dpmr_Ind_InputDigit, count).text, "1_____7\n");
    EXPECT_EQ(Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Sel, count).text, "ON");
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Sel, count, ' ');
    EXPECT_EQ(e[13] & 0x80, 0x80);
    // The call list windows show the entries read only.
    for (int32_t category : {CT_Null, CT_Dpmr_Inv}) {
        EXPECT_EQ(Call(category, CL_Dpmr_Id_Dec_Grp, count).text, "2345678");
        EXPECT_EQ(Call(category, CL_Dpmr_Id_Name_Inv, count, 'X').text, "TRUCK 7");
        EXPECT_EQ(Call(category, CL_Dpmr_Id_Dec_Inv, count + 1).text, "");
    }
    // Scan list names.
    Call(CT_Scan, CL_ScanList_Text, 16, 0, "ALL");
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Text, 16).text, "ALL");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(W() + 0x127D6 + 18 * 16), 8), "ALL     ");
    EXPECT_EQ(Call(CT_Scan, CL_ScanList_Text, 17).text, "");
}

TEST_F(ListFamilies, MdcSetsAndTheirTextLists) {
    const EntryStep steps[] = {
        {CT_Null, CL_Mdc_System_List_Text, 2, 0, nullptr, "Sys 3"},
        {CT_Null, CL_Mdc_PttId_Text, 4, 0, nullptr, "PTT 5"},
        {CT_Null, CL_Mdc_System_List_General, 2, ' ', nullptr, "Gen 2"},
        {CT_Null, CL_Mdc_System_List_Revive, 2, kKeyBs, nullptr, "Revive 5"},
        {CT_Null, CL_Mdc_General_Mdc_On, 1, ' ', nullptr, "ON"},
        {CT_Null, CL_Mdc_General_Self_Id, 1, 0, "a1b2", "A1B2"},
        {CT_Null, CL_Mdc_General_Self_Id, 1, 0, "G1", "A1B2"}, // not hexadecimal: refused
        {CT_Null, CL_Mdc_General_Initial_Tx_Delay, 1, 0, "2.5", "  2.5"},
        {CT_Null, CL_Mdc_General_Initial_Tx_Delay, 1, 0, "99", " 25.5"},
        {CT_Null, CL_Mdc_General_Mute_Type, 1, kKeyBs, nullptr, "3"},
        {CT_Null, CL_Mdc_Emg_No_Cycles, 4, 0, "99", "15"},
        {CT_Null, CL_Mdc_Emg_EXO_Out, 4, ' ', nullptr, "Enable"},
        {CT_Null, CL_Mdc_Emg_Beep_Type, 4, ' ', nullptr, "Single beep"},
        {CT_Null, CL_Mdc_SelCall_Rx, 5, ' ', nullptr, ""}, // five sets only
        {CT_Null, CL_Mdc_Status_Num, 17, 0, nullptr, "2"},
        {CT_Null, CL_Mdc_Status_Text, 17, 0, "ON SCENE", "ON SCENE"},
        {CT_Null, CL_Mdc_Status_Enabled, 17, ' ', nullptr, "Enable"},
        {CT_Null, CL_Mdc_Msg_Text, 79, 0, "CALL ME", "CALL ME"},
        {CT_Null, CL_Mdc_Msg_Text, 80, 0, "LOST", ""},
    };
    for (const EntryStep& s : steps) {
        SCOPED_TRACE(std::to_string(s.cell) + " " + s.text);
        Call(s.category, s.cell, s.param, s.key, s.typed);
        EXPECT_EQ(Call(s.category, s.cell, s.param).text, s.text);
    }
    EXPECT_EQ(W()[0x1317D + 20], 1);                    // system 3 uses general set 2
    EXPECT_EQ(W()[0x1317D + 20 + 9], 4);                // and revive set 5
    EXPECT_EQ(L::Get16(W(), 0x131AF + 20 + 1), 0xA1B2); // set 2's self ID
    EXPECT_EQ(W()[0x131AF + 20 + 5], 255);              // 25.5 s in tenths
    EXPECT_EQ(W()[0x13231 + 18 * 4 + 12], 15);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(W() + 0x133C1 + 144 + 9), 8), "ON SCENE");
    EXPECT_EQ(W()[0x133C1 + 144 + 9 + 8], 0x10);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(W() + 0x13691 + 144 * 4 + 9 * 15), 7), "CALL ME");
}

TEST_F(ListFamilies, MdcAliasesGrowFromTheirBlankRow) {
    const int count = L::Get16(W(), L::kCount58);
    Events();
    Outcome o = Call(CT_MDC_Alias, CL_Mdc_Alias1_ID, count, '7');
    EXPECT_EQ(o.redirect.cell, CL_Mdc_Alias1_Text);
    EXPECT_EQ(L::Get16(W(), L::kCount58), count);
    // A letter typed on the alias text creates the entry.
    EXPECT_EQ(Call(CT_MDC_Alias, CL_Mdc_Alias1_Text, count, 'B').result, cmcCellHandler::kResultEdit);
    EXPECT_EQ(L::Get16(W(), L::kCount58), count + 1);
    EXPECT_EQ(Events(), std::vector<std::string>{"41:0:" + std::to_string(count)});
    const EntryStep steps[] = {
        {CT_MDC_Alias, CL_Mdc_Alias1_Text, count, 0, "BASE", "BASE"},
        {CT_MDC_Alias, CL_Mdc_Alias1_ID, count, 0, "1a2b", "1A2B"},
        {CT_MDC_Alias, CL_Mdc_Alias1_ID, count, 0, "XYZ", "1A2B"},
        {CT_MDC_Alias, CL_Mdc_Alias1_Beep_Type, count, ' ', nullptr, "Single beep"},
        {CT_MDC_Alias, CL_Mdc_Alias1_Strip, count, ' ', nullptr, "Enable"},
        {CT_MDC_Alias, CL_Mdc_Alias3_Text, count, 'A', nullptr, ""}, // the other columns are inert
    };
    for (const EntryStep& s : steps) {
        SCOPED_TRACE(std::to_string(s.cell) + " " + s.text);
        Call(s.category, s.cell, s.param, s.key, s.typed);
        EXPECT_EQ(Call(s.category, s.cell, s.param).text, s.text);
    }
    const uint8_t* e = W() + 0x13961 + 11 * count;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(e), 8), "BASE    ");
    EXPECT_EQ(e[8], 0x81);
    EXPECT_EQ(L::Get16(e, 9), 0x1A2B);
    // The list holds 500 aliases.
    L::Put16(W(), L::kCount58, 500);
    box.shown.clear();
    Call(CT_MDC_Alias, CL_Mdc_Alias1_Text, 500, 'C');
    EXPECT_EQ(L::Get16(W(), L::kCount58), 500);
    EXPECT_EQ(box.shown.size(), 1u);
}

} // namespace

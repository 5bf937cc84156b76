// The model cell handler through real capsules on the shipped initial data and the English overlay:
// the memory channel cells row by row, channel creation and its limits, and the frame around every
// behaviour (new rows, redirects, refresh scope, the "*Yet*" cells).
#include "HandlerFixture.h"
#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellWindows.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/datCh.h"
#include "model/indAppCells.h"
#include "model/indBankCells.h"
#include "model/indCellHandler.h"
#include "model/indCellHost.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "model/indToneCells.h"
#include "model/indWarningCheck.h"
#include "model/indWorkImage.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace handlerfix;

TEST_F(HandlerTest, TypingOnANewRowCreatesTheChannelThenTakesTheFrequency) {
    const int before = Count(2);
    const int total = Total();
    const int n = AddChannel(2, "146.52");
    EXPECT_EQ(Count(2), before + 1);
    EXPECT_EQ(Total(), total + 1);
    EXPECT_EQ(Call(CT_Mch, CL_Mch_FreqR, n).text, "146.520000");
    EXPECT_EQ(Call(CT_Mch, CL_Mch_FreqT, n).text, "<-"); // transmit equal to receive
    // Colour codes follow the frequencies: (f / 6250) mod 64.
    EXPECT_EQ(A(n)[26], (146520000 / 6250) % 64);
    EXPECT_EQ(A(n)[27], (146520000 / 6250) % 64);
    // The packed memory was re-derived: the channel is in the radio layout too.
    cmcEeprom copy = work;
    indWorkImage(copy, &defaults).ExpandTables();
    EXPECT_EQ(L::GroupCount(copy.Data(), 2), before + 1);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(HandlerTest, GroupBanksTakeTheReceiveIdAsKeyCell) {
    Hold({44}); // the group IDs of channels are saved with table 44
    int bank = -1;
    for (int g = L::kGroups - 1; g >= 0 && bank < 0; --g)
        if (Count(g) == 0)
            bank = g;
    ASSERT_GE(bank, 0);
    work.Data()[L::kBankF1] |= uint8_t(0x80 >> bank);
    handler->shownBank = bank;
    const int n = L::GroupStart(work.Data(), bank);
    // The frequency cell of a group bank's blank row sends the user to the receive ID.
    Outcome o = Call(CT_Mch, CL_Mch_FreqR, n, '5');
    EXPECT_EQ(o.redirect.on, 1);
    EXPECT_EQ(o.redirect.cell, CL_Grp_RxId);
    EXPECT_EQ(Call(CT_Mch, CL_Grp_RxId, n, '5').result, cmcCellHandler::kResultEdit);
    EXPECT_EQ(Count(bank), 1);
    Call(CT_Mch, CL_Grp_RxId, n, 0, "12");
    EXPECT_EQ(work.Data()[L::kChC + 6 * n], 12);
    EXPECT_EQ(Call(CT_Mch, CL_Grp_TxId, n).text, "<-"); // the transmit ID followed
    Call(CT_Mch, CL_Grp_TxId, n, ' ');
    EXPECT_EQ(Call(CT_Mch, CL_Grp_TxId, n).text, "13");
}

TEST_F(HandlerTest, IdListsGrowFromTheirBlankRow) {
    const int count = L::Get16(work.Data(), L::kCount101);
    // Another cell of the blank row sends the key to the ID cell.
    Outcome o = Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Name, count, '7');
    EXPECT_EQ(o.redirect.on, 1);
    EXPECT_EQ(o.redirect.cell, CL_Dpmr_Ind_Id_Dec);
    EXPECT_EQ(L::Get16(work.Data(), L::kCount101), count);
    // Only the first blank row can become an entry.
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Dec, count + 1, '7');
    EXPECT_EQ(L::Get16(work.Data(), L::kCount101), count);
    EXPECT_EQ(Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Dec, count, '7').result, cmcCellHandler::kResultEdit);
    EXPECT_EQ(L::Get16(work.Data(), L::kCount101), count + 1);
    Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Dec, count, 0, "1234567");
    EXPECT_EQ(Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Dec, count).text, "1234567");
    // NXDN IDs (table 33, saved when the data holds it): the reserved range turns into the last ID,
    // and the all-call ID warns.
    Hold({33});
    const int nx = L::Get16(work.Data(), L::kCount33);
    Call(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, nx, '\r');
    Call(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Hex, nx, 0, "FFF0");
    EXPECT_EQ(Call(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, nx).text, "65519");
    Call(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Hex, nx, 0, "FFFF");
    EXPECT_EQ(Call(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, nx).marks & 0x04, 0x04);
    EXPECT_TRUE(handler->WarningOf(CT_Null, CL_Check_Nxdn_IndID, 0));
    Call(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Hex, nx, 0, "0100");
    EXPECT_FALSE(handler->WarningOf(CT_Null, CL_Check_Nxdn_IndID, 0));
}

TEST_F(HandlerTest, RefusedAndSteppedFrequencies) {
    const int n = AddChannel(0, "146.52");
    Outcome o = Call(CT_Mch, CL_Mch_FreqR, n, 0, "146.5234");
    EXPECT_EQ(o.text, "146.520000"); // off the raster: unchanged, no message
    EXPECT_TRUE(box.shown.empty());
    o = Call(CT_Mch, CL_Mch_FreqR, n, ' ');
    EXPECT_EQ(o.result, cmcCellHandler::kResultEdit); // space opens the editor on frequencies
    EXPECT_EQ(Call(CT_Mch, CL_Mch_FreqR, n).text, "146.520000");
}

// A refused entry comes back with its reason from the overlay, limits filled in; an accepted one, a
// draw and a key leave none.
TEST_F(HandlerTest, RefusalsComeBackWithTheirReason) {
    const int n = AddChannel(0, "146.52");
    struct Row {
        int32_t category, cell;
        const char* typed;
        const char* refusal;
    };
    const Row rows[] = {
        {CT_Mch, CL_Mch_FreqR, "900", "Out of the radio's band: 0.002500\u2013799.997500 MHz"},
        {CT_Mch, CL_Mch_FreqT, "146.5234", "Not on the channel raster: use 2.5 or 3.125 kHz steps"},
        {CT_Mch, CL_Mch_FreqR, "MHz", "Not a number: type digits"},
        {CT_Mch, CL_Mch_TxInh, "sometimes", "Not in the list: choose one of its entries"},
        {CT_Mch, CL_Mch_CTone_R, "12.3", "Not in the list: choose one of its entries"},
        {CT_BankOp, CL_Mch_BankText, "NINECHARS", "Too long: at most 8 characters"},
        {CT_Mch, CL_Mch_FreqR, "146.55", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        const cmcEeprom before = work;
        const Outcome o = Call(r.category, r.cell, r.category == CT_Mch ? n : 0, 0, r.typed);
        EXPECT_EQ(o.refusal, r.refusal);
        EXPECT_EQ(*r.refusal == 0, !(work == before));
    }
    EXPECT_EQ(Call(CT_Mch, CL_Mch_FreqR, n).refusal, "");
    EXPECT_EQ(Call(CT_Mch, CL_Mch_FreqR, n, '9').refusal, "");

    // Text for a cell of a row without a channel has nowhere to go.
    handler->shownBank = 1;
    const int blank = L::GroupStart(work.Data(), 1) + Count(1);
    const Outcome o = Call(CT_Mch, CL_Mch_TxInh, blank, 0, "ON");
    EXPECT_EQ(o.refusal, "The row is empty: enter its first cell first");
    EXPECT_EQ(o.redirect.cell, CL_Mch_FreqR);
    // So for the blank row of an ID list.
    const int ids = L::Get16(work.Data(), L::kCount101);
    EXPECT_EQ(Call(CT_Dpmr_Inv, CL_Dpmr_Ind_Id_Name, ids, 0, "BASE").refusal,
              "The row is empty: enter its first cell first");
    EXPECT_EQ(L::Get16(work.Data(), L::kCount101), ids);
}

TEST_F(HandlerTest, NewRowCellsRedirectToTheKeyCellAndShowNothing) {
    handler->shownBank = 1;
    const int n = L::GroupStart(work.Data(), 1) + Count(1);
    Outcome o = Call(CT_Mch, CL_Mch_Text, n, '1');
    EXPECT_EQ(o.text, "");
    EXPECT_EQ(o.redirect.on, 1);
    EXPECT_EQ(o.redirect.cell, CL_Mch_FreqR);
    EXPECT_EQ(o.redirect.parameter, n);
    EXPECT_EQ(o.redirect.key, '1');
    // A key of 128 and above is not replayed.
    EXPECT_EQ(Call(CT_Mch, CL_Mch_Text, n, cmcCellCapsule::kKeyF1).redirect.on, 0);
    // The number cell shows the new-channel caption; the key cell itself is not redirected.
    EXPECT_EQ(Call(CT_Mch, CL_Mch_No, n).text, "New");
    EXPECT_EQ(Call(CT_Mch, CL_Mch_FreqR, n).redirect.on, 0);
    EXPECT_EQ(Count(1), Count(1)); // nothing created by drawing
}

// A channel made by typing its frequency starts from a safe spare slot: it sends no tone nobody asked
// for, in a bank with channels and in an empty one.
TEST_F(HandlerTest, ANewChannelSendsNoTone) {
    for (int bank : {0, 5}) {
        SCOPED_TRACE(bank);
        const int n = AddChannel(bank, "146.52");
        handler->shownBank = bank;
        EXPECT_EQ(Call(CT_Mch, CL_Mch_CTone_R, n).text, "OFF");
        EXPECT_EQ(Call(CT_Mch, CL_Mch_CTone_T, n).text, "OFF");
        EXPECT_EQ(Call(CT_Mch, CL_Mch_Text, n).text, "");
        // Its signalling codes are entries of their lists, not the error text.
        EXPECT_EQ(Call(CT_Mch, CL_Mch_Rpt_C, n).text, "1");
        EXPECT_EQ(Call(CT_Mch, CL_Mch_Id_C, n).text, "1");
    }
}

// The first model variant has no station code: the cell shows the 1 its record fixes, in olive, and
// no key reaches the bits below it, which hold the channel's two-tone code.
TEST_F(HandlerTest, StationCodeIsFixedInTheFirstVariant) {
    handler->shownBank = 0;
    const Outcome shown = Call(CT_Mch, CL_Mch_Stn_C, 0);
    EXPECT_EQ(shown.text, "1");
    EXPECT_EQ(shown.color, cmcCodecIo::kOlive);
    const cmcEeprom before = work;
    EXPECT_EQ(Call(CT_Mch, CL_Mch_Stn_C, 0, ' ').result, cmcCellHandler::kResultNone);
    Call(CT_Mch, CL_Mch_Stn_C, 0, 0, "7");
    Call(CT_Mch, CL_Mch_Stn_L, 0, ' ');
    EXPECT_TRUE(work == before);
    EXPECT_EQ(Call(CT_Mch, CL_Mch_2Tone, 0).text, "OFF");
}

TEST_F(HandlerTest, NoChannelBeyond128) {
    // Fill the radio to 128 channels in bank 0 through the bank count cell.
    const int missing = L::kChannels - Total();
    handler->shownBank = -1;
    for (int k = 0; k < missing; ++k)
        Call(CT_Null, CL_Mch_Bank, 0, ' ');
    if (Total() < L::kChannels)
        GTEST_SKIP() << "the radio memory holds fewer than 128 channels";
    box.shown.clear();
    handler->shownBank = 3;
    const int n = L::kChannels; // the blank row after the last channel
    Outcome o = Call(CT_Mch, CL_Mch_FreqR, L::GroupStart(work.Data(), 3) + Count(3), '1');
    (void)n;
    EXPECT_EQ(Total(), L::kChannels);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find("No more channels"), std::string::npos);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    EXPECT_EQ(box.shown[0].caption, "Ostrel");
    EXPECT_NE(o.result, cmcCellHandler::kResultEdit);
}

TEST_F(HandlerTest, RoomCheckFollowsTheFreeBytesOfThePackedMemory) {
    // Room shrinks as the end marker moves up: force the end close to the last clone address.
    uint8_t* w = work.Data();
    const uint32_t s2 = L::Get32(w, L::kSec2At32);
    L::Put32(w, L::kEndAt32, 0xFF7F - 45 * 2 - 28 * 2);
    EXPECT_TRUE(handler->RoomFor(CT_Mch, 2, 0));
    EXPECT_FALSE(handler->RoomFor(CT_Mch, 3, 0));
    EXPECT_EQ(handler->LargestRoom(CT_Mch, 10, 0), 2);
    EXPECT_EQ(handler->LargestRoom(CT_Mch, 10, 7), 2); // 73 bytes each in bank 7, all before the end
    L::Put32(w, L::kEndAt32, 0xFF7F - 45 * 2 - 28 * 2 + 1);
    EXPECT_EQ(handler->LargestRoom(CT_Mch, 10, 7), 1);
    EXPECT_TRUE(handler->RoomFor(CT_Nxdn_Inv, 12, 0));
    EXPECT_FALSE(handler->RoomFor(CT_Nxdn_Inv, 13, 0));
    L::Put32(w, L::kEndAt32, 0xFF7F);
    EXPECT_EQ(handler->LargestRoom(CT_Mch, 5, 0), 0);
    EXPECT_FALSE(handler->AddChannels(0, 1));
    (void)s2;
}

TEST_F(HandlerTest, BankCountAddsAndRemovesBlankChannelsOnly) {
    const int before = Count(4);
    Call(CT_Null, CL_Mch_Bank, 4, ' ');
    Call(CT_Null, CL_Mch_Bank, 4, ' ');
    EXPECT_EQ(Count(4), before + 2);
    EXPECT_EQ(Call(CT_Null, CL_Mch_Bank, 4).text, std::to_string(before + 2));
    EXPECT_EQ(Call(CT_Null, CL_Mch_Bank, 8).text, std::to_string(Total()));
    // Bank type flags, and the used, total and left counts.
    const bool f1 = work.Data()[L::kBankF1] & (0x80 >> 4);
    Outcome o = Call(CT_Null, CL_Mch_LTR, 4, ' ');
    EXPECT_EQ(o.text, f1 ? "OFF" : "ON");
    EXPECT_EQ(bool(work.Data()[L::kBankF1] & (0x80 >> 4)), !f1);
    EXPECT_EQ(o.scope & 0x20, 0x20);
    Call(CT_Null, CL_Mch_LTR, 4, ' ');
    EXPECT_EQ(Call(CT_Null, CL_Bank_UsedQty, 4).text, std::to_string(Count(4)));
    EXPECT_EQ(Call(CT_Null, CL_Bank_UsedLeft, 4).text, std::to_string(L::kChannels - Total()));
    // The last channel gets content: it cannot be removed.
    const int last = L::GroupStart(work.Data(), 4) + Count(4) - 1;
    Call(CT_Mch, CL_Mch_FreqR, last, 0, "440.0");
    box.shown.clear();
    Call(CT_Null, CL_Mch_Bank, 4, cmcCellCapsule::kKeyBackspace);
    EXPECT_EQ(Count(4), before + 2);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find("without content"), std::string::npos);
}

// The option cells of the channel table: value bits, list text, grey and dash conditions, marks.
struct OptionRow {
    int32_t cell;
    char slot;
    int byte;
    uint8_t mask;
    uint8_t bits;     // stored bits (within mask)
    int type;         // channel type (A12 bits 0-1)
    int family;       // 0 LMR, 1 PMR
    bool signalling;  // B3.3
    const char* text; // shown text
    bool grey;
    uint8_t marks; // warning 4, error 8
};

TEST_F(HandlerTest, MemoryChannelTable) {
    const OptionRow rows[] = {
        {CL_Mch_TxInh, 'A', 4, 0x80, 0x80, 0, 0, false, "ON", false, 0},
        {CL_Mch_TxInh, 'A', 4, 0x80, 0x00, 0, 0, false, "OFF", false, 0},
        {CL_Mch_Inh, 'A', 0, 0x80, 0x80, 0, 0, false, "Inhibit", false, 0},
        {CL_Mch_Nar, 'A', 12, 0x50, 0x40, 0, 0, false, "Narrow", false, 0},
        {CL_Mch_Nar, 'A', 12, 0x50, 0x10, 3, 0, false, "Middle", true, 0},
        {CL_Mch_WNM, 'A', 12, 0x50, 0x10, 0, 0, false, "Middle", false, 4},
        {CL_Mch_RfPo, 'B', 0, 0x03, 0x02, 0, 0, false, "Low1", false, 0},
        {CL_Mch_Tot, 'B', 0, 0x10, 0x10, 0, 0, false, "ON", false, 0},
        {CL_Mch_Compander, 'B', 3, 0x10, 0x10, 3, 0, false, "ON", true, 0},
        {CL_Mch_Lockout, 'B', 0, 0x0C, 0x08, 0, 0, false, "Busy", false, 0},
        {CL_Mch_Lockout_Pmr, 'B', 0, 0x0C, 0x04, 0, 1, false, "Busy", false, 0},
        {CL_Mch_Log, 'B', 1, 0xF0, 0x20, 3, 0, false, "ID", true, 0},
        {CL_Mch_CH_Mute, 'B', 1, 0x01, 0x00, 1, 1, true, "OFF", false, 4},
        {CL_Mch_CH_Mute, 'B', 1, 0x01, 0x00, 1, 0, true, "OFF", false, 0},
        {CL_Mch_Moni, 'B', 0, 0x40, 0x40, 1, 1, true, "Carrier", false, 4},
        {CL_Mch_Sel, 'B', 2, 0xC0, 0x80, 1, 1, true, "Group", false, 8},
        {CL_Mch_Sel, 'B', 2, 0xC0, 0x40, 1, 1, true, "Selective", false, 0},
        {CL_Mch_Call, 'B', 2, 0x08, 0x08, 1, 1, true, "ON", false, 8},
        {CL_Mch_PTT, 'B', 2, 0x04, 0x04, 1, 1, false, "ON", false, 0},
        {CL_Mch_Dig_Sig, 'A', 12, 0x03, 0x03, 3, 0, false, "Digital", false, 0},
        {CL_Mch_Rpt_L, 'B', 7, 0x80, 0x80, 1, 1, true, "-", true, 0},   // dashes: PMR with signalling
        {CL_Mch_Stn_C, 'B', 8, 0x7F, 0x05, 1, 0, false, "1", false, 0}, // LMR: fixed, the bits are two-tone
        {CL_Mch_Stn_C, 'B', 8, 0x7F, 0x05, 1, 1, false, "5", false, 0},
        {CL_Mch_Stn_C, 'B', 8, 0x7F, 0x05, 1, 1, true, "----", true, 0},
        {CL_Mch_Dpmr_SQL_Type, 'B', 17, 0x30, 0x10, 0, 0, false, "----", true, 0},
        {CL_Mch_Dpmr_SQL_Type, 'B', 17, 0x30, 0x10, 2, 0, false, "CC", false, 0},
        {CL_Mch_Dpmr_SendStatus, 'B', 17, 0x40, 0x40, 1, 0, false, "----", true, 0},
        {CL_Mch_Nxdn_SQL_Type, 'B', 17, 0x30, 0x20, 0, 0, false, "Selective", true, 0},
    };
    const int n = AddChannel(0, "146.52");
    for (const OptionRow& r : rows) {
        SCOPED_TRACE(std::to_string(r.cell) + " " + r.text);
        Build(r.family);
        uint8_t* slot = r.slot == 'A' ? A(n) : B(n);
        slot[r.byte] = uint8_t((slot[r.byte] & ~r.mask) | r.bits);
        A(n)[12] = uint8_t((A(n)[12] & ~3) | r.type);
        B(n)[3] = uint8_t((B(n)[3] & ~0x08) | (r.signalling ? 0x08 : 0));
        cmcEeprom before = work;
        Outcome o = Call(CT_Mch, r.cell, n);
        EXPECT_EQ(o.text, r.text);
        EXPECT_EQ(o.color == 0xC0C0C0, r.grey);
        EXPECT_EQ(o.marks & 0x0C, r.marks);
        EXPECT_TRUE(work == before); // drawing never writes
    }
}

TEST_F(HandlerTest, SteppingWritesTheBitsAndAsksForTheRefresh) {
    const int n = AddChannel(0, "146.52");
    A(n)[4] &= 0x7F;
    Outcome o = Call(CT_Mch, CL_Mch_TxInh, n, ' ');
    EXPECT_EQ(o.text, "ON");
    EXPECT_EQ(A(n)[4] & 0x80, 0x80);
    EXPECT_EQ(o.scope, 0x09); // itself and its record
    // The memory channel window's cells act on the window's channel.
    handler->mchWindowChannel = n;
    EXPECT_EQ(Call(CT_Mch_Win, CL_Mch_TxInh, 99).text, "ON");
    handler->mchWindowChannel = -1;
    A(n)[12] &= 0xFC;
    o = Call(CT_Mch, CL_Mch_Dig_Sig, n, ' ');
    EXPECT_EQ(A(n)[12] & 3, 1);
    EXPECT_EQ(o.scope, 0x29); // whole sheet: other cells follow the channel type
    // Carriage return opens the list window instead of changing the value.
    windows.lists.clear();
    Call(CT_Mch, CL_Mch_RfPo, n, '\r');
    ASSERT_EQ(windows.lists.size(), 1u);
    EXPECT_EQ(windows.lists[0], "GI_Sheet_Sel_Mch_RfPwr");
}

TEST_F(HandlerTest, ColourCodeWarningOnlyForDigitalChannelsWithContent) {
    const int n = AddChannel(0, "146.52");
    A(n)[12] = uint8_t((A(n)[12] & ~3) | 2);
    box.shown.clear();
    Call(CT_Mch, CL_Mch_FreqR, n, 0, "146.53125");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Warning);
    EXPECT_EQ(A(n)[26], (146531250 / 6250) % 64);
    // Analogue channel: no warning.
    A(n)[12] &= 0xFC;
    box.shown.clear();
    Call(CT_Mch, CL_Mch_FreqR, n, 0, "146.55");
    EXPECT_TRUE(box.shown.empty());
    // The transmit colour code follows while equal, and shows "<-".
    A(n)[12] = uint8_t((A(n)[12] & ~3) | 1);
    EXPECT_EQ(Call(CT_Mch, CL_Mch_Dpmr_TxCc, n).text, "<-");
    Call(CT_Mch, CL_Mch_Dpmr_RxCc, n, ' ');
    EXPECT_EQ(A(n)[26], A(n)[27]);
}

TEST_F(HandlerTest, CellsWithoutBehaviourAndChannelChecks) {
    cmcCellObj obj;
    obj.category = CT_Mch;
    obj.cell = CL_Mch_Scrm_Type;
    obj.parameter = AddChannel(0, "146.52");
    obj.displayText = "from the overlay";
    EXPECT_EQ(handler->CellText(obj, 0), std::to_string(CL_Mch_Scrm_Type) + " *Yet*");
    obj.category = CT_Null;
    obj.cell = CL_Null;
    EXPECT_EQ(handler->CellText(obj, 0), "");
    // A list cell outside a list's category: its family declines it, and it shows as one without
    // behaviour.
    obj.cell = CL_Nxdn_Ind_Id_Dec;
    EXPECT_EQ(handler->CellText(obj, 0), std::to_string(CL_Nxdn_Ind_Id_Dec) + " *Yet*");
    // A channel check row past the last channel slot is the channel cells' blank row, whatever the cell.
    obj.category = CT_Mch_Check;
    obj.cell = CL_Mch_Scrm_Type;
    obj.parameter = L::kChannels;
    EXPECT_EQ(handler->CellText(obj, 0), "");
    // A bank without channels reports neither warning nor error.
    int empty = -1;
    for (int g = 0; g < L::kGroups && empty < 0; ++g)
        if (Count(g) == 0)
            empty = g;
    ASSERT_GE(empty, 0);
    EXPECT_FALSE(handler->WarningOf(CT_Null, CL_Check_Mch, 0, empty));
    EXPECT_FALSE(handler->ErrorOf(CT_Null, CL_Check_Mch, 0, empty));
    // A PMR channel with signalling and a call setting of 1 makes its bank's check an error.
    Build(1);
    const int n = AddChannel(empty, "446.00625");
    A(n)[12] = uint8_t((A(n)[12] & ~3) | 1);
    B(n)[3] |= 0x08;
    B(n)[2] = uint8_t((B(n)[2] & ~0xC0) | 0x40);
    B(n)[2] |= 0x08;
    EXPECT_TRUE(handler->ErrorOf(CT_Null, CL_Check_Mch, 0, empty));
    B(n)[2] &= uint8_t(~0x08);
    EXPECT_FALSE(handler->ErrorOf(CT_Null, CL_Check_Mch, 0, empty));
}

class RecordingHost : public indCellHost {
public:
    std::vector<std::string> runs;
    void RunCommand(int32_t cell, int32_t parameter, const std::string& argument) override {
        runs.push_back(std::to_string(cell) + ":" + std::to_string(parameter) + ":" + argument);
    }
    bool IsChecked(int32_t cell, int32_t parameter) override {
        return cell == CL_Menu_View_FontSize && parameter == 2;
    }
    std::string RecentFile(int32_t n) override { return n == 0 ? "/data/A&B.ocd" : ""; }
    int32_t AdReading(int32_t index) override { return index == 2 ? 0 : 128; }

    std::vector<RowCommand> rowCommands;
    bool carryOut = true;
    bool RunRowCommand(const RowCommand& command, cmcCellCapsule&) override {
        rowCommands.push_back(command);
        return carryOut;
    }
    std::vector<int32_t> helps;
    void OpenHelp(int32_t cell) override { helps.push_back(cell); }
    int32_t windowChannel = -1;
    bool ShowChannelWindow(int32_t channel) override {
        windowChannel = channel;
        return true;
    }
    std::vector<std::string> copied;
    void CopyText(const std::string& text) override { copied.push_back(text); }
    std::vector<uint8_t> info;
    std::vector<uint8_t> CloneInfo() override { return info; }
    int32_t language = 0;
    int32_t LanguageCount() override { return 2; }
    std::string LanguageName(int32_t index) override { return index == 0 ? "English" : "Second"; }
    int32_t Language() override { return language; }
    void SetLanguage(int32_t index) override { language = index; }
};

TEST_F(HandlerTest, WarningCheckCountsTheErrorsOfEveryBank) {
    EXPECT_EQ(indWarningCheck::ErrorCount(work, &defaults, tables.Text(), 0), 0);
    Build(1);
    const int n = AddChannel(6, "446.00625");
    A(n)[12] = uint8_t((A(n)[12] & ~3) | 1);
    B(n)[3] |= 0x08; // signalling on a PMR channel
    B(n)[2] |= 0x08; // with an individual call: an error
    const cmcEeprom before = work;
    indWarningCheck::Result r = indWarningCheck::Run(*handler, tables.Text(), 1);
    ASSERT_EQ(r.ErrorCount(), 1);
    EXPECT_EQ(r.errors[0].location, "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 6");
    EXPECT_EQ(indWarningCheck::ErrorCount(work, &defaults, tables.Text(), 1), 1);
    EXPECT_EQ(indWarningCheck::ErrorCount(work, &defaults, tables.Text(), 0), 0); // LMR: no such rule
    EXPECT_TRUE(work == before);
}

TEST_F(HandlerTest, ApplicationCells) {
    RecordingHost host;
    handler->host = &host;
    cmcCellObj cell;
    cell.category = CT_Null;
    auto flags = [&](int32_t c, int32_t p, int32_t key = 0) {
        cell.cell = c;
        cell.parameter = p;
        cell.markFlags = 0;
        cell.moreFlags = 0;
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        capsule.key = key;
        capsule.onGrid = key != 0; // keys are honoured only on a grid
        handler->CallCell(capsule, key ? 1 : 0);
        return capsule.displayText;
    };
    flags(CL_Menu_View_FontSize, 2);
    EXPECT_TRUE(cell.StateFlag(cmcCellObj::kFlagChecked));
    flags(CL_Menu_View_FontSize, 1);
    EXPECT_FALSE(cell.StateFlag(cmcCellObj::kFlagChecked));
    flags(CL_Model_Lmr, 0);
    EXPECT_TRUE(cell.StateFlag(cmcCellObj::kFlagChecked));
    flags(CL_Model_Pmr, 0, '\r');
    EXPECT_FALSE(cell.StateFlag(cmcCellObj::kFlagChecked));
    ASSERT_EQ(host.runs.size(), 1u);
    EXPECT_EQ(host.runs[0], std::to_string(CL_Model_Pmr) + ":0:");
    // Recent files: caption with the ampersand doubled; empty entries disabled, hidden after the first.
    EXPECT_EQ(flags(CL_Menu_File_Recent, 0), "&1 /data/A&&B.ocd");
    EXPECT_TRUE(cell.StateFlag(cmcCellObj::kFlagCaption));
    EXPECT_FALSE(cell.StateFlag(cmcCellObj::kFlagDisabled));
    flags(CL_Menu_File_Recent, 1);
    EXPECT_TRUE(cell.StateFlag(cmcCellObj::kFlagDisabled));
    EXPECT_TRUE(cell.StateFlag(cmcCellObj::kFlagHidden));
    // List entries and channel numbers.
    EXPECT_EQ(flags(Flex_NxdnInvIDList_ChNo, 4), "  5");
    EXPECT_EQ(flags(CL_Misc_ChNo_1Base, 4), "5");
    // Readings: 128 of 255; the temperature needs a non-zero LVIN reading (here 0).
    EXPECT_EQ(flags(CL_WinAD_VIN_Dec, 0), "128");
    EXPECT_EQ(flags(CL_WinAD_VIN_Hex, 0), "80");
    EXPECT_EQ(flags(CL_WinAD_VIN_Vt, 0), "10.03V/5.30V");
    EXPECT_EQ(flags(CL_WinAD_TEMPS_Vt, 0), "");
    EXPECT_EQ(flags(CL_WinDA_BAL_Vt, 0), "50.20%");
    EXPECT_EQ(flags(CL_WinDA_RXLVA_Vt, 0), "2.51V");
    EXPECT_EQ(flags(CL_WinAD_SMTR_Dec, 0), std::to_string(CL_WinAD_SMTR_Dec) + " *Yet*");
    EXPECT_EQ(indAppCells::ReadingText(1, 2, 128, 100), "9.46'C");
    EXPECT_EQ(indAppCells::ReadingText(1, 2, 0, 100), ""); // no reading: no division by zero
}

TEST_F(HandlerTest, PopupEntriesFollowTheOpenerRow) {
    const int n = AddChannel(0, "146.52");
    cmcCellObj opener;
    opener.category = CT_Mch;
    opener.cell = CL_Mch_Text;
    auto disabled = [&](int32_t entry, int32_t row) {
        opener.parameter = row;
        cmcCellCapsule openerCapsule;
        openerCapsule.cell = &opener;
        cmcCellObj cell;
        cell.category = CT_PopupMenu;
        cell.cell = entry;
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        capsule.link = &openerCapsule;
        handler->CallCell(capsule, 0);
        return cell.StateFlag(cmcCellObj::kFlagDisabled);
    };
    EXPECT_FALSE(disabled(CL_PMenu_Copy, n));
    handler->shownBank = 0;
    EXPECT_TRUE(disabled(CL_PMenu_Copy, L::GroupStart(work.Data(), 0) + Count(0)));
    EXPECT_TRUE(disabled(CL_PMenu_Delete, L::GroupStart(work.Data(), 0) + Count(0)));
    EXPECT_FALSE(disabled(CL_PMenu_Paste, L::GroupStart(work.Data(), 0) + Count(0)));
    EXPECT_TRUE(disabled(CL_PMenu_NoItem, n));
}

// Pop-up commands reach the cell with the command field set; the handler skips the cell's own behaviour.
TEST_F(HandlerTest, PopupCommandsGoToTheApplicationWithTheListBounds) {
    Hold({33}); // the NXDN ID list's rows take commands once the data saves the list
    RecordingHost host;
    host.carryOut = false; // records the commands only
    handler->host = &host;
    const int a = AddChannel(2, "146.52");
    const int b = AddChannel(2, "146.54");
    auto command = [&](int32_t category, int32_t cell, int32_t param, int32_t pmenu) {
        cmcCellObj obj;
        obj.category = category;
        obj.cell = cell;
        obj.parameter = param;
        cmcCellCapsule c;
        c.cell = &obj;
        c.onGrid = true;
        c.command = pmenu;
        handler->CallCell(c, 1);
        return std::make_pair(c, obj);
    };
    const cmcEeprom before = work;
    command(CT_Mch, CL_Mch_Text, b, CL_PMenu_CarryUp);
    ASSERT_EQ(host.rowCommands.size(), 1u);
    const indCellHost::RowCommand& r = host.rowCommands[0];
    EXPECT_EQ(r.command, CL_PMenu_CarryUp);
    EXPECT_EQ(r.index, b);
    EXPECT_EQ(r.group, 2);
    EXPECT_EQ(r.first, a);
    EXPECT_EQ(r.last, b);
    EXPECT_EQ(r.recordKind, 1);
    // An ID list: its entries in use.
    command(CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, 0, CL_PMenu_Delete);
    ASSERT_EQ(host.rowCommands.size(), 2u);
    EXPECT_EQ(host.rowCommands[1].first, 0);
    EXPECT_EQ(host.rowCommands[1].last, L::Get16(work.Data(), L::kCount33) - 1);
    // A cell of no list takes no row command.
    command(CT_Null, CL_Comm_Tot_Beep, 0, CL_PMenu_Copy);
    EXPECT_EQ(host.rowCommands.size(), 2u);
    // The handler changed nothing itself.
    EXPECT_TRUE(work == before);

    // Edit opens the cell's editor; help, window and copy go to the application.
    auto [edit, editObj] = command(CT_Mch, CL_Mch_Text, a, CL_PMenu_Edit);
    EXPECT_EQ(edit.command, 0);
    EXPECT_EQ(edit.key, cmcCellCapsule::kKeyReturn);
    command(CT_Mch, CL_Mch_Text, a, CL_PMenu_Help);
    EXPECT_EQ(host.helps, std::vector<int32_t>{CL_Mch_Text});
    auto [win, winObj] = command(CT_Mch, CL_Mch_Text, a, CL_PMenu_MCHWin);
    EXPECT_EQ(host.windowChannel, a);
    EXPECT_TRUE(winObj.StateFlag(cmcCellObj::kFlagChecked));

    host.info.assign(127, 0);
    const char esn[] = "00C80A01E240"; // 200, 10, 123456
    std::copy(esn, esn + 12, host.info.begin() + 37);
    command(CT_Null, CL_CloneInfo_Esn, 0, CL_PMenu_WinCopy);
    EXPECT_EQ(host.copied, std::vector<std::string>{"0200100123456"});
    host.info[40] = 'G'; // not a serial number: nothing is copied
    command(CT_Null, CL_CloneInfo_Esn, 0, CL_PMenu_WinCopy);
    EXPECT_EQ(host.copied.size(), 1u);
}

TEST_F(HandlerTest, CloneInformationLines) {
    RecordingHost host;
    handler->host = &host;
    auto text = [&](int32_t cell) { return Call(CT_Null, cell, 0).text; };
    EXPECT_EQ(text(CL_CloneInfo_Model), ""); // before any information answer
    host.info.assign(127, 0);
    std::vector<uint8_t>& i = host.info;
    i[0] = 127;
    i[1] = 0x01 | (1 << 1) | 0x08; // PMR, variant 1, keypad
    i[32] = 0x12;
    i[3] = '3';
    i[4] = '4';
    std::copy_n("01234", 5, i.begin() + 5);
    std::copy_n("0567", 4, i.begin() + 10);
    i[14] = 0x05; // units A and C
    i[15] = 1;
    i[16] = '1';
    i[17] = '0';
    i[18] = 0xAB;
    i[19] = 0xCD;
    i[20] = 0x22; // killed, by DTMF
    i[21] = 1;
    i[22] = 0x12;
    i[23] = 0x34;
    std::copy_n("HELLO\x01", 6, i.begin() + 60);
    const struct {
        int32_t cell;
        const char* text;
    } cases[] = {
        {CL_CloneInfo_Model, "PMR type, LTR, ten-key keypad"},
        {CL_CloneInfo_KeyBoard, "ten-key keypad"},
        {CL_CloneInfo_Revision, "1.2d"},
        {CL_CloneInfo_Revision_DSP, "3.4"},
        {CL_CloneInfo_Comment1, "HELLO"},
        {CL_CloneInfo_Comment2, ""},
        {CL_CloneInfo_Digital_UnitID, "1234(Conventional)\n567(VORN-Trunk)"},
        {CL_CloneInfo_Option, "Option unit A\nOption unit C\nNXDN digital option(Rev:1.0:$ABCD)"},
        {CL_CloneInfo_StunKill, "Killed\nby DTMF"},
        {CL_CloneInfo_OverVolt, "Over-voltage detected"},
        {CL_CloneInfo_Esn, " "},
        {CL_CloneInfo_CheckSum, "$1234"},
        {CL_CloneInfo_CheckSum_DSP, "$0000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.cell), c.text) << c.cell;
    // Read-only: keys and entries change nothing.
    const cmcEeprom before = work;
    EXPECT_EQ(Call(CT_Null, CL_CloneInfo_Comment1, 0, 'A').result, cmcCellHandler::kResultNone);
    EXPECT_EQ(Call(CT_Null, CL_CloneInfo_Comment1, 0, 0, "NEW").text, "HELLO");
    EXPECT_TRUE(work == before);
    // A short block reads as zeros past its end instead of beyond it.
    host.info.resize(3);
    EXPECT_EQ(text(CL_CloneInfo_CheckSum), "$0000");
    EXPECT_EQ(text(CL_CloneInfo_Esn), " ");
}

TEST_F(HandlerTest, LanguageCells) {
    RecordingHost host;
    handler->host = &host;
    EXPECT_EQ(Call(CT_Null, CL_Language_Text, 1).text, "Second");
    EXPECT_EQ(Call(CT_Null, CL_Language_Text, 2).text, "");
    EXPECT_EQ(Call(CT_Null, CL_Langage_Select, 0).text, "English");
    Call(CT_Null, CL_Language_Text, 1, '\r');
    EXPECT_EQ(host.language, 1);
    EXPECT_EQ(Call(CT_Null, CL_Langage_Select, 0).text, "Second");
    // The list answer chooses a language.
    cmcCellObj obj;
    obj.category = CT_Null;
    obj.cell = CL_Langage_Select;
    cmcCellObj entry;
    entry.cell = Flex_Language_ChNo;
    entry.parameter = 0;
    cmcCellCapsule answer;
    answer.cell = &entry;
    cmcCellCapsule c;
    c.cell = &obj;
    c.onGrid = true;
    c.link = &answer;
    c.editState = cmcCellCapsule::kEditChosen;
    handler->CallCell(c, 1);
    EXPECT_EQ(host.language, 0);
}

TEST_F(HandlerTest, BankNameRepeaterAndSmarTrunkBank) {
    uint8_t* w = work.Data();
    const int32_t name = indBankCells::kNamesAt + indBankCells::kNameLength * 3;
    w[name + 8] = 0x5A; // the next bank's name
    // A name longer than the field is refused with the field's length, not cut.
    const std::string before(reinterpret_cast<char*>(w + name), 8);
    EXPECT_EQ(Call(CT_BankOp, CL_Mch_BankText, 3, 0, "Fire ground crew").refusal,
              "Too long: at most 8 characters");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(w + name), 8), before);
    EXPECT_EQ(Call(CT_BankOp, CL_Mch_BankText, 3, 0, "Fire grp").refusal, "");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(w + name), 8), "Fire grp");
    EXPECT_EQ(w[name + 8], 0x5A);
    EXPECT_EQ(Call(CT_BankOp, CL_Mch_BankText, 3).text, "Fire grp");
    EXPECT_EQ(Call(CT_BankOp, CL_Mch_BankText, 8).text, ""); // no such bank

    // The repeater of an LTR bank: none is an error once the bank has channels, and the LTR check
    // collects it in the LMR family only.
    const int32_t rpt = indBankCells::kRepeaterAt + indBankCells::kRepeaterStride * 5;
    w[rpt] = 0;
    EXPECT_EQ(Call(CT_BankOp, CL_Mch_Rpt, 5).text, "Non");
    w[L::kBankF1] |= 0x80 >> 5;
    EXPECT_FALSE(handler->ErrorOf(CT_BankOp, CL_Mch_Rpt, 5)); // no channels yet
    w[L::kBankF1] &= ~(0x80 >> 5);
    AddChannel(5, "146.52");
    w[L::kBankF1] |= 0x80 >> 5;
    EXPECT_TRUE(handler->ErrorOf(CT_BankOp, CL_Mch_Rpt, 5));
    EXPECT_TRUE(handler->ErrorOf(CT_Null, CL_Check_Ltr_Repeater, 0));
    Build(1);
    EXPECT_FALSE(handler->ErrorOf(CT_Null, CL_Check_Ltr_Repeater, 0));
    Build(0);
    w[rpt + 1] = 0xA5;
    Call(CT_BankOp, CL_Mch_Rpt, 5, ' ');
    EXPECT_EQ(w[rpt], 1);
    EXPECT_EQ(w[rpt + 1], 0xA5);
    Call(CT_BankOp, CL_Mch_Rpt, 5, 0, "25"); // beyond the list: limited to its last repeater
    EXPECT_EQ(w[rpt], indBankCells::kRepeaters);
    EXPECT_FALSE(handler->ErrorOf(CT_Null, CL_Check_Ltr_Repeater, 0));

    // One SmarTrunk bank at most: stepping moves the flag, wrapping through none.
    w[L::kBankF0] = 0x80 >> 6;
    EXPECT_EQ(Call(CT_Null, CL_Bank_SmarTrunk, 0).text, "Bank 7");
    Call(CT_Null, CL_Bank_SmarTrunk, 0, ' ');
    EXPECT_EQ(w[L::kBankF0], 0x80 >> 7);
    Call(CT_Null, CL_Bank_SmarTrunk, 0, ' ');
    EXPECT_EQ(w[L::kBankF0], 0);
    EXPECT_EQ(Call(CT_Null, CL_Bank_SmarTrunk, 0).text, "Non");
    Call(CT_Null, CL_Bank_SmarTrunk, 0, cmcCellCapsule::kKeyBackspace);
    EXPECT_EQ(w[L::kBankF0], 0x80 >> 7);
}

TEST_F(HandlerTest, ContinuousToneRecords) {
    uint8_t* r = work.Data() + indToneCells::kRecordsAt + indToneCells::kRecordSize * 4;
    Call(CT_CTone, CL_CTone_RX, 4, 0, "023");
    EXPECT_EQ(Call(CT_CTone, CL_CTone_RX, 4).text, "023N");
    Call(CT_CTone, CL_CTone_TX, 4, 0, "754i");
    EXPECT_EQ(Call(CT_CTone, CL_CTone_TX, 4).text, "754i");
    EXPECT_EQ(Call(CT_CTone, CL_CTone_RX, 4).text, "023N"); // each direction its own bytes
    // The selection mark is one bit the tones leave alone, both ways.
    const uint8_t before0 = r[0];
    Call(CT_CTone, CL_CTone_Sel, 4, ' ');
    EXPECT_EQ(r[0], before0 ^ 0x02);
    EXPECT_EQ(Call(CT_CTone, CL_CTone_RX, 4).text, "023N");
    Call(CT_CTone, CL_CTone_RX, 4, 0, "031");
    EXPECT_EQ(r[0] & 0x02, (before0 ^ 0x02) & 0x02);
    // Records outside the table show nothing and take nothing.
    const cmcEeprom before = work;
    EXPECT_EQ(Call(CT_CTone, CL_CTone_RX, 40, 0, "023").text, "");
    EXPECT_TRUE(work == before);
}

TEST_F(HandlerTest, SettingsNamingAnIdListEntry) {
    uint8_t* w = work.Data();
    L::Put16(w, L::kCount101, 3);
    const uint8_t id[4] = {0x12, 0x34, 0x56, 0x70};
    std::copy(id, id + 4, w + 0x1DAD9 + 14 * 2);
    Call(CT_Null, CL_Dpmr_Stun_KillID, 0, 0, "3");
    EXPECT_EQ(L::Get16(w, 0x1FDF1), 2);
    EXPECT_EQ(Call(CT_Null, CL_Dpmr_Stun_KillID, 0).text, "3: 1234567");
    EXPECT_EQ(L::Get16(w, 0x1FDEF), L::Get16(defaults.Data(), 0x1FDEF)); // its neighbours stay
    EXPECT_EQ(Call(CT_Null, CL_Dpmr_Stun_KillID, 0, ' ').result, cmcCellHandler::kResultNone); // no stepping
    EXPECT_EQ(Call(CT_Null, CL_Dpmr_Stun_KillID, 0, '2').result, cmcCellHandler::kResultEdit);
    EXPECT_EQ(L::Get16(w, 0x1FDF1), 2);
    // An entry beyond the list is refused; a stored one beyond it is an error.
    Call(CT_Null, CL_Dpmr_Stun_KillID, 0, 0, "9");
    EXPECT_EQ(L::Get16(w, 0x1FDF1), 2);
    EXPECT_FALSE(handler->ErrorOf(CT_Null, CL_Dpmr_Stun_KillID, 0));
    L::Put16(w, L::kCount101, 2);
    EXPECT_TRUE(handler->ErrorOf(CT_Null, CL_Dpmr_Stun_KillID, 0));
    EXPECT_TRUE(handler->ErrorOf(CT_Null, CL_Check_Dpmr_StunSetting, 0));
    // The NXDN status ID lives in a table data may lack: shown, not edited then.
    Lack({indTable::kNxdnStatusSettings});
    const cmcEeprom before = work;
    Call(CT_Null, CL_Nxdn_Status_Set_PowerStatID, 0, 0, "1");
    EXPECT_TRUE(work == before);
    EXPECT_EQ(Call(CT_Null, CL_Nxdn_Status_Set_PowerStatID, 0).color, cmcCodecIo::kGrey);
}

} // namespace

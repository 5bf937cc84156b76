// List cells against what a save keeps: on data that lacks the tables the model does not pack itself
// (an older file, a radio without them), they show grey and change nothing; on data that holds the
// table, as the initial data does, they edit, and the edit survives packing and expansion (a save and
// a reopen).
#include "HandlerFixture.h"
#include "cells/cmcCodecIo.h"
#include "model/indCellHost.h"
#include "model/indRptList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace handlerfix;
using R = indRptList;

// A list entry edit: an optional key (creating the entry on a blank row), then an optional typed text.
// row < 0 is the list's first blank row (its count word gives the entries in use).
struct ListEdit {
    const char* name;
    int32_t category;
    int32_t cell;
    int32_t row;
    int32_t countAt; // count word of the list when row < 0
    int32_t key;
    const char* typed;
    int bank;                // shown bank (-1: none)
    std::vector<int> tables; // what the data must hold for the edit to be saved
};

class ListStorage : public HandlerTest, public ::testing::WithParamInterface<ListEdit> {
protected:
    int32_t Row(const ListEdit& e) { return e.row >= 0 ? e.row : L::Get16(work.Data(), e.countAt); }
    void Edit(const ListEdit& e, int32_t row) {
        handler->shownBank = e.bank;
        if (e.key)
            Call(e.category, e.cell, row, e.key);
        if (e.typed)
            Call(e.category, e.cell, row, 0, e.typed);
    }
};

TEST_P(ListStorage, EditsOnlyWhatASaveKeeps) {
    const ListEdit& e = GetParam();
    // Without the table: shown grey, and neither the key nor the text changes anything.
    LackIds(e.tables);
    const int32_t row = Row(e);
    handler->shownBank = e.bank;
    EXPECT_EQ(Call(e.category, e.cell, row).color, cmcCodecIo::kGrey);
    const cmcEeprom before = work;
    Edit(e, row);
    EXPECT_TRUE(work == before);
    EXPECT_TRUE(Events().empty());

    // With the table: the edit lands and comes back from the saved memory.
    HoldIds(e.tables);
    const int32_t heldRow = Row(e);
    handler->shownBank = e.bank;
    EXPECT_NE(Call(e.category, e.cell, heldRow).color, cmcCodecIo::kGrey);
    const cmcEeprom held = work;
    Edit(e, heldRow);
    ASSERT_FALSE(work == held);
    const std::string shown = Call(e.category, e.cell, heldRow).text;
    const cmcEeprom edited = work;
    work = Reopened();
    handler->shownBank = e.bank;
    EXPECT_EQ(Call(e.category, e.cell, heldRow).text, shown);
    EXPECT_EQ(std::memcmp(work.Data() + L::kChA, edited.Data() + L::kChA, L::kDir16Copy - L::kChA), 0);
}

const ListEdit kEdits[] = {
    {"MskIdGroupText", CT_MSK_IdGroup, CL_Msk_IdGroup_Text, 7, 0, 0, "DEPOT", -1, {28}},
    {"MskIdGroupAlert", CT_MSK_IdGroup, CL_Msk_IdGroup_Alert, 7, 0, ' ', nullptr, -1, {28}},
    {"MskCallListAddress", CT_MSK_CallList, CL_Msk_CallList_Adr, 31, 0, 0, "123", -1, {26}},
    {"MskStatusText", CT_MSK_Msg_Status, CL_Msk_Msg_Status_Text_Tx, 23, 0, 0, "GO HOME", -1, {29, 30}},
    {"NxdnStatusText", CT_Nxdn_Status, CL_Nxdn_Msg_Status_Text_Rx, 99, 0, 0, "READY", -1, {62, 63}},
    {"NxdnIdNewRow", CT_Nxdn_Inv, CL_Nxdn_Ind_Id_Dec, -1, L::kCount33, '7', "1234", -1, {33}},
    {"MdcAliasNewRow", CT_MDC_Alias, CL_Mdc_Alias1_Text, -1, L::kCount58, 'B', "BASE", -1, {58}},
    {"MdcStatusText", CT_Null, CL_Mdc_Status_Text, 17, 0, 0, "ON SCENE", -1, {59}},
    {"MdcEmergencyCycles", CT_Null, CL_Mdc_Emg_No_Cycles, 4, 0, 0, "9", -1, {53}},
    {"MskCommonAddress", CT_MSK_AdrRange, CL_Msk_AdrRange_Common, 0, 0, 0, "4000", -1, {25}},
    {"TrunkRepeaterNewRow", CT_VORN_Rpt, CL_Rpt_VORN_FreqR, 0, 0, '4', "440.0", 5, {88, 89}},
};

INSTANTIATE_TEST_SUITE_P(Families, ListStorage, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<ListEdit>& info) { return info.param.name; });

// Row commands on a list the data does not save never reach the application; copying still does.
TEST_F(HandlerTest, RowCommandsOnUnsavedListsAreRefused) {
    struct Host : indCellHost {
        std::vector<int32_t> commands;
        bool RunRowCommand(const RowCommand& row, cmcCellCapsule&) override {
            commands.push_back(row.command);
            return false;
        }
        void RunCommand(int32_t, int32_t, const std::string&) override {}
    } host;
    handler->host = &host;
    Lack({indTable::kNxdnIndIds});
    L::Put16(work.Data(), L::kCount33, 2);
    const cmcEeprom before = work;
    for (int32_t command :
         {CL_PMenu_Delete, CL_PMenu_Insert, CL_PMenu_Paste, CL_PMenu_Clear, CL_PMenu_Copy}) {
        cmcCellObj obj;
        obj.category = CT_Nxdn_Inv;
        obj.cell = CL_Nxdn_Ind_Id_Dec;
        obj.parameter = 0;
        cmcCellCapsule c;
        c.cell = &obj;
        c.onGrid = true;
        c.command = command;
        handler->CallCell(c, 1);
    }
    EXPECT_EQ(host.commands, std::vector<int32_t>{CL_PMenu_Copy});
    EXPECT_TRUE(work == before);
}

// Channel cells kept in table 44 (the group bank IDs) are read-only while the data lacks it: a group
// bank's blank row creates no channel whose receive ID would vanish.
TEST_F(HandlerTest, GroupBankIdsNeedTheirTable) {
    Lack({indTable::kChannelsC});
    int bank = -1;
    for (int g = L::kGroups - 1; g >= 0 && bank < 0; --g)
        if (Count(g) == 0)
            bank = g;
    ASSERT_GE(bank, 0);
    work.Data()[L::kBankF1] |= uint8_t(0x80 >> bank);
    handler->shownBank = bank;
    const int n = L::GroupStart(work.Data(), bank);
    const cmcEeprom before = work;
    EXPECT_EQ(Call(CT_Mch, CL_Grp_RxId, n).color, cmcCodecIo::kGrey);
    EXPECT_EQ(Call(CT_Mch, CL_Grp_RxId, n, '5').result, cmcCellHandler::kResultNone);
    Call(CT_Mch, CL_Mch_FreqR, n, '5');
    EXPECT_TRUE(work == before);
}

// A behaviour that writes beside its record into bytes no save keeps is undone there, whatever the
// cell: the trunking transmit inhibit of a channel lives in table 90, which older data may lack.
TEST_F(HandlerTest, WritesToUnsavedBytesAreUndone) {
    Lack({indTable::kChannelsD});
    const int n = AddChannel(0, "146.52");
    const int32_t at = L::kChD + 5 * n + 4;
    const uint8_t was = work.Data()[at];
    const cmcEeprom before = work;
    Outcome o = Call(CT_Mch, CL_Mch_VORN_TxInh, n, ' ');
    EXPECT_TRUE(work == before);
    EXPECT_EQ(o.color, cmcCodecIo::kGrey);
    Hold({90});
    Call(CT_Mch, CL_Mch_VORN_TxInh, n, ' ');
    EXPECT_NE(work.Data()[at], was);
    EXPECT_EQ(Reopened().Data()[at], work.Data()[at]);
}

} // namespace

// The NXDN, dPMR, trunking, MSK and MDC cells whose places the model chooses, through real capsules
// on the shipped initial data: what each shows, one edit and the exact bytes it writes (and no other
// byte), the values the codecs refuse, and a save and reopen that keeps every edit.
#include "HandlerFixture.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecIo.h"
#include "model/datCh.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace handlerfix;
namespace T = indTable;
namespace X = indDigitalExtras;

constexpr int32_t kSpace = ' ';

// One edit of a cell: a key, a typed text or the list's answer (Flex0 with chosen), and the bytes it
// leaves from at on (only the bits of mask are compared; every other byte of the image must stay).
struct Edit {
    const char* name;
    int32_t category;
    int32_t cell;
    int32_t param;
    const char* initially; // the text on the initial data
    int32_t key;           // 0: no key
    const char* typed;     // nullptr: none
    int32_t chosen;        // -1: no list answer
    int32_t at;
    std::vector<uint8_t> bytes;
    uint8_t mask;
    const char* after; // the text after the edit
};

int32_t Opt(int32_t at) {
    return L::At(T::kNxdnOptions, 0) + at;
}
int32_t Msk(int32_t at) {
    return L::At(T::kMskConfig, 0) + at;
}
int32_t Trunk(int32_t at) {
    return L::At(T::kTrunkOptions, 0) + at;
}
int32_t Dpmr(int32_t at) {
    return L::At(T::kDpmrOptions, 0) + at;
}

const Edit kEdits[] = {
    // MSK configuration (table 23).
    {"sync word",
     CT_Null,
     CL_Msk_Cfg_Enc_SyncvWord,
     0,
     "0000",
     0,
     "AB12",
     -1,
     Msk(4),
     {0xAB, 0x12},
     0xFF,
     "AB12"},
    {"status base ID",
     CT_Null,
     CL_Msk_Cfg_Status_FixBaseId,
     0,
     "0",
     0,
     "4095",
     -1,
     Msk(0),
     {0x0F, 0xFF},
     0xFF,
     "4095"},
    {"GPS base ID", CT_Null, CL_Msk_Cfg_Gps_FixBaseId, 0, "0", 0, "17", -1, Msk(2), {0x00, 0x11}, 0xFF, "17"},
    {"beep repeat",
     CT_Null,
     CL_Msk_Cfg_Dec_BeepRepeatTimer,
     0,
     "OFF",
     0,
     "5",
     -1,
     Msk(7),
     {5},
     0xFF,
     "  5.000"},
    {"duration",
     CT_Null,
     CL_Msk_Cfg_Dec_DurationTimer,
     0,
     "  0.000",
     kSpace,
     nullptr,
     -1,
     Msk(8),
     {1},
     0xFF,
     "  1.000"},
    {"status to base",
     CT_Null,
     CL_Msk_Cfg_Status_Send_Base,
     0,
     "Disabled",
     kSpace,
     nullptr,
     -1,
     Msk(11),
     {0x10},
     0x10,
     "Enabled"},
    {"status on dimmer",
     CT_Null,
     CL_Msk_Cfg_Status_Send_Dim,
     0,
     "Disabled",
     kSpace,
     nullptr,
     -1,
     Msk(11),
     {0x08},
     0x08,
     "Enabled"},
    {"GPS with call",
     CT_Null,
     CL_Msk_Cfg_Gps_Send_Call,
     0,
     "Disabled",
     kSpace,
     nullptr,
     -1,
     Msk(11),
     {0x02},
     0x02,
     "Enabled"},
    {"GPS with ack",
     CT_Null,
     CL_Msk_Cfg_Gps_Send_Ack,
     0,
     "Disabled",
     kSpace,
     nullptr,
     -1,
     Msk(11),
     {0x01},
     0x01,
     "Enabled"},
    {"GPS",
     CT_Null,
     CL_Msk_Cfg_Gps_Enable,
     0,
     "Disabled",
     kSpace,
     nullptr,
     -1,
     Msk(13),
     {0x40},
     0x40,
     "Enabled"},
    // MSK timing and errors in the model's area.
    {"NA", CT_Null, CL_Msk_TimingErr_NA, 0, "0", 0, "3", -1, X::kMskTiming + 0, {3}, 0xFF, "3"},
    {"TAC",
     CT_Null,
     CL_Msk_TimingErr_TAC,
     0,
     "  0.000",
     0,
     "0.25",
     -1,
     X::kMskTiming + 4,
     {25},
     0xFF,
     "  0.250"},
    {"TI",
     CT_Null,
     CL_Msk_TimingErr_TI,
     0,
     "  0.000",
     0,
     "12.5",
     -1,
     X::kMskTiming + 13,
     {125},
     0xFF,
     " 12.500"},
    {"busy check",
     CT_Null,
     CL_Msk_TimingErr_BusyCheck,
     0,
     "OFF",
     kSpace,
     nullptr,
     -1,
     X::kMskTiming + 23,
     {1},
     0x01,
     "ON"},
    {"LET call",
     CT_Null,
     CL_Msk_TimingErr_LetCall,
     0,
     "0",
     0,
     "200",
     -1,
     X::kMskTiming + 25,
     {200},
     0xFF,
     "200"},
    // MSK short messages 2 and 3 follow message 1 in the model's area.
    {"message 2",
     CT_MSK_Msg_ShortTxt,
     CL_Msk_Msg_ShortTxtTxMsg_2,
     7,
     "",
     0,
     "HELLO",
     -1,
     X::kMskMessages23 + 16 * 7,
     {'H', 'E', 'L', 'L', 'O', ' ', ' ', ' '},
     0xFF,
     "HELLO"},
    {"message 3",
     CT_MSK_Msg_ShortTxt,
     CL_Msk_Msg_ShortTxtTxMsg_3,
     0,
     "",
     0,
     "12345678",
     -1,
     X::kMskMessages23 + 8,
     {'1', '2', '3', '4', '5', '6', '7', '8'},
     0xFF,
     "12345678"},
    // NXDN options (tables 36, 78) and the status list.
    {"block from",
     CT_Null,
     CL_Nxdn_Grp_Set_BlockDecode_Min,
     0,
     "1",
     0,
     "65535",
     -1,
     L::At(T::kNxdnGroupSettings, 2),
     {0xFF, 0xFF},
     0xFF,
     "65535"},
    {"block to",
     CT_Null,
     CL_Nxdn_Grp_Set_BlockDecode_Max,
     0,
     "1",
     0,
     "300",
     -1,
     L::At(T::kNxdnGroupSettings, 4),
     {0x01, 0x2C},
     0xFF,
     "300"},
    {"strapped",
     CT_Null,
     CL_Nxdn_Grp_Op_Strapped,
     0,
     "OFF",
     kSpace,
     nullptr,
     -1,
     Opt(25),
     {0x80},
     0x80,
     "ON"},
    {"ID display",
     CT_Null,
     CL_Nxdn_Config_ID_Disp,
     0,
     "OFF",
     kSpace,
     nullptr,
     -1,
     Opt(24),
     {0x80},
     0x80,
     "ON"},
    {"emergency beep",
     CT_Null,
     CL_Nxdn_Config_Emer_Beep,
     0,
     "OFF",
     0,
     nullptr,
     2,
     Opt(38),
     {0x02},
     0x0F,
     "Double beep"},
    {"global auto",
     CT_Null,
     CL_Nxdn_Config_Global_Auto,
     0,
     "OFF",
     kSpace,
     nullptr,
     -1,
     Opt(26),
     {0x20},
     0x20,
     "ON"},
    {"stun ID", CT_Null, CL_Nxdn_Stun_FixedID, 0, "1", 0, "1234", -1, Opt(4), {0x04, 0xD2}, 0xFF, "1234"},
    {"stun trunking ID",
     CT_Null,
     CL_Nxdn_Stun_VORN_FixedID,
     0,
     "1",
     0,
     "2000",
     -1,
     Opt(6),
     {0x07, 0xD0},
     0xFF,
     "2000"},
    {"kill ID", CT_Null, CL_Nxdn_Kill_FixedID, 0, "1", 0, "5", -1, Opt(8), {0x00, 0x05}, 0xFF, "5"},
    {"kill trunking ID",
     CT_Null,
     CL_Nxdn_Kill_VORN_FixedID,
     0,
     "1",
     0,
     "99",
     -1,
     Opt(10),
     {0x00, 0x63},
     0xFF,
     "99"},
    {"status AUX",
     CT_Nxdn_Status,
     CL_Nxdn_Msg_Status_AUX,
     5,
     "OFF",
     0,
     nullptr,
     2,
     L::At(T::kNxdnStatusRx, 0) + 12 * 5 + 9,
     {2},
     0xFF,
     "AUX 2"},
    // Trunking options (table 95).
    {"trunking unit ID",
     CT_Null,
     CL_VORN_Op_Unit_ID,
     0,
     "Per channel",
     kSpace,
     nullptr,
     -1,
     Trunk(1),
     {0x40},
     0x40,
     "Fixed"},
    {"trunking global ID",
     CT_Null,
     CL_VORN_Op_Global_Edit,
     0,
     "1",
     0,
     "1999",
     -1,
     Trunk(8),
     {0x07, 0xCF},
     0xFF,
     "1999"},
    {"trunking auto",
     CT_Null,
     CL_VORN_Op_Global_Auto,
     0,
     "OFF",
     kSpace,
     nullptr,
     -1,
     Trunk(1),
     {0x20},
     0x20,
     "ON"},
    // dPMR options (tables 103, 104) and the status list.
    {"global dPMR ID",
     CT_Null,
     CL_Dpmr_Config_Global_ID,
     0,
     "0000001",
     0,
     "1234567",
     -1,
     Dpmr(0),
     {0x12, 0x34, 0x56, 0x70},
     0xFF,
     "1234567"},
    {"call key A",
     CT_Null,
     CL_Dpmr_Config_KeyAssign_CallA,
     0,
     "0000010",
     0,
     "9999999",
     -1,
     L::At(T::kDpmrGroupSettings, 2),
     {0x99, 0x99, 0x99, 0x90},
     0xFF,
     "9999999"},
    {"call key B",
     CT_Null,
     CL_Dpmr_Config_KeyAssign_CallB,
     0,
     "0000010",
     0,
     "0000001",
     -1,
     L::At(T::kDpmrGroupSettings, 6),
     {0x00, 0x00, 0x00, 0x10},
     0xFF,
     "0000001"},
    {"input digits",
     CT_Null,
     CL_Dpmr_Ind_InputDigit,
     0,
     "_______\n",
     '3',
     nullptr,
     -1,
     Dpmr(12),
     {0x20},
     0xFF,
     "__3____\n"},
    {"broadcast TX",
     CT_Null,
     CL_Dpmr_Option_Broadcast_TX,
     0,
     "OFF",
     kSpace,
     nullptr,
     -1,
     Dpmr(28),
     {0x80},
     0x80,
     "ON"},
    {"pdS", CT_Null, CL_Dpmr_Config_pdS, 0, "OFF", kSpace, nullptr, -1, Dpmr(27), {0x80}, 0x80, "ON"},
    {"dPMR status AUX",
     CT_Dpmr_Status,
     CL_Dpmr_Msg_Status_AUX,
     2,
     "OFF",
     0,
     nullptr,
     3,
     L::At(T::kDpmrStatusRx, 0) + 12 * 2 + 11,
     {3},
     0xFF,
     "AUX 3"},
    {"dPMR status number",
     CT_Dpmr_Status,
     CL_Dpmr_Msg_Status_Text_List_StatusDigit,
     3,
     "Disable",
     0,
     "5",
     -1,
     L::At(T::kDpmrStatusTx, 0) + 12 * 3 + 8,
     {6},
     0xFF,
     "5"},
    {"last status",
     CT_Dpmr_Status,
     CL_Dpmr_Msg_Status_Text_List_LastStatus,
     32,
     "Disable",
     0,
     "3",
     -1,
     X::kDpmrLastStatus + 32,
     {5},
     0xFF,
     "3"},
    {"receive status",
     CT_Dpmr_Status,
     CL_Dpmr_Msg_Status_Text_List_StatusDigit_Rx,
     0,
     "Disable",
     kSpace,
     nullptr,
     -1,
     X::kDpmrRxStatus,
     {1},
     0xFF,
     "Last status"},
    // MDC systems.
    {"MDC alias",
     CT_Null,
     CL_Mdc_System_List_Alias,
     4,
     "Disable",
     kSpace,
     nullptr,
     -1,
     X::kMdcSystemAlias + 4,
     {1},
     0x01,
     "Enable"},
};

class DigitalCells : public HandlerTest {
protected:
    uint8_t* W() { return work.Data(); }
    Outcome Run(const Edit& e) {
        if (e.chosen >= 0)
            return Answer(e.category, e.cell, e.param, cmcChoiceCodecs::kFlex0, e.chosen);
        return Call(e.category, e.cell, e.param, e.key, e.typed);
    }
    // The bytes of the image that differ from before outside [at, at + size) and outside the bits of
    // mask inside it.
    std::vector<int32_t> StrayChanges(const cmcEeprom& before, int32_t at, size_t size, uint8_t mask) {
        std::vector<int32_t> stray;
        for (int32_t i = 0; i < L::kWorkSize; ++i) {
            const bool inside = i >= at && i < at + int32_t(size);
            const uint8_t keep = inside ? uint8_t(~mask) : uint8_t(0xFF);
            if ((work.Data()[i] & keep) != (before.Data()[i] & keep))
                stray.push_back(i);
        }
        return stray;
    }
};

TEST_F(DigitalCells, EachEditShowsItsValueAndWritesOnlyItsBytes) {
    for (const Edit& e : kEdits) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(Call(e.category, e.cell, e.param).text, e.initially);
        const cmcEeprom before = work;
        Run(e);
        for (size_t i = 0; i < e.bytes.size(); ++i) {
            EXPECT_EQ(W()[e.at + int32_t(i)] & e.mask, e.bytes[i] & e.mask) << "byte " << i;
        }
        EXPECT_EQ(StrayChanges(before, e.at, e.bytes.size(), e.mask), std::vector<int32_t>{});
        EXPECT_EQ(Call(e.category, e.cell, e.param).text, e.after);
    }
}

TEST_F(DigitalCells, EditsSurviveASaveAndReopen) {
    for (const Edit& e : kEdits)
        Run(e);
    const cmcEeprom edited = work;
    std::vector<std::string> shown;
    for (const Edit& e : kEdits)
        shown.push_back(Call(e.category, e.cell, e.param).text);
    work = Reopened();
    for (size_t k = 0; k < std::size(kEdits); ++k) {
        const Edit& e = kEdits[k];
        SCOPED_TRACE(e.name);
        for (size_t i = 0; i < e.bytes.size(); ++i) {
            EXPECT_EQ(W()[e.at + int32_t(i)], edited.Data()[e.at + int32_t(i)]) << "byte " << i;
        }
        EXPECT_EQ(Call(e.category, e.cell, e.param).text, shown[k]);
    }
}

// A drawing call never writes, whatever the capsule carries.
TEST_F(DigitalCells, DrawingWritesNothing) {
    const cmcEeprom before = work;
    for (const Edit& e : kEdits) {
        SCOPED_TRACE(e.name);
        Call(e.category, e.cell, e.param, 0, nullptr, true);
    }
    EXPECT_TRUE(work == before);
}

// Typed values outside a cell's range are limited to it, the way the cell's codec limits them.
TEST_F(DigitalCells, OutOfRangeTextIsLimitedToTheRange) {
    struct Limited {
        int32_t cell;
        const char* typed;
        int32_t at;
        std::vector<uint8_t> bytes;
    };
    const Limited cases[] = {
        {CL_Nxdn_Grp_Set_BlockDecode_Min, "0", L::At(T::kNxdnGroupSettings, 2), {0x00, 0x01}},
        {CL_Nxdn_Stun_FixedID, "65520", Opt(4), {0xFF, 0xEF}}, // the overlay's largest unit ID
        {CL_Nxdn_Kill_VORN_FixedID, "2001", Opt(10), {0x07, 0xD0}},
        {CL_Nxdn_Config_Global_Edit, "0", Opt(2), {0x00, 0x01}},
        {CL_VORN_Op_Global_Edit, "2001", Trunk(8), {0x07, 0xD0}},
        {CL_Msk_Cfg_Status_FixBaseId, "4096", Msk(0), {0x0F, 0xFF}},
        {CL_Msk_TimingErr_TAC, "2.56", X::kMskTiming + 4, {255}},
    };
    for (const Limited& c : cases) {
        SCOPED_TRACE(c.cell);
        const cmcEeprom before = work;
        Call(CT_Null, c.cell, 0, 0, c.typed);
        for (size_t i = 0; i < c.bytes.size(); ++i) {
            EXPECT_EQ(W()[c.at + int32_t(i)], c.bytes[i]) << "byte " << i;
        }
        EXPECT_EQ(StrayChanges(before, c.at, c.bytes.size(), 0xFF), std::vector<int32_t>{});
    }
    // A seven-digit dPMR ID below the first one becomes the first one.
    Call(CT_Null, CL_Dpmr_Config_Global_ID, 0, 0, "0000000");
    EXPECT_EQ(L::Get32(W(), Dpmr(0)), 0x00000010u);
}

// The fixed unit ID: while the auto form is on, the cell edits the leading digits and shows them with
// their wildcard digits; the whole ID keeps its own place.
TEST_F(DigitalCells, FixedUnitIdFollowsItsForm) {
    Call(CT_Null, CL_Nxdn_Config_Global_Edit, 0, 0, "4321");
    Call(CT_Null, CL_Nxdn_Config_Global_Auto, 0, kSpace);
    EXPECT_EQ(Call(CT_Null, CL_Nxdn_Config_Global_Edit, 0).text, "0****");
    Call(CT_Null, CL_Nxdn_Config_Global_Edit, 0, 0, "6");
    EXPECT_EQ(L::Get16(W(), Opt(0)), 6);
    EXPECT_EQ(L::Get16(W(), Opt(2)), 4321);
    EXPECT_EQ(Call(CT_Null, CL_Nxdn_Config_Global_Edit, 0).text, "6****");
    const cmcEeprom before = work;
    Call(CT_Null, CL_Nxdn_Config_Global_Edit, 0, 0, "7"); // no unit ID starts with 7 and four more digits
    EXPECT_TRUE(work == before);

    Call(CT_Null, CL_VORN_Op_Global_Auto, 0, kSpace);
    Call(CT_Null, CL_VORN_Op_Global_Edit, 0, 0, "2");
    EXPECT_EQ(L::Get16(W(), Trunk(6)), 2);
    EXPECT_EQ(Call(CT_Null, CL_VORN_Op_Global_Edit, 0).text, "2***");
}

// Cells that depend on a switch are grey while it is off, and stay editable.
TEST_F(DigitalCells, DependentValuesAreGreyWhileTheirSwitchIsOff) {
    const int32_t grey = cmcCodecIo::kGrey;
    EXPECT_EQ(Call(CT_Null, CL_Nxdn_Stun_FixedID, 0).color, grey);
    Call(CT_Null, CL_Nxdn_Stun_FixedID_Enable, 0, kSpace);
    EXPECT_NE(Call(CT_Null, CL_Nxdn_Stun_FixedID, 0).color, grey);
    EXPECT_EQ(Call(CT_Null, CL_Nxdn_Kill_FixedID, 0).color, grey);
    EXPECT_EQ(Call(CT_Null, CL_Nxdn_Grp_Set_BlockDecode_Max, 0).color, grey);
    Call(CT_Null, CL_Nxdn_Grp_Set_BlockDecode, 0, kSpace);
    EXPECT_NE(Call(CT_Null, CL_Nxdn_Grp_Set_BlockDecode_Max, 0).color, grey);
    EXPECT_EQ(Call(CT_Null, CL_Dpmr_Config_Global_ID, 0).color, grey);
    Call(CT_Null, CL_Dpmr_Config_Global_ID, 0, 0, "0000005");
    EXPECT_EQ(Call(CT_Null, CL_Dpmr_Config_Global_ID, 0).text, "0000005");
    // The channels show the fixed ID: a change redraws every cell.
    EXPECT_NE(Call(CT_Null, CL_Dpmr_Config_Global_ID, 0, 0, "0000006").scope & cmcCellCapsule::kScopeAll, 0);
}

// A status number names one status: a number another entry of the same list already has is refused,
// and stepping passes over it.
TEST_F(DigitalCells, StatusNumbersAreNotTakenTwice) {
    Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_StatusDigit, 3, 0, "5");
    const cmcEeprom before = work;
    Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_StatusDigit, 4, 0, "5");
    EXPECT_TRUE(work == before);
    Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_StatusDigit, 4, 0, "4");
    Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_StatusDigit, 4, kSpace);
    EXPECT_EQ(Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_StatusDigit, 4).text, "6");

    Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_StatusDigit_Rx, 32, 0, "0");
    const cmcEeprom rx = work;
    Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_StatusDigit_Rx, 0, 0, "0");
    EXPECT_TRUE(work == rx);
    // The two receive lists are separate lists.
    Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_LastStatus, 0, 0, "0");
    EXPECT_EQ(Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_LastStatus, 0).text, "0");
    // Entry 33 is past both lists.
    EXPECT_EQ(Call(CT_Dpmr_Status, CL_Dpmr_Msg_Status_Text_List_LastStatus, 33).text, "");
}

// The ID references: the trunking status and GPS IDs name entries of the trunking ID list, the dPMR own
// group names a group of the dPMR ID list in each receive talk group entry.
TEST_F(DigitalCells, ReferencesNameEntriesInUse) {
    datCh::SetEntriesInUse(W(), datCh::kKindTrunkIndId, 3);
    Call(CT_Null, CL_Nxdn_Status_Set_VORN_PowerStatID, 0, 0, "3");
    EXPECT_EQ(L::Get16(W(), Trunk(2)), 2);
    Call(CT_Null, CL_Nxdn_GPS_VORN_GPS_Send_ID, 0, 0, "2");
    EXPECT_EQ(L::Get16(W(), Trunk(4)), 1);
    EXPECT_EQ(Call(CT_Null, CL_Nxdn_GPS_VORN_GPS_Send_ID, 0).text, "2");
    const cmcEeprom before = work;
    Call(CT_Null, CL_Nxdn_GPS_VORN_GPS_Send_ID, 0, 0, "4");
    EXPECT_TRUE(work == before);

    datCh::SetEntriesInUse(W(), datCh::kKindDpmrIndId, 5);
    const int32_t group6 = L::At(T::kDpmrRxTalkGroups, 0) + 4 * 6 + 2;
    Call(CT_Null, CL_Dpmr_Grp_Set_BelongGrpList_ID, 6, 0, "5");
    EXPECT_EQ(L::Get16(W(), group6), 4);
    EXPECT_EQ(Call(CT_Null, CL_Dpmr_Grp_Set_BelongGrpList_ID, 8).text, "");
}

// The record of an MSK short message carries its three messages: decoding then encoding gives the
// same bytes, and a change of message 2 lands in the model's area only.
TEST(indDigitalRecords, MskMessageRecordCarriesMessagesTwoAndThree) {
    cmcEeprom work;
    work.SetSize(L::kWorkSize);
    uint8_t* w = work.Data();
    for (int32_t i = 0; i < L::kWorkSize; ++i)
        w[i] = uint8_t(i * 7 + 3);
    const cmcEeprom before = work;
    datCh r(&work);
    for (int i = 0; i < 8; ++i) {
        r.Decode(datCh::kKindMskMessage, i);
        EXPECT_EQ(std::memcmp(r.text, w + L::SlotAddress(T::kMskMessages) + 8 * i, 8), 0);
        EXPECT_EQ(std::memcmp(r.text + 8, w + X::kMskMessages23 + 16 * i, 16), 0);
        r.Encode(0, i);
    }
    EXPECT_TRUE(work == before);
    r.Decode(datCh::kKindMskMessage, 2);
    r.text[8] = 'Z';
    r.Encode(0, 2);
    EXPECT_EQ(w[X::kMskMessages23 + 32], 'Z');
    w[X::kMskMessages23 + 32] = before.Data()[X::kMskMessages23 + 32];
    EXPECT_TRUE(work == before);
}

} // namespace

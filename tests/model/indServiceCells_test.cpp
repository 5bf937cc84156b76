// The cells of the maintenance sheets and the settings placed in the model's own bytes, through the real
// cell handler on the shipped initial data: the LTR options, the voting zone, the bank for new
// channels, the adjustment channel and its captions, the passwords, the PLL reference line of the
// clone information and the radio memory debug sheet. Each edit lands in exactly its bits and
// survives a save and a reopen.
#include "HandlerFixture.h"

#include "cells/cmcCodecIo.h"
#include "model/datCh.h"
#include "model/indCellHost.h"
#include "model/indServiceCells.h"
#include "model/indSettingTable.h"

#include <cstring>
#include <optional>

using namespace handlerfix;
namespace P = indOwnPlaces;

namespace {

class PasswordWindows : public NullWindows {
public:
    std::string answer;
    bool AskPassword(const cmcCellCapsule*, std::string& typed) override {
        typed = answer;
        return true;
    }
};

class InfoHost : public indCellHost {
public:
    std::vector<uint8_t> info;
    void RunCommand(int32_t, int32_t, const std::string&) override {}
    std::vector<uint8_t> CloneInfo() override { return info; }
};

class ServiceCells : public HandlerTest {
protected:
    void SetUp() override {
        HandlerTest::SetUp();
        // The model's own areas are carried tables; data that lacks them gets them here, as new data
        // from the shipped initial files does.
        if (!indWorkImage::Keeps(work.Data(), P::kVoteZone))
            Hold({indTable::kModelExtras2});
        if (!indWorkImage::Keeps(work.Data(), P::kLtrSwitches))
            Hold({indTable::kModelRepeaters});
        ASSERT_TRUE(indWorkImage::Keeps(work.Data(), P::kVoteZone));
        ASSERT_TRUE(indWorkImage::Keeps(work.Data(), P::kLtrSwitches));
        initial = work;
    }
    cmcEeprom initial;
    uint8_t At(int32_t offset) { return work.Data()[offset]; }
};

// One edit of a setting placed by the model: the text on the initial data, the action, the text after
// it and the bits it changed (mask and value; two bytes, high first, for 16-bit fields).
struct Edit {
    const char* name;
    int32_t category;
    int32_t cell;
    const char* before;
    int32_t key; // a key, or 0 for the typed text
    const char* typed;
    const char* after;
    int32_t at;
    uint16_t mask;
    uint16_t value;
    int bytes = 1;
};

const Edit kEdits[] = {
    {"handshake beep", CT_Null, CL_Ltr_BeepHandShake, "OFF", ' ', nullptr, "ON", P::kLtrBeeps, 0x08, 0x08},
    {"beep on receive", CT_Null, CL_Ltr_BeepOnRx, "OFF", ' ', nullptr, "ON", P::kLtrBeeps, 0x20, 0x20},
    {"dispatch time-out", CT_Null, CL_Ltr_TotDispatch, "OFF", ' ', nullptr, "ON", P::kLtrSwitches, 0x01,
     0x01},
    {"phone time-out", CT_Null, CL_Ltr_TotPhone, "OFF", ' ', nullptr, "ON", P::kLtrSwitches, 0x02, 0x02},
    {"busy lockout", CT_Null, CL_Ltr_TaBusyLockout, "OFF", ' ', nullptr, "ON", P::kLtrSwitches, 0x04, 0x04},
    {"LTR power save", CT_Null, CL_Ltr_PwrSave, "OFF", ' ', nullptr, "ON", P::kLtrSwitches, 0x08, 0x08},
    {"blocked IDs", CT_Null, CL_Ltr_BlockIdEna, "Disable", ' ', nullptr, "Enable", P::kLtrSwitches, 0x10,
     0x10},
    {"priority decode", CT_Null, CL_Ltr_DecPriTgEna, "Disable", ' ', nullptr, "Enable", P::kLtrSwitches, 0x20,
     0x20},
    {"first blocked ID", CT_Null, CL_Ltr_BlockIdStart, "0", 0, "17", "17", P::kLtrBlockIdFirst, 0xFF, 17},
    {"last blocked ID limited", CT_Null, CL_Ltr_BlockIdEnd, "0", 0, "300", "254", P::kLtrBlockIdLast, 0xFF,
     254},
    {"priority talk group", CT_Null, CL_Ltr_PriTgId, "0", 0, "5", "5", P::kLtrPriorityId, 0xFF, 5},
    {"preamble bits", CT_Null, CL_Ltr_Op_NumPreBit, "0", ' ', nullptr, "1", P::kLtrPreambleBits, 0xFF, 1},
    {"hang bits", CT_Null, CL_Ltr_Op_NumHangBit, "0", 0, "12", "12", P::kLtrHangBits, 0xFF, 12},
    {"voting RF power", CT_Null, CL_VoteZone_RfPo, "High", ' ', nullptr, "Middle", P::kVoteZone, 0x03, 0x01},
    {"voting scrambler", CT_Null, CL_VoteZone_Scrm_On, "OFF", ' ', nullptr, "ON", P::kVoteZone, 0x0C, 0x04},
    {"voting scrambler type", CT_Null, CL_VoteZone_Scrm_Type, "Inversion", ' ', nullptr, "Rolling code",
     P::kVoteZone, 0x10, 0x10},
    {"voting scrambler code", CT_Null, CL_VoteZone_Scrm_Code, "1", 0, "32", "32", P::kVoteScramblerCode, 0xFF,
     31},
    {"voting encryption", CT_Null, CL_VoteZone_Encryption, "OFF", 0, "3", "3", P::kVoteEncryption, 0xFF, 3},
    {"voting fast mute", CT_Null, CL_VoteZone_Fast_Mute, "OFF", ' ', nullptr, "ON", P::kVoteZone, 0x20, 0x20},
    {"adjustment bank", CT_ADJ, CL_Adjust_ChGrp, "1", 0, "2", "2", P::kAdjustBank, 0xFF, 1},
    {"adjustment transmit mode", CT_ADJ, CL_Adjust_TxMode, "Analog", ' ', nullptr, "Mixed analog",
     P::kAdjustModes, 0x03, 0x01},
    {"adjustment receive mode", CT_ADJ, CL_Adjust_RxMode, "Analog", 8, nullptr, "Digital", P::kAdjustModes,
     0x0C, 0x0C},
    {"balance frequency", CT_ADJ, CL_Adjust_BALFreq, "0", 0, "1000", "1000", P::kAdjustBalanceHz, 0xFFFF,
     1000, 2},
    {"bank for new channels stepped", CT_Null, CL_Bank_SelBankFree, "Bank 1", ' ', nullptr, "Bank 2",
     P::kFreeBank, 0xFF, 1},
    {"bank for new channels typed", CT_Null, CL_Bank_SelBankFree, "Bank 1", 0, "bank 5", "Bank 5",
     P::kFreeBank, 0xFF, 4},
    {"no bank for new channels", CT_Null, CL_Bank_SelBankFree, "Bank 1", 0, "Non", "Non", P::kFreeBank, 0xFF,
     8},
};

uint16_t Field(const uint8_t* w, const Edit& e) {
    return e.bytes == 2 ? L::Get16(w, e.at) : w[e.at];
}

TEST_F(ServiceCells, EachEditShowsAndStoresExactlyItsBitsAndSurvivesASave) {
    for (const Edit& e : kEdits) {
        SCOPED_TRACE(e.name);
        work = initial;
        const cmcEeprom before = work;
        EXPECT_EQ(Call(e.category, e.cell, 0).text, e.before);
        const Outcome o =
            e.key ? Call(e.category, e.cell, 0, e.key) : Call(e.category, e.cell, 0, 0, e.typed);
        EXPECT_EQ(o.text, e.after);
        EXPECT_EQ(Call(e.category, e.cell, 0).text, e.after);
        EXPECT_EQ(Field(work.Data(), e) & e.mask, e.value);
        // Nothing else changed: the field's other bits and every other byte.
        EXPECT_EQ(Field(work.Data(), e) & ~e.mask & (e.bytes == 2 ? 0xFFFF : 0xFF),
                  Field(before.Data(), e) & ~e.mask & (e.bytes == 2 ? 0xFFFF : 0xFF));
        for (int32_t i = 0; i < L::kWorkSize; ++i) {
            if (i >= e.at && i < e.at + e.bytes)
                continue;
            if (work.Data()[i] != before.Data()[i]) {
                ADD_FAILURE() << "byte 0x" << std::hex << i << " changed too";
                break;
            }
        }
        const cmcEeprom reread = Reopened();
        EXPECT_EQ(Field(reread.Data(), e), Field(work.Data(), e));
    }
}

TEST_F(ServiceCells, EveryRowPlacedByTheModelIsMarkedChosenAndStaysInsideItsArea) {
    const int32_t cells[] = {
        CL_Ltr_BeepHandShake,  CL_Ltr_BeepOnRx,        CL_Ltr_TotDispatch,    CL_Ltr_TotPhone,
        CL_Ltr_TaBusyLockout,  CL_Ltr_PwrSave,         CL_Ltr_BlockIdEna,     CL_Ltr_DecPriTgEna,
        CL_Ltr_BlockIdStart,   CL_Ltr_BlockIdEnd,      CL_Ltr_PriTgId,        CL_Ltr_Op_NumPreBit,
        CL_Ltr_Op_NumHangBit,  CL_VoteZone_RfPo,       CL_VoteZone_Scrm_On,   CL_VoteZone_Scrm_Type,
        CL_VoteZone_Scrm_Code, CL_VoteZone_Encryption, CL_VoteZone_Fast_Mute, CL_VoteOp_VoteText,
        CL_Adjust_ChGrp,       CL_Adjust_TxMode,       CL_Adjust_RxMode,      CL_Adjust_BALFreq,
        CL_Adjust_Password,    CL_Maker_Password};
    const int32_t extras = indLayout::At(indTable::kModelExtras2, 250);
    const int32_t extrasEnd = indLayout::At(indTable::kModelExtras2, 499);
    for (int32_t cell : cells) {
        SCOPED_TRACE(cell);
        const indSettingRow* row = indSettingTable::Find(cell);
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(row->chosen);
        const int32_t first = row->ByteOf(0), last = row->LastByteOf(0);
        const bool inLtr = first >= indMap::kRepeaterArea + 8 && last <= indMap::kRepeaterArea + 23;
        const bool inExtras = first >= extras && last <= extrasEnd;
        EXPECT_TRUE(inLtr || inExtras) << std::hex << first;
    }
}

TEST_F(ServiceCells, TheDetailsOfASwitchedOffFeatureAreGreyUntilItIsOn) {
    struct Case {
        int32_t detail, feature;
    } cases[] = {{CL_Ltr_BlockIdStart, CL_Ltr_BlockIdEna},
                 {CL_Ltr_BlockIdEnd, CL_Ltr_BlockIdEna},
                 {CL_Ltr_PriTgId, CL_Ltr_DecPriTgEna},
                 {CL_VoteZone_Scrm_Type, CL_VoteZone_Scrm_On},
                 {CL_VoteZone_Scrm_Code, CL_VoteZone_Scrm_On}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail);
        work = initial;
        EXPECT_EQ(Call(CT_Null, c.detail, 0).color, cmcCodecIo::kGrey);
        const Outcome on = Call(CT_Null, c.feature, 0, ' ');
        EXPECT_EQ(on.scope & cmcCellCapsule::kScopeAll, cmcCellCapsule::kScopeAll); // the details redraw
        EXPECT_NE(Call(CT_Null, c.detail, 0).color, cmcCodecIo::kGrey);
    }
}

TEST_F(ServiceCells, TheVotingTextIsEightDisplayCharacters) {
    EXPECT_EQ(Call(CT_Null, CL_VoteOp_VoteText, 0).text, "");
    // Ten characters do not fit: refused with the field's length rather than cut to eight.
    EXPECT_EQ(Call(CT_Null, CL_VoteOp_VoteText, 0, 0, "ZONE NORTH").refusal,
              "Too long: at most 8 characters");
    EXPECT_EQ(Call(CT_Null, CL_VoteOp_VoteText, 0).text, "");
    Call(CT_Null, CL_VoteOp_VoteText, 0, 0, "ZONE NOR");
    EXPECT_EQ(Call(CT_Null, CL_VoteOp_VoteText, 0).text, "ZONE NOR");
    EXPECT_EQ(std::memcmp(work.Data() + P::kVoteText, "ZONE NOR", 8), 0);
    EXPECT_EQ(At(P::kFreeBank), 0); // the field after it is untouched
    const cmcEeprom reread = Reopened();
    EXPECT_EQ(std::memcmp(reread.Data() + P::kVoteText, "ZONE NOR", 8), 0);
}

TEST_F(ServiceCells, PasswordsAreNeverShownAndKeepToTheirLength) {
    PasswordWindows answering;
    env.SetWindows(&answering);
    EXPECT_EQ(Call(CT_Null, CL_Maker_Password, 0).text, "");
    answering.answer = "MAKER-KEY";
    EXPECT_EQ(Call(CT_Null, CL_Maker_Password, 0, cmcCellCapsule::kKeyReturn).text, "********");
    EXPECT_EQ(std::memcmp(work.Data() + P::kMakerPassword, "MAKER-KEY       ", 16), 0);

    // A longer answer than the adjustment password holds stops at its eight bytes: the maker password
    // right after it stays.
    answering.answer = "ADJUST-PASSWORD";
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_Password, 0, cmcCellCapsule::kKeyReturn).text, "********");
    EXPECT_EQ(std::memcmp(work.Data() + P::kAdjustPassword, "ADJUST-P", 8), 0);
    EXPECT_EQ(std::memcmp(work.Data() + P::kMakerPassword, "MAKER-KEY       ", 16), 0);

    const cmcEeprom reread = Reopened();
    EXPECT_EQ(std::memcmp(reread.Data() + P::kAdjustPassword, "ADJUST-PMAKER-KEY", 17), 0);
    env.SetWindows(&windows);
}

TEST_F(ServiceCells, TheAdjustmentChannelIsChosenInItsBankAndItsCaptionsFollowIt) {
    const int bank0 = Count(0);
    ASSERT_GE(bank0, 2);
    datCh second(&work);
    second.Decode(datCh::kChannel1, L::GroupStart(work.Data(), 0) + 1);
    char freq[64];
    std::snprintf(freq, sizeof freq, "RX=%d.%05d, TX=%d.%05d", second.rxFrequency / 1000000,
                  second.rxFrequency % 1000000 / 10, second.txFrequency / 1000000,
                  second.txFrequency % 1000000 / 10);

    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChNo, 0).text, "1");
    const Outcome stepped = Call(CT_ADJ, CL_Adjust_ChNo, 0, ' ');
    EXPECT_EQ(stepped.text, "2");
    EXPECT_EQ(At(P::kAdjustPosition), 1);
    EXPECT_EQ(stepped.scope & cmcCellCapsule::kScopeAll, cmcCellCapsule::kScopeAll);
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChNoFreq, 0).text, freq);
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChRfPow, 0).text, "RF Power=High, Mode=Wide");

    // The channel's type and power as the captions name them.
    second.Set(datCh::Field::ChannelType, 2);
    second.Set(datCh::Field::RfPower, 3);
    second.Set(datCh::Field::Narrow, 1);
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_TxModeComment, 0).text, "CH Type=Mixed(Digital)");
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_RxModeComment, 0).text, "CH Type=Mixed(Digital)");
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChRfPow, 0).text, "RF Power=Low2, Mode=Narrow");

    // Typed positions stay inside the bank; the captions are read-only.
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChNo, 0, 0, "200").text, std::to_string(bank0));
    EXPECT_EQ(At(P::kAdjustPosition), bank0 - 1);
    const cmcEeprom before = work;
    Call(CT_ADJ, CL_Adjust_ChNoFreq, 0, 0, "146.52");
    Call(CT_ADJ, CL_Adjust_TxModeComment, 0, ' ');
    EXPECT_TRUE(work == before);
}

TEST_F(ServiceCells, ABankWithoutChannelsHasNoAdjustmentChannel) {
    int empty = -1;
    for (int g = 0; g < L::kGroups && empty < 0; ++g)
        if (Count(g) == 0)
            empty = g;
    ASSERT_GE(empty, 0);
    Call(CT_ADJ, CL_Adjust_ChGrp, 0, 0, std::to_string(empty + 1).c_str());
    const Outcome o = Call(CT_ADJ, CL_Adjust_ChNo, 0);
    EXPECT_EQ(o.text, "---");
    EXPECT_EQ(o.color, cmcCodecIo::kGrey);
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChNoFreq, 0).text, "---");
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChRfPow, 0).text, "---");
    const cmcEeprom before = work;
    Call(CT_ADJ, CL_Adjust_ChNo, 0, ' ');
    EXPECT_TRUE(work == before);

    // A bank byte out of range reads as the last bank rather than past the counts.
    work.Data()[P::kAdjustBank] = 0xFF;
    EXPECT_EQ(Call(CT_ADJ, CL_Adjust_ChNoFreq, 0).text,
              Count(7) > 0 ? Call(CT_ADJ, CL_Adjust_ChNoFreq, 0).text : "---");
}

TEST_F(ServiceCells, AnInvalidBankTextLeavesTheBankForNewChannels) {
    for (const char* typed : {"9", "0", "Bank", "x"}) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(Call(CT_Null, CL_Bank_SelBankFree, 0, 0, typed).text, "Bank 1");
        EXPECT_EQ(At(P::kFreeBank), 0);
    }
    // Stepping wraps through none.
    work.Data()[P::kFreeBank] = 7;
    EXPECT_EQ(Call(CT_Null, CL_Bank_SelBankFree, 0, ' ').text, "Non");
    EXPECT_EQ(Call(CT_Null, CL_Bank_SelBankFree, 0, ' ').text, "Bank 1");
    EXPECT_EQ(Call(CT_Null, CL_Bank_SelBankFree, 0, 8).text, "Non");
}

TEST_F(ServiceCells, ThePllReferenceLineShowsTheRadiosReference) {
    EXPECT_EQ(Call(CT_Null, CL_CloneInfo_PllRef, 0).text, ""); // no clone information yet
    InfoHost host;
    host.info.assign(127, 0);
    host.info[2] = 0x8C;
    handler->host = &host;
    EXPECT_EQ(Call(CT_Null, CL_CloneInfo_PllRef, 0).text, "140");
    // Read-only: keys change nothing.
    const cmcEeprom before = work;
    Call(CT_Null, CL_CloneInfo_PllRef, 0, ' ');
    Call(CT_Null, CL_CloneInfo_PllRef, 0, 0, "12");
    EXPECT_TRUE(work == before);
    EXPECT_EQ(Call(CT_Null, CL_CloneInfo_PllRef, 0).text, "140");
    handler->host = nullptr;
}

// The radio memory debug sheet.
class DebugSheet : public ServiceCells {
protected:
    Outcome Byte(int row, int column, int32_t key = 0, const char* typed = nullptr) {
        return Call(CT_Null, CL_EeDebugWin_0 + column, row, key, typed);
    }
    Outcome Address(int row, int32_t key = 0, const char* typed = nullptr) {
        return Call(CT_Null, CL_EeDebugWin_Adr, row, key, typed);
    }
    static constexpr int32_t kPllReference = 0x0031; // the maker byte of the PLL reference
};

TEST_F(DebugSheet, RowsShowTheWorkingImageSixteenBytesARow) {
    EXPECT_EQ(Address(0).text, "00000");
    EXPECT_EQ(Address(3).text, "00030");
    work.Data()[0x0035] = 0xA7;
    EXPECT_EQ(Byte(3, 5).text, "A7");
    // A row past the working image is empty, the last row holds only the image's last bytes.
    const int lastRow = (L::kWorkSize - 1) / 16;
    EXPECT_EQ(Address(lastRow + 1).text, "");
    EXPECT_EQ(Address(lastRow).text, "20920");
    char last[4];
    std::snprintf(last, sizeof last, "%02X", unsigned(At(L::kWorkSize - 1)));
    EXPECT_EQ(Byte(lastRow, 14).text, last);
    EXPECT_EQ(Byte(lastRow, 15).text, "");
    EXPECT_EQ(Address(-1).text, "");
}

TEST_F(DebugSheet, ATypedAddressMovesTheSheetAndAPageKeyMovesSixteenRows) {
    const int32_t general = L::SlotAddress(indTable::kGeneral); // 0x12554
    work.Data()[general] = 0x5C;
    const cmcEeprom shown = work;
    const Outcome moved = Address(2, 0, "12554");
    EXPECT_EQ(moved.text, "12550");
    EXPECT_EQ(moved.scope & cmcCellCapsule::kScopeAll, cmcCellCapsule::kScopeAll);
    EXPECT_EQ(Address(0).text, "12530");
    EXPECT_EQ(Byte(2, 4).text, "5C");
    EXPECT_EQ(Address(0, ' ').text, "12630");
    EXPECT_EQ(Address(0, 8).text, "12530");
    // Moving the sheet is no change of the data.
    EXPECT_TRUE(work == shown);
    // The ends hold: before the first row and past the last.
    Address(0, 0, "00020");
    EXPECT_EQ(Address(0, 8).text, "00000");
    EXPECT_EQ(Address(0, 0, "FFFFF").text, "20920");
    EXPECT_EQ(Address(0, ' ').text, "20920");
    EXPECT_EQ(Address(0, 0, "12G").text, "20920"); // not hexadecimal: stays
}

TEST_F(DebugSheet, OutsideMakerModeEveryByteRefusesKeys) {
    handler->makerMode = false;
    const cmcEeprom before = work;
    Byte(3, 1, 0, "7F");
    Byte(3, 1, ' ');
    EXPECT_TRUE(work == before);
    EXPECT_EQ(Byte(3, 1).text, "00");
    // The address still moves the view.
    EXPECT_EQ(Address(0, ' ').text, "00100");
}

TEST_F(DebugSheet, InMakerModeABytesEditReachesItsCellAndSurvivesASave) {
    handler->makerMode = true;
    EXPECT_EQ(Byte(3, 1, 0, "7F").text, "7F");
    EXPECT_EQ(At(kPllReference), 0x7F);
    EXPECT_EQ(Call(CT_Null, CL_Maker_Pll_Reference, 0).text, "127");
    const cmcEeprom reread = Reopened();
    EXPECT_EQ(reread.Data()[kPllReference], 0x7F);

    // A slot byte of a table the model packs: the channel cells see it after a reopen too.
    const int32_t general = L::SlotAddress(indTable::kGeneral);
    Address(0, 0, "12550");
    EXPECT_EQ(Byte(0, 4, 0, "c3").text, "C3");
    EXPECT_EQ(At(general), 0xC3);
    EXPECT_EQ(Reopened().Data()[general], 0xC3);
}

TEST_F(DebugSheet, BytesThatASaveRebuildsAreGreyAndRefuseEditsEvenInMakerMode) {
    handler->makerMode = true;
    struct Case {
        const char* name;
        int32_t at;
    } cases[] = {{"model value", L::kRadioModelAt}, {"signature", L::kSignatureAt},
                 {"directory", L::kDir32At},        {"packed tables", L::kDataStart + 5},
                 {"directory copy", L::kDir32Copy}, {"list counter", L::kCount33}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(indServiceCells::DebugEditable(work.Data(), c.at));
        Address(0, 0, "00000");
        char address[8];
        std::snprintf(address, sizeof address, "%05X", unsigned(c.at));
        Address(0, 0, address);
        const cmcEeprom before = work;
        const Outcome o = Byte(0, c.at % 16, 0, "5A");
        EXPECT_EQ(o.color, cmcCodecIo::kGrey);
        EXPECT_TRUE(work == before);
    }
    EXPECT_TRUE(indServiceCells::DebugEditable(work.Data(), 0x0000));
    EXPECT_TRUE(indServiceCells::DebugEditable(work.Data(), L::kRadioModelAt + 2));
    EXPECT_FALSE(indServiceCells::DebugEditable(work.Data(), -1));
    EXPECT_FALSE(indServiceCells::DebugEditable(work.Data(), L::kWorkSize));
}

} // namespace

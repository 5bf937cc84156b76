// The setting and timer cells on the shipped initial data, through the real codecs and choice lists:
// every row stays inside its bits, one-bit changes keep their byte's other bits, shared bytes, typed
// choices, timer texts and the further effects of a change.
#include "ModelFixtures.h"
#include "TableHolding.h"
#include "cells/cmcCellCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "core/cmcEvMan.h"
#include "core/cmcTextTables.h"
#include "core/cmcVirtualLoop.h"
#include "model/indCellHandler.h"
#include "model/indModel.h"
#include "model/indSettingCell.h"
#include "model/indSettingTable.h"
#include "model/indWorkImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <span>
#include <vector>

using namespace modelfix;

namespace {

class GreyCanvas : public cmcCellCanvas {
public:
    uint32_t FontColor() const override { return color; }
    void SetFontColor(uint32_t c) override { color = c; }
    void SetBrushColor(uint32_t) override {}
    uint32_t color = 0;
};

class SettingCells : public ::testing::Test {
protected:
    void SetUp() override {
        tables.Load(DataDir(), 0);
        lists = std::make_unique<cmcFCache>(tables.Text());
        env = std::make_unique<cmcCodecEnv>(&tables.Text(), lists.get(), nullptr);
        indModel::LoadInitialData(DataDir() + "/Initial_LMR.ocd", work);
        indModel::ConvertInitial(work, {});
        // Rows are exercised on the initial data, which holds every table; `initial` is the same data
        // as an older file that lacks the MSK, NXDN and trunking tables the model does not pack itself.
        initial = work;
        Lack(initial, kUnplaced);
        Lack(initial, kModelOwn);
    }

    static constexpr int kUnplaced[] = {23, 24, 25, 36, 67, 68, 69, 70, 73, 74, 77, 78, 81, 82, 86, 95};
    static constexpr int kModelOwn[] = {indTable::kModelRepeaters};
    // Makes the data hold tables (their directory entries, then a packing that carries them through)
    // or lack them (an older file, a radio without them).
    static void Hold(cmcEeprom& image, std::span<const int> ids) { tableholding::HoldTables(image, ids); }
    static void Lack(cmcEeprom& image, std::span<const int> ids) { tableholding::LackTables(image, ids); }

    static const indSettingRow& Row(int32_t cell) {
        const indSettingRow* row = indSettingTable::Find(cell);
        EXPECT_NE(row, nullptr) << cell;
        return *row;
    }
    uint8_t* W() { return work.Data(); }

    // A drawing call: no grid, nothing may change.
    std::string Show(int32_t cell, uint32_t* color = nullptr) {
        cmcCodecIo io;
        GreyCanvas canvas;
        io.canvas = &canvas;
        indSettingCell::Run(Row(cell), 0, io, *env, W(), family, false);
        if (color)
            *color = canvas.color;
        return io.displayText;
    }
    indSettingCell::Outcome Key(int32_t cell, int32_t key, std::string* shown = nullptr) {
        cmcCodecIo io;
        io.grid = true;
        io.key = key;
        indSettingCell::Outcome out = indSettingCell::Run(Row(cell), 0, io, *env, W(), family, true);
        if (shown)
            *shown = io.displayText;
        return out;
    }
    indSettingCell::Outcome Enter(int32_t cell, const std::string& text) {
        cmcCodecIo io;
        io.grid = true;
        io.editState = cmcCodecIo::kEntered;
        io.enteredText = text;
        return indSettingCell::Run(Row(cell), 0, io, *env, W(), family, true);
    }
    // The answer of the cell's list window: the entry with value chosen.
    indSettingCell::Outcome Choose(int32_t cell, int32_t value) {
        cmcCodecIo io;
        io.grid = true;
        io.linked = true;
        io.editState = cmcCodecIo::kChosen;
        io.chosenCell = cmcChoiceCodecs::kFlex0;
        io.chosenParam = value;
        return indSettingCell::Run(Row(cell), 0, io, *env, W(), family, true);
    }

    cmcTextTables tables;
    std::unique_ptr<cmcFCache> lists;
    std::unique_ptr<cmcCodecEnv> env;
    cmcEeprom work, initial;
    int32_t family = indModel::kLmr;
};

bool Overlap(const indSettingRow& a, const indSettingRow& b) {
    for (int32_t i = 0; i < a.entries; ++i)
        for (int32_t j = 0; j < b.entries; ++j)
            if (a.ByteOf(i) <= b.LastByteOf(j) && b.ByteOf(j) <= a.LastByteOf(i) &&
                (a.Mask() & b.Mask()) != 0)
                return true;
    return false;
}

} // namespace

TEST(indSettingTable, RowsAreWellFormed) {
    int fixedChoices = 0, fixedTimers = 0;
    std::set<int32_t> cells;
    for (const indSettingRow& r : indSettingTable::Rows()) {
        EXPECT_TRUE(cells.insert(r.cell).second) << "cell " << r.cell << " has two rows";
        EXPECT_EQ(indSettingTable::Find(r.cell), &r);
        EXPECT_GE(r.width, 1);
        EXPECT_LE(r.lowBit + r.width, 8) << r.cell;
        EXPECT_GE(r.entries, 1);
        EXPECT_GE(r.offset, indLayout::kRadioSize) << r.cell << ": not in the fixed slots";
        EXPECT_LT(r.ByteOf(r.entries - 1), indLayout::kWorkSize) << r.cell;
        bool timer = r.codec == indSettingRow::Codec::Timer;
        if (timer) {
            EXPECT_EQ(r.Mask(), 0xFF) << r.cell;
        }
        if (r.codec == indSettingRow::Codec::Choice || r.codec == indSettingRow::Codec::ChoiceTyped) {
            EXPECT_NE(r.list, nullptr) << r.cell;
        }
        if (!r.chosen)
            ++(timer ? fixedTimers : fixedChoices);
    }
    EXPECT_EQ(fixedChoices, 251);
    EXPECT_EQ(fixedTimers, 81);
    EXPECT_EQ(indSettingTable::Find(CL_Null), nullptr);
    EXPECT_EQ(indSettingTable::Find(CL_None), nullptr);
    EXPECT_EQ(indSettingTable::Find(-1), nullptr);
}

// No two rows of different cells use the same bit unless they are two views of one setting; the cells
// we place ourselves also keep off the fields the rest of the model uses and stay inside a table slot,
// so that they are packed into the radio memory and saved.
TEST(indSettingTable, RowsOfDifferentCellsDoNotOverlap) {
    auto rows = indSettingTable::Rows();
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            if (Overlap(rows[i], rows[j])) {
                EXPECT_TRUE(indSettingTable::SharesBits(rows[i].cell, rows[j].cell))
                    << rows[i].cell << " and " << rows[j].cell << " overlap";
            }

    struct Field {
        int32_t at, length;
        uint8_t mask;
    };
    const Field used[] = {
        {L::kBankF0, 1, 0xFF},      {L::kMark2At, 1, 0xFF},   {L::kBankF1, 1, 0xFF},
        {L::kBankF2, 1, 0xFF},      {L::kBankF3, 1, 0xFF},    {L::kGroupCounts, 16, 0xFF},
        {L::kModelTypeAt, 1, 0x02}, {L::kMark3Byte, 1, 0x60}, // channel mark and scan list switch
        {0x10F32, 2, 0xFF},                                   // first used channel
        {0x10F46, 16, 0xFF},                                  // first used channel per group
        {0x125C8, 5, 0xFF},                                   // NAC selection bitmap
        {0x12616, 5, 0xFF},                                   // colour code selection bitmap
        {0x12624, 18, 0xFF},                                  // rotary status and its bitmap
        {0x12636, 16, 0xFF},        {0x12646, 16, 0xFF},      // clone comments
        {0x12656, 32, 0xFF},                                  // user display characters
        {0x125FE, 16, 0xFF},                                  // clone password
        {0x12C98, 16, 0xFF},                                  // channel references of table 96
        {0x12CB4, 64, 0xFF},                                  // channel groups
        {0x14EDD, 8, 0xFF},                                   // group counts of the second area
        {0x184E1, 16, 0xFF},                                  // NXDN levels and unit IDs
        {0x184FF, 1, 0x20},                                   // NXDN fixed ID form
        {0x18515, 1, 0xFF},         {0x18519, 2, 0xFF},       {0x19B0F, 2, 0xFF},
        {0x19B34, 1, 0xFF},         {0x19BB3, 11, 0xFF}, // levels that may not be 0
        {0x19BD8, 1, 0x60},         {0x19BD9, 8, 0xFF},  // trunking unit ID form, references and values
        {0x1F655, 16, 0xFF},                             // dPMR own, fixed and limit IDs, references
        {0x1F68D, 1, 0xFF},         {0x1F691, 2, 0xFF},       {0x1FDCF, 2, 0xFF},
        {0x1FDEF, 6, 0xFF},         {0x1FE35, 15, 0xFF}, // dPMR levels that may not be 0
    };
    // In each dPMR receive talk group: its ID reference (bytes 2-3 of 4).
    for (int i = 0; i < 8; ++i)
        for (const indSettingRow& r : rows)
            if (r.chosen) {
                EXPECT_FALSE(r.offset >= 0x1F635 + 4 * i && r.offset < 0x1F637 + 4 * i) << r.cell;
            }
    // In every scan list: the channel references and their marks.
    for (int i = 0; i < 17; ++i)
        for (const indSettingRow& r : rows)
            for (int32_t e = 0; e < r.entries; ++e) {
                int32_t at = r.ByteOf(e) - (0x127D6 + 18 * i);
                EXPECT_FALSE(at >= 10 && at < 18) << r.cell << " uses a scan list channel reference";
                EXPECT_FALSE(at == 8 && (r.Mask() & 0x80)) << r.cell;
            }
    for (const indSettingRow& r : rows) {
        if (!r.chosen)
            continue;
        for (const Field& f : used)
            for (int32_t e = 0; e < r.entries && !r.editsModelField; ++e) {
                int32_t at = r.ByteOf(e);
                EXPECT_FALSE(at <= f.at + f.length - 1 && f.at <= r.LastByteOf(e) && (r.Mask() & f.mask) != 0)
                    << r.cell << " uses the model's field at " << f.at;
            }
        bool inSlot = false;
        for (const indSlot& s : L::kSlots)
            inSlot =
                inSlot || (r.offset >= s.offset && r.LastByteOf(r.entries - 1) < s.offset + s.size * s.count);
        EXPECT_TRUE(inSlot) << r.cell << " lies outside every table slot";
    }
}

// Every row draws without writing, and a step or a list answer changes nothing but its own bits.
TEST_F(SettingCells, EveryRowReadsStepsAndWritesWithinItsField) {
    for (const indSettingRow& r : indSettingTable::Rows()) {
        for (int32_t e = 0; e < r.entries; ++e) {
            SCOPED_TRACE(r.cell);
            cmcEeprom before = work;
            if (r.list) {
                for (const cmcChoiceList::Entry& entry :
                     lists->List(r.list, cmcChoiceCodecs::kFlex0).ByPosition())
                    EXPECT_LE(entry.value, r.Mask() >> r.lowBit)
                        << r.list << ": an entry the field cannot hold";
            }
            cmcCodecIo io;
            indSettingCell::Run(r, e, io, *env, W(), family, false);
            if (r.codec != indSettingRow::Codec::Text && r.codec != indSettingRow::Codec::DisplayText &&
                r.codec != indSettingRow::Codec::Password) {
                EXPECT_FALSE(io.displayText.empty());
            }
            ASSERT_EQ(std::memcmp(before.Data(), W(), L::kWorkSize), 0) << "drawing wrote";

            for (int32_t key : {int32_t(cmcCodecIo::kKeySpace), int32_t(cmcCodecIo::kKeyBackspace)}) {
                cmcCodecIo step;
                step.grid = true;
                step.key = key;
                const int32_t old = r.Read(W(), e);
                indSettingCell::Outcome out = indSettingCell::Run(r, e, step, *env, W(), family, true);
                EXPECT_EQ(out.changed, r.Read(W(), e) != old);
                if (r.codec != indSettingRow::Codec::Timer) {
                    EXPECT_NE(step.displayText, "error") << "stepped to a value outside the list";
                }
            }
            cmcCodecIo answer;
            answer.grid = answer.linked = true;
            answer.editState = cmcCodecIo::kChosen;
            answer.chosenCell = cmcChoiceCodecs::kFlex0;
            answer.chosenParam = 1;
            indSettingCell::Run(r, e, answer, *env, W(), family, true);

            const int32_t at = r.ByteOf(e);
            const int32_t last = r.LastByteOf(e);
            EXPECT_EQ(std::memcmp(before.Data(), W(), size_t(at)), 0) << "changed below the field";
            EXPECT_EQ(std::memcmp(before.Data() + last + 1, W() + last + 1, size_t(L::kWorkSize - last - 1)),
                      0)
                << "changed above the field";
            EXPECT_EQ(before.Data()[at] & ~r.Mask(), W()[at] & ~r.Mask()) << "changed its byte's other bits";
            work = before;
        }
    }
}

TEST_F(SettingCells, OneBitChangeKeepsTheOtherBitsOfItsByte) {
    const indSettingRow& r = Row(CL_Msk_Cfg_Status_Send_On); // 0x12F29 bit 1
    for (uint8_t pattern : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0xA5), uint8_t(0x5A)}) {
        W()[r.offset] = pattern;
        EXPECT_TRUE(Key(CL_Msk_Cfg_Status_Send_On, cmcCodecIo::kKeySpace).changed);
        EXPECT_EQ(W()[r.offset], pattern ^ 0x02) << int(pattern);
        EXPECT_TRUE(Key(CL_Msk_Cfg_Status_Send_On, cmcCodecIo::kKeySpace).changed);
        EXPECT_EQ(W()[r.offset], pattern);
    }
}

TEST_F(SettingCells, CellsSharingAByteChangeOnlyTheirOwnBits) {
    const int32_t gps[] = {CL_Nxdn_Gps_Fix_Id,         CL_Nxdn_Gps_Send_Status, CL_Nxdn_Gps_Send_Sdm,
                           CL_Nxdn_Gps_Send_CallAlert, CL_Nxdn_Gps_Send_Emer,   CL_Nxdn_Gps_Send_ManDown};
    W()[0x18509] = 0x03; // bits 0-1 belong to no GPS option
    uint8_t expected = 0x03;
    for (int32_t cell : gps) {
        EXPECT_TRUE(Choose(cell, 1).changed);
        expected |= Row(cell).Mask();
        EXPECT_EQ(W()[0x18509], expected);
    }
    EXPECT_EQ(expected, 0xFF);
    EXPECT_TRUE(Choose(CL_Nxdn_Gps_Send_Sdm, 0).changed);
    EXPECT_EQ(W()[0x18509], 0xDF);

    // Two views of one setting read and write the same bit.
    Choose(CL_Comm_Tot_ID_Out, 1);
    EXPECT_EQ(Row(CL_Comm_Tot_Dtmf_ID_Out).Read(W()), 1);
}

TEST_F(SettingCells, MultiBitFieldsTakeListAnswersAndKeepTheirNeighbours) {
    W()[0x184FF] = 0xF0;                                 // talk-back type, comparison and the ID form bits
    EXPECT_TRUE(Choose(CL_Nxdn_Config_Beep, 3).changed); // bits 0-3
    EXPECT_EQ(W()[0x184FF], 0xF3);
    W()[0x12614] = 0x21; // RS-232C speed (bits 4-7), mode (bits 0-3)
    EXPECT_TRUE(Choose(CL_Comm_RS232C_SPPED, 5).changed);
    EXPECT_EQ(W()[0x12614], 0x51);
    EXPECT_TRUE(Choose(CL_Comm_RS232C_Mode, 2).changed);
    EXPECT_EQ(W()[0x12614], 0x52);
    // A list answer the field cannot hold is refused, not cut down to another value.
    EXPECT_FALSE(Choose(CL_Msk_Cfg_Status_Send_On, 2).changed);
    EXPECT_EQ(Row(CL_Msk_Cfg_Status_Send_On).Read(W()), 0);
}

TEST_F(SettingCells, StoredValueOutsideItsListShowsErrorAndStepsToTheFirstEntry) {
    const indSettingRow& r = Row(CL_Comm_RS232C_SPPED);
    r.Write(W(), 15);
    EXPECT_EQ(Show(CL_Comm_RS232C_SPPED), "error");
    std::string shown;
    EXPECT_TRUE(Key(CL_Comm_RS232C_SPPED, cmcCodecIo::kKeySpace, &shown).changed);
    const cmcChoiceList& list = lists->List(r.list, cmcChoiceCodecs::kFlex0);
    EXPECT_EQ(r.Read(W()), list.ByPosition().front().value);
    EXPECT_EQ(shown, list.ByPosition().front().text);
}

TEST_F(SettingCells, TypedChoicesPickTheNearestEntry) {
    EXPECT_TRUE(Enter(CL_Nxdn_Status_Set_PowerONStat, "12").changed);
    EXPECT_EQ(W()[0x19B0C], 12);
    EXPECT_EQ(Show(CL_Nxdn_Status_Set_PowerONStat),
              lists->TextOfValue("GI_Sheet_Sel_Nxdn_Status_PowerStatus", 1, 12));
    EXPECT_TRUE(Enter(CL_Nxdn_Status_Set_PowerONStat, "off").changed);
    EXPECT_EQ(W()[0x19B0C], 0);
    // A digit typed on the cell opens the editor with it.
    cmcCodecIo io;
    io.grid = true;
    io.key = '7';
    indSettingCell::Run(Row(CL_Nxdn_Status_Set_PowerONStat), 0, io, *env, W(), family, true);
    EXPECT_EQ(io.result, cmcCodecIo::kResultEdit);
    EXPECT_EQ(io.displayText, "7");
}

TEST_F(SettingCells, TimersShowSecondsWithThreeDecimalsAndTheOffText) {
    const std::string off = env->Text("GI_AppInd_TimerOff");
    const struct {
        int32_t cell;
        int32_t offset;
        uint8_t value;
        const char* text;
    } cases[] = {
        {CL_Comm_Tot_Timer, 0x1258D, 60, " 60.000"},
        {CL_Comm_Tot_Timer, 0x1258D, 0, "  0.000"},
        {CL_Msk_Cfg_Dec_ANI_Disp_Timer, 0x12F23, 25, "  2.500"},
        {CL_Nxdn_Config_SS_Wait, 0x184F4, 5, "  0.050"},
        {CL_ScanComm_ScanTimer_Fast, 0x12579, 255, "  0.255"},
        {CL_Comm_Tot_PenaltyTimer, 0x1258E, 0, nullptr},
        {CL_Comm_Tot_PenaltyTimer, 0x1258E, 255, "255.000"},
    };
    for (const auto& c : cases) {
        W()[c.offset] = c.value;
        EXPECT_EQ(Show(c.cell), c.text ? c.text : off) << c.cell << " " << int(c.value);
    }
    EXPECT_FALSE(off.empty());

    W()[0x12F23] = 0;
    EXPECT_TRUE(Enter(CL_Msk_Cfg_Dec_ANI_Disp_Timer, "2.5").changed); // 10 units per second
    EXPECT_EQ(W()[0x12F23], 25);
    EXPECT_TRUE(Enter(CL_Comm_Tot_PenaltyTimer, "OFF").changed);
    EXPECT_EQ(W()[0x1258E], 0);
    EXPECT_TRUE(Enter(CL_Comm_Tot_Timer, "999").changed); // beyond the byte: the largest value
    EXPECT_EQ(W()[0x1258D], 255);
    EXPECT_TRUE(Key(CL_Comm_Tot_Timer, cmcCodecIo::kKeySpace).changed); // steps wrap
    EXPECT_EQ(W()[0x1258D], 0);
}

TEST_F(SettingCells, FurtherEffectsOfAChange) {
    // Wider refresh, and none for a plain row.
    EXPECT_EQ(Key(CL_Comm_ManDown_ON, cmcCodecIo::kKeySpace).scope, cmcCellCapsule::kScopeAll);
    EXPECT_EQ(Key(CL_Comm_Tot_Beep, cmcCodecIo::kKeySpace).scope, 0);
    // Port modes redraw every cell everywhere (event 13).
    indSettingCell::Outcome port = Key(CL_ExtPort_PortMode_IGSW, cmcCodecIo::kKeySpace);
    EXPECT_TRUE(port.changed);
    EXPECT_TRUE(port.redrawAll);
    EXPECT_FALSE(Key(CL_Comm_Tot_Beep, cmcCodecIo::kKeySpace).redrawAll);
    // Nothing is reported when nothing changed (a list answer of the value already stored).
    const int32_t now = Row(CL_ExtPort_PortMode_IGSW).Read(W());
    indSettingCell::Outcome same = Choose(CL_ExtPort_PortMode_IGSW, now);
    EXPECT_FALSE(same.changed);
    EXPECT_FALSE(same.redrawAll);
}

TEST_F(SettingCells, GreyWhenTheFeatureIsOffButStillEditable) {
    uint32_t color = 0;
    W()[0x12572] &= ~0x04; // man-down off
    Show(CL_Comm_ManDown_Sairen, &color);
    EXPECT_EQ(color, cmcCodecIo::kGrey);
    Show(CL_Comm_ManDown_TS1, &color);
    EXPECT_EQ(color, cmcCodecIo::kGrey);
    EXPECT_TRUE(Key(CL_Comm_ManDown_TS1, cmcCodecIo::kKeySpace).changed);
    W()[0x12572] |= 0x04;
    Show(CL_Comm_ManDown_Sairen, &color);
    EXPECT_EQ(color, 0u);

    // Both tests must hold: the call ID reset beep is grey only without any reset.
    W()[0x1F678] = 0;
    W()[0x1F68E] = 0;
    EXPECT_TRUE(indSettingCell::IsGrey(Row(CL_Dpmr_Option_CallIdReset_Beep), W(), family));
    W()[0x1F68E] = 5;
    EXPECT_FALSE(indSettingCell::IsGrey(Row(CL_Dpmr_Option_CallIdReset_Beep), W(), family));
    // A family test.
    EXPECT_TRUE(indSettingCell::IsGrey(Row(CL_Dpmr_Expert_Wakeup_Header_OffTimer), W(), indModel::kLmr));
    EXPECT_FALSE(indSettingCell::IsGrey(Row(CL_Dpmr_Expert_Wakeup_Header_OffTimer), W(), indModel::kPmr));
}

TEST_F(SettingCells, DrawingCallsNeverWrite) {
    cmcEeprom before = work;
    cmcCodecIo io;
    io.grid = true;
    io.key = cmcCodecIo::kKeySpace;
    indSettingCell::Outcome out = indSettingCell::Run(Row(CL_Comm_Tot_Beep), 0, io, *env, W(), family, false);
    EXPECT_FALSE(out.changed);
    EXPECT_EQ(std::memcmp(before.Data(), W(), L::kWorkSize), 0);
}

// A change must reach the radio memory: packing and expanding again gives the value back. The model
// writes back only some tables (the MSK, NXDN, trunking and LTR tables are read from a radio but not
// written); rows in the others are not checked here.
TEST_F(SettingCells, RowsOfWrittenTablesSurvivePackingAndExpansion) {
    const std::set<int> written = {2,   7,   14,  6,   61,  17,  100, 83,  3,   8,   10,  13,
                                   15,  9,   11,  12,  16,  18,  19,  20,  21,  22,  96,  97,
                                   64,  65,  84,  85,  98,  99,  101, 117, 104, 105, 106, 115,
                                   114, 112, 113, 110, 111, 107, 108, 109, 102, 103, 116};
    auto inWrittenTable = [&](int32_t at) {
        for (const indSlot& slot : L::kSlots)
            if (at >= slot.offset && at < slot.offset + slot.size * slot.count)
                return written.count(slot.id) != 0;
        return false;
    };
    const cmcEeprom initial = work;
    indModel model(&initial, nullptr, {});
    // Every row gets a new value in one image (rows of different cells use different bits; a second
    // view of a shared setting is left out).
    std::vector<std::pair<const indSettingRow*, int32_t>> changed;
    for (const indSettingRow& r : indSettingTable::Rows()) {
        bool second = false;
        for (const auto& c : changed)
            second =
                second || (c.first->offset == r.offset && indSettingTable::SharesBits(c.first->cell, r.cell));
        if (second || !inWrittenTable(r.offset))
            continue;
        const int32_t largest = r.Mask() >> r.lowBit;
        int32_t value = r.Read(W()) == largest ? largest - 1 : largest;
        if (r.codec == indSettingRow::Codec::Text || r.codec == indSettingRow::Codec::DisplayText ||
            r.codec == indSettingRow::Codec::Password) // characters
            value = r.Read(W()) == 'A' ? 'B' : 'A';
        r.Write(W(), value);
        changed.emplace_back(&r, value);
    }
    ASSERT_FALSE(model.Convert(work, 1));
    cmcEeprom reopened;
    reopened.SetSize(L::kWorkSize);
    std::memcpy(reopened.Data(), W(), L::kRadioSize);
    model.Convert(reopened, 0);
    for (const auto& [r, value] : changed)
        EXPECT_EQ(r->Read(reopened.Data()), value) << r->cell << " was not saved";
    EXPECT_GT(changed.size(), 200u);
}

// Through the model cell handler: the seam finds the table's cells, a change marks the data modified
// with its refresh scope, port modes post event 13, and a drawing call leaves the image alone.
TEST_F(SettingCells, HandlerRunsTheTableCells) {
    std::vector<int32_t> posted;
    cmcVirtualLoop loop;
    cmcEvMan events(loop);
    events.Register(
        [](void* ctx, const cmcEvRec& e) { static_cast<std::vector<int32_t>*>(ctx)->push_back(e.type); },
        &posted);
    indCellHandler::Services services;
    services.work = &work;
    services.env = env.get();
    services.events = &events;
    indCellHandler handler(services);
    int modified = 0;
    handler.onModified = [&] { ++modified; };

    struct Result {
        std::string text;
        uint8_t scope = 0;
    };
    auto call = [&](int32_t cell, int32_t key) {
        cmcCellObj obj;
        obj.category = 0;
        obj.cell = cell;
        cmcCellCapsule c;
        c.cell = &obj;
        c.key = key;
        if (key)
            c.onGrid = true;
        Result r;
        c.refresh = [](void* ctx, cmcCellCapsule&, uint8_t scope) {
            static_cast<Result*>(ctx)->scope = scope;
        };
        c.refreshContext = &r;
        handler.CallCell(c, key ? cmcCellHandler::kNotifyAction : cmcCellHandler::kNotifyDraw);
        r.text = c.displayText;
        return r;
    };

    const cmcEeprom before = work;
    EXPECT_EQ(call(CL_Comm_Tot_Timer, 0).text, " 60.000");
    EXPECT_EQ(call(CL_SetM_Backlight, 0).text, "Auto");
    EXPECT_EQ(std::memcmp(before.Data(), W(), L::kWorkSize), 0);

    Result r = call(CL_Comm_ManDown_ON, ' ');
    EXPECT_EQ(r.text, "ON");
    EXPECT_TRUE(r.scope & cmcCellCapsule::kScopeAll);
    EXPECT_EQ(W()[0x12572] & 0x04, 0x04);
    EXPECT_GE(modified, 1);

    call(CL_ExtPort_PortMode_AFO, ' ');
    loop.Advance(50);
    EXPECT_NE(std::find(posted.begin(), posted.end(), 13), posted.end());

    // On data without the NXDN table a key on its cell changes nothing and reports nothing modified.
    work = initial;
    const int before2 = modified;
    const cmcEeprom plain = work;
    const std::string shown = call(CL_Nxdn_Gps_Send_Sdm, 0).text;
    r = call(CL_Nxdn_Gps_Send_Sdm, ' ');
    EXPECT_EQ(r.text, shown);
    EXPECT_EQ(r.scope & cmcCellCapsule::kScopeAll, 0);
    EXPECT_TRUE(work == plain);
    EXPECT_EQ(modified, before2);
}

// Rows of a list: the cell's parameter picks the entry; other entries and a parameter beyond the list
// stay untouched.
TEST_F(SettingCells, PerEntryRowsEditTheirEntryOnly) {
    const indSettingRow& r = Row(CL_Dtmf_Decode_Beep); // 8 entries of 21 bytes, byte 20 bits 0-3
    ASSERT_EQ(r.entries, 8);
    const cmcEeprom before = work;
    cmcCodecIo io;
    io.grid = io.linked = true;
    io.editState = cmcCodecIo::kChosen;
    io.chosenCell = cmcChoiceCodecs::kFlex0;
    io.chosenParam = 5;
    EXPECT_TRUE(indSettingCell::Run(r, 3, io, *env, W(), family, true).changed);
    EXPECT_EQ(W()[0x12908 + 21 * 3 + 20] & 0x0F, 5);
    W()[0x12908 + 21 * 3 + 20] = before.Data()[0x12908 + 21 * 3 + 20];
    EXPECT_EQ(std::memcmp(before.Data(), W(), L::kWorkSize), 0);

    cmcCodecIo beyond;
    beyond.grid = true;
    beyond.key = cmcCodecIo::kKeySpace;
    EXPECT_FALSE(indSettingCell::Run(r, 8, beyond, *env, W(), family, true).changed);
    EXPECT_EQ(beyond.displayText, "");
    EXPECT_FALSE(indSettingCell::Run(r, -1, beyond, *env, W(), family, true).changed);
    EXPECT_EQ(std::memcmp(before.Data(), W(), L::kWorkSize), 0);
}

// Rows in tables the model does not pack are saved only when the data holds their table; without it
// they show their value grey and take nothing, so that no edit is accepted that a save would drop.
TEST_F(SettingCells, RowsOfTablesTheDataLacksAreShownButNotEditable) {
    work = initial;
    const int32_t cells[] = {CL_Nxdn_Gps_Send_Sdm, CL_Msk_Cfg_Status_Send_On, CL_Nxdn_Status_Set_PowerONStat,
                             CL_Nxdn_Config_SS_Wait, CL_Ltr_Op_DispOnPtt};
    for (int32_t cell : cells) {
        SCOPED_TRACE(cell);
        const indSettingRow& r = Row(cell);
        EXPECT_FALSE(indSettingCell::IsStored(r, W()));
        const cmcEeprom before = work;
        uint32_t color = 0;
        EXPECT_FALSE(Show(cell, &color).empty());
        EXPECT_EQ(color, cmcCodecIo::kGrey);
        EXPECT_FALSE(Key(cell, cmcCodecIo::kKeySpace).changed);
        EXPECT_FALSE(Enter(cell, "1").changed);
        EXPECT_FALSE(Choose(cell, 1).changed);
        cmcCodecIo io;
        io.grid = true;
        io.key = cmcCodecIo::kKeyReturn;
        indSettingCell::Run(r, 0, io, *env, W(), family, true);
        EXPECT_EQ(io.result, cmcCodecIo::kResultNone) << "opened an editor or list";
        EXPECT_TRUE(work == before);
    }
    // A row of a table the model packs stays editable on the same data.
    EXPECT_TRUE(indSettingCell::IsStored(Row(CL_Comm_Tot_Beep), W()));
    EXPECT_TRUE(Key(CL_Comm_Tot_Beep, cmcCodecIo::kKeySpace).changed);

    // Once the data holds the table, the row edits, and the value survives packing and expansion (a
    // save and a reload), the LTR row with the model's repeater table.
    const int ids[] = {36, indTable::kModelRepeaters};
    Hold(work, ids);
    ASSERT_TRUE(indSettingCell::IsStored(Row(CL_Nxdn_Gps_Send_Sdm), W()));
    const int32_t now = Row(CL_Nxdn_Gps_Send_Sdm).Read(W());
    EXPECT_TRUE(Choose(CL_Nxdn_Gps_Send_Sdm, 1 - now).changed);
    ASSERT_EQ(indWorkImage(work, nullptr).PackTables(false), indWorkImage::PackResult::Ok);
    cmcEeprom reread;
    reread.SetSize(L::kWorkSize);
    std::memcpy(reread.Data(), W(), L::kRadioSize);
    indWorkImage(reread, nullptr).ExpandTables();
    EXPECT_EQ(Row(CL_Nxdn_Gps_Send_Sdm).Read(reread.Data()), 1 - now);
    EXPECT_TRUE(indSettingCell::IsStored(Row(CL_Ltr_Op_DispOnPtt), W()));
}

TEST_F(SettingCells, NumbersAndTexts) {
    // Numbers: typed values inside the range stored, outside limited; stepping wraps in the range.
    const struct {
        int32_t cell;
        const char* typed;
        int32_t stored;
    } numbers[] = {
        {CL_Dpmr_Config_Attempt_No, "7", 7}, {CL_Dpmr_Config_Attempt_No, "40", 10},
        {CL_Dpmr_Config_Attempt_No, "0", 1}, {CL_KDisp_DispLines, "2", 2},
        {CL_Dpmr_Expert_LET, "200", 200},    {CL_Msk_Presl_Own_Id, "4000", 4000},
        {CL_Msk_Presl_Own_Id, "5000", 4095},
    };
    for (const auto& c : numbers) {
        Enter(c.cell, c.typed);
        EXPECT_EQ(Row(c.cell).Read(W()), c.stored) << c.cell << " " << c.typed;
    }
    Row(CL_Dpmr_Config_Attempt_No).Write(W(), 10);
    EXPECT_TRUE(Key(CL_Dpmr_Config_Attempt_No, cmcCodecIo::kKeySpace).changed);
    EXPECT_EQ(Row(CL_Dpmr_Config_Attempt_No).Read(W()), 1);
    EXPECT_EQ(Show(CL_Dpmr_Config_Attempt_No), "1");
    // A two-byte number is stored high byte first.
    EXPECT_EQ(W()[0x12C3C], 0x0F);
    EXPECT_EQ(W()[0x12C3D], 0xFF);
    // Two numbers sharing a byte keep each other's bits.
    W()[0x10F29] = 0xF8;
    Enter(CL_SetM_AudioFilt, "2");
    EXPECT_EQ(W()[0x10F29], 0xFA);

    // Texts: padded with blanks, shown without them; the next byte stays. A longer text is refused
    // rather than cut.
    const indSettingRow& text = Row(CL_Emer_Setting_EmerText);
    W()[text.LastByteOf(0) + 1] = 0x5A;
    const std::string was(reinterpret_cast<char*>(W() + text.offset), 10);
    EXPECT_FALSE(Enter(CL_Emer_Setting_EmerText, "EMERGENCY CALL").changed);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(W() + text.offset), 10), was);
    EXPECT_TRUE(Enter(CL_Emer_Setting_EmerText, "EMERGENCY").changed);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(W() + text.offset), 10), "EMERGENCY ");
    EXPECT_EQ(Show(CL_Emer_Setting_EmerText), "EMERGENCY");
    EXPECT_TRUE(Enter(CL_Emer_Setting_EmerText, "SOS").changed);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(W() + text.offset), 10), "SOS       ");
    EXPECT_EQ(W()[text.LastByteOf(0) + 1], 0x5A);
    EXPECT_FALSE(Enter(CL_Emer_Setting_EmerText, "SOS").changed); // the same text changes nothing
    // Display texts take the escapes of the radio's characters; a user character is byte 16 on.
    const indSettingRow& message = Row(CL_Dpmr_DispMsg_Prog_Failed);
    EXPECT_TRUE(Enter(CL_Dpmr_DispMsg_Prog_Failed, "NG %10!").changed);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(W() + message.offset), 8), std::string("NG \x10!   ", 8));
    EXPECT_EQ(Show(CL_Dpmr_DispMsg_Prog_Failed), "NG %10!");
    // A drawing call on a text never writes, and the stun text is grey while the stun display is off.
    uint32_t color = 0;
    W()[0x12C6C] &= uint8_t(~0x10);
    const cmcEeprom off = work;
    Show(CL_Comm_Strv_Text, &color);
    EXPECT_EQ(color, cmcCodecIo::kGrey);
    EXPECT_TRUE(work == off);
}

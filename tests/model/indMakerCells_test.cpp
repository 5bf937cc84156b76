// The maker settings and adjustment values through the real cell handler on the shipped initial data:
// where maker values live and that they survive packing, their codecs, and the adjustment values the
// application supplies.
#include "ModelFixtures.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcChoiceCodecs.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcCodecIo.h"
#include "cells/cmcFCache.h"
#include "cells/cmcNumberCodecs.h"
#include "core/cmcTextTables.h"
#include "model/indCellHandler.h"
#include "model/indCellHost.h"
#include "model/indMakerTable.h"
#include "model/indModel.h"
#include "model/indWorkImage.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

using namespace modelfix;

namespace {

class AdjustHost : public indCellHost {
public:
    std::map<int32_t, int32_t> values;
    std::vector<int32_t> commands;
    void RunCommand(int32_t cell, int32_t, const std::string&) override { commands.push_back(cell); }
    int32_t AdjustValue(int32_t index) override { return values.count(index) ? values[index] : -1; }
    void SetAdjustValue(int32_t index, int32_t value) override { values[index] = value; }
};

class MakerCells : public ::testing::Test {
protected:
    void SetUp() override {
        tables.Load(DataDir(), 0);
        lists = std::make_unique<cmcFCache>(tables.Text());
        env = std::make_unique<cmcCodecEnv>(&tables.Text(), lists.get(), nullptr);
        indModel::LoadInitialData(DataDir() + "/Initial_LMR.ocd", work);
        indModel::ConvertInitial(work, {});
        indCellHandler::Services s;
        s.work = &work;
        s.env = env.get();
        handler = std::make_unique<indCellHandler>(s);
    }

    struct Answer {
        std::string text;
        int32_t result = 0;
    };
    // A draw, or with key / typed text / a chosen list value a user action.
    Answer Call(int32_t cell, int32_t key = 0, const char* typed = nullptr, int32_t chosen = -1) {
        cmcCellObj obj;
        obj.category = CT_Null;
        obj.cell = cell;
        cmcCellObj entry;
        entry.cell = cmcChoiceCodecs::kFlex0;
        entry.parameter = chosen;
        cmcCellCapsule answer;
        answer.cell = &entry;
        cmcCellCapsule c;
        c.cell = &obj;
        c.key = key;
        if (typed) {
            c.editState = cmcCellCapsule::kEditEntered;
            c.enteredText = typed;
        }
        if (chosen >= 0) {
            c.editState = cmcCellCapsule::kEditChosen;
            c.link = &answer;
        }
        const bool acting = key || typed || chosen >= 0;
        if (acting)
            c.onGrid = true;
        Answer a;
        a.result = handler->CallCell(c, acting ? 1 : 0);
        a.text = c.displayText;
        return a;
    }
    static int32_t At(int32_t cell) { return indMakerTable::Find(cell)->at; }

    cmcTextTables tables;
    std::unique_ptr<cmcFCache> lists;
    std::unique_ptr<cmcCodecEnv> env;
    cmcEeprom work;
    std::unique_ptr<indCellHandler> handler;
};

} // namespace

// Maker bytes stay in the head block the radio keeps for them, one byte each, clear of the model
// value; adjustment rows refer to values that exist; every list is in the overlay.
TEST_F(MakerCells, TableIsWellFormed) {
    std::set<int32_t> bytes, cells;
    for (const indMakerRow& r : indMakerTable::Rows()) {
        EXPECT_TRUE(cells.insert(r.cell).second) << r.cell;
        EXPECT_EQ(indMakerTable::Find(r.cell), &r);
        if (r.IsMaker()) {
            EXPECT_GE(r.at, 0x0010) << r.cell;
            EXPECT_LE(r.at, 0x00D6) << r.cell;
            EXPECT_FALSE(r.at >= L::kRadioModelAt && r.at < L::kRadioModelAt + 2) << r.cell;
            if (r.kind != indMakerRow::Kind::Shown) {
                EXPECT_TRUE(bytes.insert(r.at).second) << r.cell << " shares its byte";
            }
        } else {
            EXPECT_GE(r.at, 0);
            EXPECT_LT(r.at, indMakerTable::AdjustValueCount()) << r.cell;
        }
        if (r.list) {
            EXPECT_GT(lists->List(r.list, cmcChoiceCodecs::kFlex0).EntryCount(), 0) << r.list;
        }
    }
    EXPECT_EQ(indMakerTable::Find(CL_Maker_Password), nullptr);
    EXPECT_EQ(indMakerTable::Find(CL_Mch_TxInh), nullptr);
}

TEST_F(MakerCells, MakerSettingsEditTheirHeadByteOnly) {
    uint8_t* w = work.Data();
    const int32_t level = At(CL_Maker_Sql_Level_A);
    w[level] = 7;
    w[level - 1] = 0xA5;
    w[level + 1] = 0x5A;
    EXPECT_EQ(Call(CL_Maker_Sql_Level_A).text, "7");
    EXPECT_EQ(Call(CL_Maker_Sql_Level_A, ' ').result, cmcCellHandler::kResultRefresh);
    EXPECT_EQ(w[level], 8);
    Call(CL_Maker_Sql_Level_A, 0, "200");
    EXPECT_EQ(w[level], 200);
    Call(CL_Maker_Sql_Level_A, 0, "300"); // beyond the byte: limited to it
    EXPECT_EQ(w[level], 255);
    EXPECT_EQ(w[level - 1], 0xA5);
    EXPECT_EQ(w[level + 1], 0x5A);

    // A timer in tenths of a second, and its display in milliseconds.
    w[At(CL_Maker_Pll_TxFastTimer)] = 25;
    EXPECT_EQ(Call(CL_Maker_Pll_TxFastTimer).text, "  2.500");
    EXPECT_EQ(Call(CL_Maker_Pll_TxFastTimer_Disp).text, "[2500]");
    EXPECT_EQ(Call(CL_Maker_Pll_TxFastTimer_Disp, ' ').result, cmcCellHandler::kResultNone);
    EXPECT_EQ(w[At(CL_Maker_Pll_TxFastTimer)], 25);
    // A choice.
    Call(CL_Maker_Dtcs_TxPolar, 0, nullptr, 1);
    EXPECT_EQ(w[At(CL_Maker_Dtcs_TxPolar)], 1);
    EXPECT_EQ(Call(CL_Maker_Dtcs_TxPolar).text, "Reverse");
    // A drawing call never writes.
    const cmcEeprom before = work;
    Call(CL_Maker_Sql_Level_B);
    EXPECT_TRUE(work == before);

    // The head is not touched by packing, so a save or reload keeps the maker values.
    ASSERT_EQ(indWorkImage(work, nullptr).PackTables(false), indWorkImage::PackResult::Ok);
    EXPECT_EQ(w[level], 255);
    EXPECT_EQ(w[At(CL_Maker_Dtcs_TxPolar)], 1);
}

TEST_F(MakerCells, AdjustmentValuesComeFromTheApplication) {
    const int32_t index = indMakerTable::Find(CL_Adjust_Pow_Hi)->at;
    EXPECT_EQ(Call(CL_Adjust_Pow_Hi).text, ""); // no application
    AdjustHost host;
    handler->host = &host;
    EXPECT_EQ(Call(CL_Adjust_Pow_Hi).text, ""); // nothing read yet
    EXPECT_EQ(Call(CL_Adjust_Pow_Hi, cmcCodecIo::kKeyRight).result, cmcCellHandler::kResultNone);
    EXPECT_TRUE(host.values.empty());
    host.values[index] = 128;
    EXPECT_EQ(Call(CL_Adjust_Pow_Hi).text, "128");
    EXPECT_EQ(Call(CL_Adjust_Hi_Bar).text, cmcNumberCodecs::AdjustBar(128, 0, 255));
    Call(CL_Adjust_Pow_Hi, cmcCodecIo::kKeyRight);
    EXPECT_EQ(host.values[index], 129);
    host.values[index] = 255;
    Call(CL_Adjust_Pow_Hi, cmcCodecIo::kKeyRight); // saturates
    EXPECT_EQ(host.values[index], 255);
    // Coarse values step by 10.
    const int32_t ref = indMakerTable::Find(CL_Adjust_Ref)->at;
    host.values[ref] = 100;
    Call(CL_Adjust_Ref, cmcCodecIo::kKeyLeft);
    EXPECT_EQ(host.values[ref], 90);
    // A sweep cell starts the application's sweep.
    Call(CL_Adjust_Vox_Sweep, '\r');
    EXPECT_EQ(host.commands, std::vector<int32_t>{CL_Adjust_Vox_Sweep});
}

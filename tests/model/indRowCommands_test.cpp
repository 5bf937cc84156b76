// Row commands of the memory channel sheets on the shipped initial data: how far a paste reaches,
// what a delete refuses or asks, and insertion at the memory's limit.
#include "model/indRowCommands.h"

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellCategory.h"
#include "cells/cmcCellNumber.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCodecEnv.h"
#include "cells/cmcFCache.h"
#include "core/cmcEeprom.h"
#include "core/cmcTextTables.h"
#include "model/datCh.h"
#include "model/datClipCh.h"
#include "model/indCellHandler.h"
#include "model/indLayout.h"
#include "model/indModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using L = indLayout;

std::string DataDir() {
    const char* d = std::getenv("OSTREL_DATA_DIR");
    return d ? d : ".";
}

class RowCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(tables.Load(DataDir(), 0), 0);
        work.SetSize(L::kWorkSize);
        const std::string initial = DataDir() + "/Initial_LMR.ocd";
        ASSERT_TRUE(std::filesystem::exists(initial)) << initial << " is missing: build ostrel_initial_data";
        indModel::LoadInitialData(initial, work);
        defaults = work;
        indModel model(&defaults, nullptr, {});
        model.Convert(work, 0);
        defaults = work;
        reference = work;
        indCellHandler::Services hs;
        hs.work = &work;
        hs.defaults = &defaults;
        hs.env = &env;
        hs.box = &box;
        handler = std::make_unique<indCellHandler>(hs);
        indRowCommands::Services s;
        s.work = &work;
        s.reference = &reference;
        s.defaults = &defaults;
        s.clip = &clip;
        s.handler = handler.get();
        s.box = &box;
        s.texts = &tables.Text();
        rows = std::make_unique<indRowCommands>(s);
        ASSERT_GE(Count(), 4);
    }
    int Count() { return L::GroupCount(work.Data(), 0); }
    datCh Channel(int n) {
        datCh ch(&work);
        ch.Decode(datCh::kChannel1, n);
        return ch;
    }
    // Runs command on channel row n, or on rows first..last.
    cmcCellCapsule Run(int32_t command, int n, int first = -1, int last = -1) {
        cell.category = CT_Mch;
        cell.cell = CL_Mch_FreqR;
        cell.parameter = n;
        cmcCellCapsule c;
        c.cell = &cell;
        if (first >= 0) {
            c.rangeFlags = cmcCellCapsule::kRangeBlock;
            c.rangeFirst = first;
            c.rangeLast = last;
        }
        EXPECT_TRUE(rows->Run(command, c, 0));
        return c;
    }

    cmcTextTables tables;
    cmcFCache lists{tables.Text()};
    cmcCodecEnv env{&tables.Text(), &lists, nullptr};
    cmcEeprom work, defaults, reference;
    ScriptedMessageBox box;
    datClipCh clip;
    cmcCellObj cell;
    std::unique_ptr<indCellHandler> handler;
    std::unique_ptr<indRowCommands> rows;
};

TEST_F(RowCommandsTest, CopyKeepsToTheBankAndPasteStopsAtItsLastChannel) {
    const int last = Count() - 1;
    // Rows past the bank's end are not copied.
    cmcCellCapsule copied = Run(CL_PMenu_Copy, 0, 0, last + 3);
    EXPECT_EQ(clip.Count(), last + 1);
    EXPECT_EQ(copied.rangeLast, last);

    Run(CL_PMenu_Copy, 0, 0, 3); // four channels
    const int32_t f0 = Channel(0).rxFrequency, f1 = Channel(1).rxFrequency,
                  lastBefore = Channel(last).rxFrequency;
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    cmcCellCapsule pasted = Run(CL_PMenu_Paste, last - 1);
    EXPECT_EQ(Channel(last - 1).rxFrequency, f0);
    EXPECT_EQ(Channel(last).rxFrequency, f1);
    EXPECT_EQ(Count(), last + 1); // nothing beyond the bank
    EXPECT_NE(lastBefore, f1);
    EXPECT_EQ(pasted.rangeFirst, last - 1);
    EXPECT_EQ(pasted.rangeLast, last);
    EXPECT_EQ(box.shown.size(), 1u); // over channels in use: asked first
}

TEST_F(RowCommandsTest, DeleteRefusesPriorityChannelsAndAsksBeforeRemovingChannelsInUse) {
    const int count = Count();
    datCh prio = Channel(0);
    prio.marks |= 0x01; // priority A
    prio.Encode(datCh::kChannel1, 0);
    Run(CL_PMenu_Delete, 0, 0, 1);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    EXPECT_EQ(Count(), count);

    box.answers.push_back(cmcMessageBox::Answer::Cancel);
    Run(CL_PMenu_Delete, 1, 1, 2);
    EXPECT_EQ(Count(), count);

    const int32_t f3 = Channel(3).rxFrequency;
    box.answers.push_back(cmcMessageBox::Answer::Ok);
    cmcCellCapsule done = Run(CL_PMenu_Delete, 2, 1, 2);
    EXPECT_EQ(Count(), count - 2);
    EXPECT_EQ(Channel(1).rxFrequency, f3);
    EXPECT_EQ(done.redirect.on, 1);
    EXPECT_EQ(done.redirect.parameter, 1); // the cursor goes to the first deleted position
}

TEST_F(RowCommandsTest, InsertStopsWithAMessageWhenTheMemoryHoldsNoMoreChannels) {
    int total = 0;
    for (int g = 0; g < L::kGroups; ++g)
        total += L::GroupCount(work.Data(), g);
    const int room = handler->LargestRoom(CT_Mch, L::kChannels - total, 0);
    ASSERT_GT(room, 0);
    ASSERT_TRUE(handler->AddChannels(0, room - 1));
    const int count = Count();
    cmcCellCapsule inserted = Run(CL_PMenu_Insert, 1, 1, 2); // room for one of the two
    EXPECT_EQ(Count(), count + 1);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, cmcMessageBox::Icon::Error);
    EXPECT_EQ(inserted.rangeFirst, 1);
    EXPECT_EQ(inserted.rangeLast, 1);
}

TEST_F(RowCommandsTest, OnlyChannelRowsAndTheRowCommandsBelongHere) {
    cmcCellObj other;
    other.category = CT_Null;
    other.cell = CL_Comm_Tot_Beep;
    cmcCellCapsule c;
    c.cell = &other;
    EXPECT_FALSE(rows->Run(CL_PMenu_Copy, c));
    cell.category = CT_Mch;
    cell.cell = CL_Mch_FreqR;
    cmcCellCapsule row;
    row.cell = &cell;
    EXPECT_FALSE(rows->Run(CL_PMenu_Edit, row));
    EXPECT_FALSE(rows->Applies(CL_PMenu_Paste, row, 0)); // nothing copied
    cell.parameter = Count();                            // the new row
    EXPECT_FALSE(rows->Applies(CL_PMenu_Copy, row, 0));
    EXPECT_TRUE(rows->Applies(CL_PMenu_Insert, row, 0));
}

} // namespace

// Row commands on every list they serve: each list kind runs the same command script, and the
// references to moved entries follow them; the limits of each list refuse with their messages.
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
#include "model/indRowKinds.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using L = indLayout;
using Result = indRowCommands::Result;

std::string DataDir() {
    const char* d = std::getenv("OSTREL_DATA_DIR");
    return d ? d : ".";
}

struct ListCase {
    const char* name;
    int32_t category;
    int32_t kind;
};

// One row category per list kind the row commands serve.
const ListCase kLists[] = {
    {"channels", CT_Mch, datCh::kChannel1},
    {"scan lists", CT_Scan, datCh::kKindScanList},
    {"bank operation", CT_BankOp, 13},
    {"NXDN IDs", CT_Nxdn_Inv, datCh::kKindNxdnIndId},
    {"NXDN talk groups", CT_Nxdn_Tg, datCh::kKindNxdnGroupId},
    {"repeaters", CT_Rpt, datCh::kKindRepeater},
    {"MDC aliases", CT_MDC_Alias, datCh::kKindMdcAlias},
    {"trunking repeaters", CT_VORN_Rpt, datCh::kKindTrunkRepeater},
    {"trunking IDs", CT_VORN_Inv, datCh::kKindTrunkIndId},
    {"trunking talk groups", CT_VORN_Tg, datCh::kKindTrunkTalkGroup},
    {"dPMR IDs", CT_Dpmr_Inv, datCh::kKindDpmrIndId},
    {"dPMR status", CT_Dpmr_Status, 34},
};

class RowListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(tables.Load(DataDir(), 0), 0);
        work.SetSize(L::kWorkSize);
        indModel::LoadInitialData(DataDir() + "/Initial_LMR.ocd", work);
        defaults = work;
        indModel model(&defaults, nullptr, {});
        model.Convert(work, 0);
        defaults = work;
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
    }

    // Gives a list six entries (bank 0 six channels) tagged 100, 101, ... so that moves can be told.
    void Fill(const ListCase& c, int entries = 6) {
        const indRowKind& list = *indRowKinds::Of(c.kind);
        if (list.count == indRowKind::Count::Channels && L::GroupCount(work.Data(), 0) < entries) {
            ASSERT_TRUE(handler->AddChannels(0, entries - L::GroupCount(work.Data(), 0)));
        } else if (list.Resizable()) {
            indRowKinds::SetGroupSize(work, list, 0, entries);
        }
        for (int i = 0; i < entries; ++i) {
            SetTag(c.kind, i, 100 + i);
        }
        if (c.kind == datCh::kKindDpmrIndId) {
            // Entries 0 and 5 are group IDs, the others individual IDs.
            for (int i : {0, 5}) {
                datCh e(&work);
                e.Decode(c.kind, i);
                e.byte1 |= 0x80;
                e.Encode(c.kind, i);
            }
        }
        reference = work;
    }
    // The tag sits in a 16-bit field every kind keeps as it is: the channel's receive frequency, else
    // bytes 2-3 of the entry's first area (after the dPMR status's kind byte).
    void SetTag(int kind, int i, int tag) {
        if (datCh::IsChannelKind(kind)) {
            datCh ch(&work);
            ch.Decode(kind, i);
            ch.rxFrequency = 150000000 + tag * 12500;
            ch.status |= datCh::kInUse;
            ch.Encode(kind, i);
            return;
        }
        L::Put16(TagAt(kind, i), 0, uint32_t(tag));
    }
    int Tag(int kind, int i) {
        if (datCh::IsChannelKind(kind)) {
            datCh ch(&work);
            ch.Decode(kind, i);
            return (ch.rxFrequency - 150000000) / 12500;
        }
        return L::Get16(TagAt(kind, i), 0);
    }
    uint8_t* TagAt(int kind, int i) {
        if (indRowKinds::IsRaw(kind)) {
            return indRowKinds::RawAreas(work, kind, i)[0].data() + 2;
        }
        int32_t offset = 0, size = 0;
        EXPECT_TRUE(datCh::EntryBytes(kind, i, offset, size));
        return work.Data() + offset + 2;
    }
    std::vector<int> Tags(int kind, int n = 6) {
        std::vector<int> tags;
        for (int i = 0; i < n; ++i) {
            tags.push_back(Tag(kind, i));
        }
        return tags;
    }
    int Count(const ListCase& c) { return indRowKinds::GroupSize(work, *indRowKinds::Of(c.kind), 0); }

    Result Run(const ListCase& c, int32_t command, int n, int first = -1, int last = -1,
               cmcCellCapsule* out = nullptr) {
        cell.category = c.category;
        cell.cell = CL_Null;
        cell.parameter = n;
        cmcCellCapsule capsule;
        capsule.cell = &cell;
        if (first >= 0) {
            capsule.rangeFlags = cmcCellCapsule::kRangeBlock;
            capsule.rangeFirst = first;
            capsule.rangeLast = last;
        }
        for (int i = 0; i < 4; ++i) {
            box.answers.push_back(cmcMessageBox::Answer::Ok);
        }
        const Result r = rows->Execute(command, capsule, 0);
        box.answers.clear();
        if (out) {
            *out = capsule;
        }
        return r;
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

TEST_F(RowListsTest, EveryListCopiesPastesCarriesAndClearsItsRows) {
    for (const ListCase& c : kLists) {
        SCOPED_TRACE(c.name);
        SetUp();
        Fill(c);
        ASSERT_EQ(Tags(c.kind), (std::vector<int>{100, 101, 102, 103, 104, 105}));

        EXPECT_EQ(Run(c, CL_PMenu_Copy, 1, 1, 2), Result::Done);
        EXPECT_EQ(Run(c, CL_PMenu_Paste, 4), Result::Done);
        EXPECT_EQ(Tags(c.kind), (std::vector<int>{100, 101, 102, 103, 101, 102}));

        SetTag(c.kind, 4, 104);
        SetTag(c.kind, 5, 105);
        cmcCellCapsule moved;
        if (c.kind == 13) {
            // A bank carries its channels: its row stays where it is.
            EXPECT_EQ(Run(c, CL_PMenu_CarryDown, 1, 1, 2, &moved), Result::Nothing);
        } else {
            EXPECT_EQ(Run(c, CL_PMenu_CarryDown, 1, 1, 2, &moved), Result::Done);
            EXPECT_EQ(Tags(c.kind), (std::vector<int>{100, 103, 101, 102, 104, 105}));
            EXPECT_EQ(moved.rangeFirst, 2);
            EXPECT_EQ(moved.rangeLast, 3);
            EXPECT_EQ(moved.redirect.parameter, 3);
            EXPECT_EQ(Run(c, CL_PMenu_CarryUp, 2, 2, 3, &moved), Result::Done);
            EXPECT_EQ(Tags(c.kind), (std::vector<int>{100, 101, 102, 103, 104, 105}));
            EXPECT_EQ(moved.redirect.parameter, 1);
            EXPECT_EQ(Run(c, CL_PMenu_CarryUp, 0), Result::Nothing); // the first row stays
        }

        SetTag(c.kind, 3, 7);
        EXPECT_EQ(Run(c, CL_PMenu_Clear, 3), Result::Done);
        EXPECT_EQ(Tag(c.kind, 3), 103); // as last read or opened
    }
}

TEST_F(RowListsTest, ListsThatGrowInsertAndDeleteRowsAndFixedListsDoNot) {
    for (const ListCase& c : kLists) {
        SCOPED_TRACE(c.name);
        SetUp();
        Fill(c);
        const int count = Count(c);
        if (!indRowKinds::Of(c.kind)->Resizable()) {
            EXPECT_EQ(Run(c, CL_PMenu_Insert, 1), Result::Nothing);
            EXPECT_EQ(Run(c, CL_PMenu_Delete, 1), Result::Nothing);
            EXPECT_EQ(Tags(c.kind), (std::vector<int>{100, 101, 102, 103, 104, 105}));
            continue;
        }
        EXPECT_EQ(Run(c, CL_PMenu_Insert, 1, 1, 2), Result::Done);
        EXPECT_EQ(Count(c), count + 2);
        EXPECT_EQ(Tag(c.kind, 3), 101);
        EXPECT_EQ(Tag(c.kind, 7), 105);
        cmcCellCapsule deleted;
        EXPECT_EQ(Run(c, CL_PMenu_Delete, 1, 1, 2, &deleted), Result::Done);
        EXPECT_EQ(Count(c), count);
        EXPECT_EQ(Tags(c.kind), (std::vector<int>{100, 101, 102, 103, 104, 105}));
        EXPECT_EQ(deleted.redirect.parameter, 1);

        // Deleting the last two rows leaves the cursor on the last entry left.
        EXPECT_EQ(Run(c, CL_PMenu_Delete, 4, 4, 5, &deleted), Result::Done);
        EXPECT_EQ(deleted.redirect.parameter, 3);

        // Pasted onto the blank row after the last entry, copied rows are added.
        EXPECT_EQ(Run(c, CL_PMenu_Copy, 0, 0, 1), Result::Done);
        EXPECT_EQ(Run(c, CL_PMenu_Paste, 4), Result::Done);
        EXPECT_EQ(Count(c), 6);
        EXPECT_EQ(Tags(c.kind), (std::vector<int>{100, 101, 102, 103, 100, 101}));
    }
}

TEST_F(RowListsTest, CarryingChannelsRenumbersEveryReferenceToThem) {
    const ListCase& channels = kLists[0];
    Fill(channels, 10);
    uint8_t* scan = work.Data() + L::SlotAddress(indTable::kScanLists);
    L::Put16(scan, 12, 5); // scan list 0: priority channel 5 ...
    L::Put16(scan, 14, 3); // ... and channel 3
    L::Put16(scan, 16, 7);
    uint8_t& switchChannel = work.Data()[L::At(indTable::kModelExtras, indKeysArea::kMoveChannel)];
    switchChannel = 2;
    uint8_t* refs = work.Data() + L::SlotAddress(indTable::kChannelRefs);
    refs[0] = 4;
    refs[1] = 0x80; // none
    datCh group(&work);
    group.Decode(datCh::kKindChannelGroup, 0);
    group.byte0 = 1;
    group.value = 5;
    group.Encode(datCh::kKindChannelGroup, 0);

    // Carry Down of channels 2 to 4 of 10: channel 5 moves to 2, 2..4 to 3..5.
    ASSERT_EQ(Run(channels, CL_PMenu_CarryDown, 2, 2, 4), Result::Done);
    EXPECT_EQ(Tags(datCh::kChannel1, 7), (std::vector<int>{100, 101, 105, 102, 103, 104, 106}));
    EXPECT_EQ(L::Get16(scan, 12), 2);
    EXPECT_EQ(L::Get16(scan, 14), 4);
    EXPECT_EQ(L::Get16(scan, 16), 7);
    EXPECT_EQ(switchChannel, 3);
    EXPECT_EQ(refs[0], 5);
    EXPECT_EQ(refs[1], 0x80);
    group.Decode(datCh::kKindChannelGroup, 0);
    EXPECT_EQ(group.value, 2);

    // A deletion before the channel switch's channel moves it down, a deletion of it frees it, and an
    // insertion before a reference moves it up.
    ASSERT_EQ(Run(channels, CL_PMenu_Delete, 1), Result::Done);
    EXPECT_EQ(switchChannel, 2);
    EXPECT_EQ(L::Get16(scan, 12), 1);
    ASSERT_EQ(Run(channels, CL_PMenu_Delete, 2), Result::Done);
    EXPECT_EQ(switchChannel, 0x80);
    ASSERT_EQ(Run(channels, CL_PMenu_Insert, 1), Result::Done);
    EXPECT_EQ(L::Get16(scan, 12), 2);
    EXPECT_EQ(switchChannel, 0x80);
}

TEST_F(RowListsTest, CarryingListEntriesRenumbersTheReferencesOfChannelsAndSettings) {
    Fill(kLists[0], 4);
    Fill(kLists[3]);  // NXDN IDs
    Fill(kLists[10]); // dPMR IDs
    Fill(kLists[1]);  // scan lists
    datCh ch(&work);
    ch.Decode(datCh::kChannel1, 0);
    ch.individualList = 3;
    ch.dpmrCallList = 1;
    ch.lists = 1u << 16; // member of scan list 0
    ch.scanList = 1;     // and starts it
    ch.Encode(datCh::kChannel1, 0);
    const int32_t nxdnStatus = L::At(indTable::kNxdnStatusSettings, 4);
    const int32_t stun = L::At(indTable::kDpmrStun, 2);
    L::Put16(work.Data(), nxdnStatus, 1);
    L::Put16(work.Data(), stun, 2);

    ASSERT_EQ(Run(kLists[3], CL_PMenu_CarryUp, 3), Result::Done); // NXDN ID 3 <-> 2
    ASSERT_EQ(Run(kLists[10], CL_PMenu_CarryDown, 1, 1, 2), Result::Done);
    ASSERT_EQ(Run(kLists[1], CL_PMenu_CarryDown, 0), Result::Done); // scan list 0 -> 1
    ch.Decode(datCh::kChannel1, 0);
    EXPECT_EQ(ch.individualList, 2);
    EXPECT_EQ(ch.dpmrCallList, 2);
    EXPECT_EQ(ch.lists, 1u << 15);
    EXPECT_EQ(ch.scanList, 2);
    EXPECT_EQ(L::Get16(work.Data(), nxdnStatus), 1);
    EXPECT_EQ(L::Get16(work.Data(), stun), 3);
}

TEST_F(RowListsTest, AChannelsHomeRepeaterFollowsItsRepeater) {
    Fill(kLists[0], 4);
    Fill(kLists[5]);                 // six repeaters in bank 0's group
    work.Data()[L::kBankF1] |= 0x80; // bank 0 is a repeater bank
    auto home = [&](int channel, int value = -1) {
        datCh ch(&work);
        ch.Decode(datCh::kChannel1, channel);
        if (value >= 0) {
            ch.groupHomeRepeater = uint16_t(value);
            ch.Encode(datCh::kChannel1, channel);
        }
        return int(ch.groupHomeRepeater);
    };
    home(0, 3); // the third repeater, entry 2
    home(1, 6);
    ASSERT_EQ(Run(kLists[5], CL_PMenu_CarryDown, 1, 1, 2), Result::Done); // entries 1, 2 -> 2, 3
    EXPECT_EQ(home(0), 4);
    EXPECT_EQ(home(1), 6);
    ASSERT_EQ(Run(kLists[5], CL_PMenu_Delete, 0), Result::Done);
    EXPECT_EQ(home(0), 3);
    EXPECT_EQ(home(1), 5);
    ASSERT_EQ(Run(kLists[5], CL_PMenu_Insert, 1), Result::Done);
    EXPECT_EQ(home(0), 4);
    EXPECT_EQ(home(1), 6);
    // The home repeater itself deleted: the channel keeps a number the group still has.
    ASSERT_EQ(Run(kLists[5], CL_PMenu_Delete, 5), Result::Done);
    EXPECT_EQ(home(1), 5);
}

TEST_F(RowListsTest, LimitsRefuseWithTheirMessages) {
    struct Limit {
        const char* name;
        int listCase; // index into kLists
        int entries;  // entries before the command
        int32_t command;
        int first, last;
        const char* message; // the overlay key of the error shown
        int countAfter;
    };
    const Limit limits[] = {
        {"deleting every talk group", 4, 6, CL_PMenu_Delete, 0, 5, "GI_AppMess_ListErr_NoList", 6},
        {"deleting every trunking ID", 8, 6, CL_PMenu_Delete, 0, 5, "GI_AppMess_ListErr_NoList", 6},
        {"deleting every dPMR individual ID", 10, 6, CL_PMenu_Delete, 0, 4, "GI_AppMess_DpmrListErr_NoList",
         6},
        {"inserting past 20 repeaters of a bank", 5, 19, CL_PMenu_Insert, 2, 4, "GI_AppMess_ChErr_Overflow",
         20},
        {"inserting past 30 trunking repeaters", 7, 30, CL_PMenu_Insert, 0, 0, "GI_AppMess_ChErr_Overflow",
         30},
    };
    for (const Limit& l : limits) {
        SCOPED_TRACE(l.name);
        SetUp();
        const ListCase& c = kLists[l.listCase];
        Fill(c, l.entries);
        box.shown.clear();
        EXPECT_EQ(Run(c, l.command, l.first, l.first, l.last), Result::Refused);
        ASSERT_FALSE(box.shown.empty());
        EXPECT_EQ(box.shown.back().icon, cmcMessageBox::Icon::Error);
        EXPECT_EQ(box.shown.back().text, tables.Text().GetJoinedText(l.message));
        EXPECT_EQ(Count(c), l.countAfter);
    }
    // Deleting all but one entry of each dPMR type is allowed.
    SetUp();
    Fill(kLists[10]);
    EXPECT_EQ(Run(kLists[10], CL_PMenu_Delete, 1, 1, 3), Result::Done);
    EXPECT_EQ(Count(kLists[10]), 3);
}

TEST_F(RowListsTest, InsertingThreeIdsIntoAListOf499AddsOneAndReportsTheOverflow) {
    const ListCase& c = kLists[3];
    indRowKinds::SetGroupSize(work, *indRowKinds::Of(c.kind), 0, 499);
    ASSERT_TRUE(handler->RoomFor(c.category, 1, 0)) << "the memory holds 500 NXDN IDs";
    box.shown.clear();
    EXPECT_EQ(Run(c, CL_PMenu_Insert, 0, 0, 2), Result::Refused);
    EXPECT_EQ(Count(c), 500);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, tables.Text().GetJoinedText("GI_AppMess_ChErr_Overflow"));
}

TEST_F(RowListsTest, FixedDpmrStatusesAreNotCopied) {
    const ListCase& c = kLists[11];
    Fill(c);
    indRowKinds::RawAreas(work, c.kind, 2)[0][0] = 3; // a fixed status
    EXPECT_EQ(Run(c, CL_PMenu_Copy, 1, 1, 3), Result::Refused);
    EXPECT_FALSE(clip.CanPaste(c.kind));
    EXPECT_EQ(Run(c, CL_PMenu_Copy, 0, 0, 1), Result::Done);
    EXPECT_TRUE(clip.CanPaste(c.kind));
}

} // namespace

// Sorting a list through the row commands: the entries take their new places in one change, every
// reference to a moved entry still names the same entry, and what is not a reordering of a list that
// moves changes nothing.
#include "HandlerFixture.h"
#include "model/datCh.h"
#include "model/datClipCh.h"
#include "model/indRowCommands.h"
#include "model/indRowKinds.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace handlerfix;
using Result = indRowCommands::Result;

class RowSortTest : public HandlerTest {
protected:
    void SetUp() override {
        HandlerTest::SetUp();
        indRowCommands::Services s;
        s.work = &work;
        s.reference = &work;
        s.defaults = &defaults;
        s.clip = &clip;
        s.handler = handler.get();
        s.box = &box;
        s.texts = &tables.Text();
        rows = std::make_unique<indRowCommands>(s);
        // Bank 0 holds six channels in use, told apart by their receive frequency tag 100 + n.
        if (Count(0) < 6) {
            ASSERT_TRUE(handler->AddChannels(0, 6 - Count(0)));
        }
        ASSERT_EQ(Count(0), 6);
        for (int n = 0; n < 6; ++n) {
            datCh ch = Channel(n);
            ch.rxFrequency = 150000000 + (100 + n) * 12500;
            ch.Encode(datCh::kChannel1, n);
        }
    }
    datCh Channel(int n) {
        datCh ch(&work);
        ch.Decode(datCh::kChannel1, n);
        return ch;
    }
    int Tag(int n) { return (Channel(n).rxFrequency - 150000000) / 12500; }
    std::vector<int> Tags() {
        std::vector<int> tags;
        for (int n = 0; n < 6; ++n)
            tags.push_back(Tag(n));
        return tags;
    }
    // The position of the channel tagged tag.
    int Where(int tag) {
        for (int n = 0; n < 6; ++n)
            if (Tag(n) == tag)
                return n;
        return -1;
    }

    datClipCh clip;
    std::unique_ptr<indRowCommands> rows;
};

TEST_F(RowSortTest, SortedChannelsKeepEveryReferenceOnTheChannelItNamed) {
    uint8_t* w = work.Data();
    uint8_t* scan = w + L::SlotAddress(indTable::kScanLists);
    L::Put16(scan, 12, 5); // scan list 0: priority 1 channel 5, priority 2 channel 3, TX channel 0
    L::Put16(scan, 14, 3);
    L::Put16(scan, 16, 0);
    uint8_t& switchChannel = w[L::At(indTable::kModelExtras, indKeysArea::kMoveChannel)];
    switchChannel = 1;
    uint8_t* refs = w + L::SlotAddress(indTable::kChannelRefs);
    refs[0] = 2;
    refs[1] = 0x80; // none
    datCh group(&work);
    group.Decode(datCh::kKindChannelGroup, 0);
    group.byte0 = 1; // names a channel
    group.value = 3;
    group.Encode(datCh::kKindChannelGroup, 0);
    L::Put16(w, L::kMark0At, 4); // the priority channels A and B
    L::Put16(w, L::kMark1At, 1);
    datCh own = Channel(4);
    own.individualList = 7;
    own.Encode(datCh::kChannel1, 4);

    const std::vector<int32_t> order = {3, 0, 5, 1, 4, 2};
    ASSERT_EQ(rows->Sort(CT_Mch, 0, order), Result::Done);
    EXPECT_EQ(Tags(), (std::vector<int>{101, 103, 105, 100, 104, 102}));
    // Each reference names the position its channel moved to.
    EXPECT_EQ(L::Get16(scan, 12), Where(105));
    EXPECT_EQ(L::Get16(scan, 14), Where(103));
    EXPECT_EQ(L::Get16(scan, 16), Where(100));
    EXPECT_EQ(switchChannel, Where(101));
    EXPECT_EQ(refs[0], Where(102));
    EXPECT_EQ(refs[1], 0x80);
    group.Decode(datCh::kKindChannelGroup, 0);
    EXPECT_EQ(group.value, Where(103));
    EXPECT_EQ(L::Get16(w, L::kMark0At), Where(104));
    EXPECT_EQ(L::Get16(w, L::kMark1At), Where(101));
    EXPECT_EQ(Channel(Where(104)).marks & 0x03, 0x01);
    EXPECT_EQ(Channel(Where(101)).marks & 0x03, 0x02);
    // A channel's own fields go with it.
    EXPECT_EQ(Channel(Where(104)).individualList, 7);
    // The change is in the packed memory too: a save keeps the new order.
    cmcEeprom reopened = Reopened();
    datCh saved(&reopened);
    saved.Decode(datCh::kChannel1, 0);
    EXPECT_EQ(saved.rxFrequency, Channel(0).rxFrequency);
}

TEST_F(RowSortTest, SortedListsCarryTheReferencesOfChannelsAndSettings) {
    // Six NXDN IDs; channel 0 calls ID 1, the status setting names ID 4.
    const indRowKind& ids = *indRowKinds::Of(datCh::kKindNxdnIndId);
    indRowKinds::SetGroupSize(work, ids, 0, 6);
    datCh ch = Channel(0);
    ch.individualList = 1;
    ch.lists = 1u << 16; // member of scan list 0 ...
    ch.scanList = 1;     // ... and starts it
    ch.Encode(datCh::kChannel1, 0);
    const int32_t nxdnStatus = L::At(indTable::kNxdnStatusSettings, 4);
    L::Put16(work.Data(), nxdnStatus, 4);

    ASSERT_EQ(rows->Sort(CT_Nxdn_Inv, -1, {5, 4, 3, 2, 1, 0}), Result::Done);
    std::vector<int32_t> scanOrder(17);
    for (int i = 0; i < 17; ++i)
        scanOrder[size_t(i)] = (i + 2) % 17; // scan list 0 goes to 2
    ASSERT_EQ(rows->Sort(CT_Scan, -1, scanOrder), Result::Done);

    ch = Channel(0);
    EXPECT_EQ(ch.individualList, 4);
    EXPECT_EQ(L::Get16(work.Data(), nxdnStatus), 1);
    EXPECT_EQ(ch.lists, 1u << 14);
    EXPECT_EQ(ch.scanList, 3);
}

TEST_F(RowSortTest, AChannelsHomeRepeaterFollowsItsSortedRepeater) {
    const indRowKind& repeaters = *indRowKinds::Of(datCh::kKindRepeater);
    indRowKinds::SetGroupSize(work, repeaters, 0, 4);
    work.Data()[L::kBankF1] |= 0x80; // bank 0 is a repeater bank
    datCh ch = Channel(2);
    ch.groupHomeRepeater = 2; // the group's second repeater, entry 1
    ch.Encode(datCh::kChannel1, 2);
    ASSERT_EQ(rows->Sort(CT_Rpt, 0, {2, 3, 0, 1}), Result::Done);
    EXPECT_EQ(Channel(2).groupHomeRepeater, 4);
}

TEST_F(RowSortTest, WhatIsNotAReorderingOfAMovableListChangesNothing) {
    struct Case {
        const char* name;
        int32_t category;
        int32_t group;
        std::vector<int32_t> order;
        Result result;
    };
    const Case cases[] = {
        {"the same order", CT_Mch, 0, {0, 1, 2, 3, 4, 5}, Result::Nothing},
        {"too few positions", CT_Mch, 0, {1, 0}, Result::Nothing},
        {"a position twice", CT_Mch, 0, {1, 1, 2, 3, 4, 5}, Result::Nothing},
        {"a position past the list", CT_Mch, 0, {6, 0, 1, 2, 3, 4}, Result::Nothing},
        {"channels without their bank", CT_Mch, -1, {1, 0, 2, 3, 4, 5}, Result::NotHere},
        {"the banks carry their channels", CT_BankOp, -1, {1, 0, 2, 3, 4, 5, 6, 7}, Result::NotHere},
        {"a category of no list", CT_Null, -1, {1, 0}, Result::NotHere},
    };
    const cmcEeprom before = work;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rows->Sort(c.category, c.group, c.order), c.result);
        EXPECT_TRUE(work == before);
    }
}

// On data that lacks a list's table (an older file), a new order would vanish on saving.
TEST_F(RowSortTest, AListTheDataDoesNotKeepIsNotSorted) {
    Lack({indTable::kNxdnIndIds});
    L::Put16(work.Data(), L::kCount33, 2);
    const cmcEeprom before = work;
    EXPECT_EQ(rows->Sort(CT_Nxdn_Inv, -1, {1, 0}), Result::Refused);
    EXPECT_STREQ(rows->QuietRefusal(), "GI_AppMess_S_SortUnsaved");
    EXPECT_TRUE(work == before);
}

TEST_F(RowSortTest, EmptyEntriesAreThoseNotInUseOrStillAsInTheInitialData) {
    datCh unused = Channel(2);
    unused.rxFrequency = 0; // not in use
    unused.Encode(datCh::kChannel1, 2);
    int32_t first = -1;
    std::vector<bool> empty;
    ASSERT_TRUE(rows->SortEntries(CT_Mch, 0, first, empty));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(empty, (std::vector<bool>{false, false, true, false, false, false}));

    uint8_t* scan = work.Data() + L::SlotAddress(indTable::kScanLists);
    L::Put16(scan, 18 * 3 + 12, 2); // scan list 3 names a priority channel
    ASSERT_TRUE(rows->SortEntries(CT_Scan, -1, first, empty));
    ASSERT_EQ(empty.size(), 17u);
    for (size_t i = 0; i < empty.size(); ++i)
        EXPECT_EQ(empty[i], i != 3) << i;
    EXPECT_FALSE(rows->SortEntries(CT_BankOp, -1, first, empty));
}

} // namespace

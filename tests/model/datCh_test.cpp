#include "ModelFixtures.h"
#include "model/datCh.h"
#include "model/datClipCh.h"
#include "model/datQirsAdr.h"

#include <gtest/gtest.h>

#include <random>

using namespace modelfix;

namespace {

// A working image full of random bytes, with valid frequencies and sane group counts.
cmcEeprom RandomWork(unsigned seed) {
    cmcEeprom img;
    img.SetSize(L::kWorkSize);
    std::mt19937 rng(seed);
    for (int32_t a = 0; a < L::kWorkSize; ++a)
        img.Data()[a] = uint8_t(rng());
    uint8_t* w = img.Data();
    for (int g = 0; g < 8; ++g)
        L::Put16(w, L::kGroupCounts + 2 * g, 16);
    for (int n = 0; n < 128; ++n) {
        L::Put32(w, L::kChA + 28 * n, (rng() % 800000000) | (rng() & 0x80000000u));
        L::Put32(w, L::kChA + 28 * n + 4, (rng() % 800000000) | (rng() & 0x80000000u));
    }
    return img;
}

cmcEeprom EmptyWork() {
    cmcEeprom img;
    img.SetSize(L::kWorkSize);
    L::Put16(img.Data(), L::kGroupCounts, 10);
    return img;
}

} // namespace

TEST(datCh, DecodeThenEncodeOfEveryKindLeavesTheImageUnchanged) {
    for (unsigned seed : {1u, 2u}) {
        cmcEeprom img = RandomWork(seed);
        const cmcEeprom before = img;
        datCh r(&img);
        for (int kind = 1; kind <= 40; ++kind) {
            for (int i = 0; i < datCh::Capacity(kind); ++i) {
                r.Decode(kind, i);
                r.Encode(0, i);
            }
            int32_t diff = -1;
            for (int32_t a = 0; a < L::kWorkSize && diff < 0; ++a)
                if (img.Data()[a] != before.Data()[a])
                    diff = a;
            ASSERT_EQ(diff, -1) << "kind " << kind << " seed " << seed;
        }
    }
}

TEST(datCh, FrequenciesAreClampedAndFlagsKept) {
    cmcEeprom img = EmptyWork();
    uint8_t* A = img.Data() + L::kChA + 28 * 3;
    L::Put32(A, 0, 0x7FFFFFFF);
    L::Put32(A, 4, 0x80000000u | 146520000);
    datCh r(&img);
    r.Decode(1, 3);
    EXPECT_EQ(r.rxFrequency, 799999950);
    EXPECT_EQ(r.txFrequency, 146520000);
    EXPECT_EQ(r.frequencyFlags & 3, 2); // transmit off
    r.Encode(0, 3);
    EXPECT_EQ(L::Get32(A, 0), 799999950u);
    EXPECT_EQ(L::Get32(A, 4), 0x80000000u | 146520000);
    r.rxFrequency = -5;
    r.Encode(0, 3);
    EXPECT_EQ(L::Get32(A, 0), 0u);
}

TEST(datCh, ChannelOutsideTheSlotsIsClearedAndWritesNothing) {
    cmcEeprom img = RandomWork(9);
    const cmcEeprom before = img;
    datCh r(&img);
    r.Decode(1, 128);
    EXPECT_EQ(r.status, datCh::kHasContent);
    EXPECT_EQ(r.rxFrequency, 0);
    r.rxFrequency = 150000000;
    r.Encode(1, 128);
    r.Encode(1, -1);
    r.Encode(18, 500);
    EXPECT_TRUE(img == before);
}

TEST(datCh, TonesDecode) {
    struct Case {
        uint8_t t0, t1;
        bool on, digital, inverted;
        int code, index;
    };
    const Case cases[] = {
        {0x40, 0x17, true, true, false, 23, 0},
        {0x61, 0x02, true, true, true, 258, 0},
        {0x00, 0x08, true, false, false, 0, 8},
        {0x80, 0x08, false, false, false, 0, 8},
    };
    for (const Case& c : cases) {
        cmcEeprom img = EmptyWork();
        img.Data()[L::kChA + 8] = c.t0;
        img.Data()[L::kChA + 9] = c.t1;
        datCh r(&img);
        r.Decode(2, 0);
        EXPECT_EQ(r.tone1.on, c.on) << int(c.t0);
        EXPECT_EQ(r.tone1.digital, c.digital) << int(c.t0);
        EXPECT_EQ(r.tone1.inverted, c.inverted) << int(c.t0);
        EXPECT_EQ(r.tone1.code, c.code) << int(c.t0);
        EXPECT_EQ(r.tone1.index, c.index) << int(c.t0);
    }
}

TEST(datCh, InUseFollowsTheBankKind) {
    cmcEeprom img = EmptyWork();
    uint8_t* w = img.Data();
    L::Put32(w, L::kChA + 28 * 2, 150000000);
    datCh r(&img);
    r.Decode(1, 2);
    EXPECT_EQ(r.status, datCh::kHasContent | datCh::kInUse);
    w[L::kBankF3] = 0x80; // bank 0 is a trunking bank: a talk group makes the channel used
    r.Decode(1, 2);
    EXPECT_EQ(r.status, datCh::kHasContent);
    L::Put16(w, L::kChD + 5 * 2 + 2, 7);
    r.Decode(1, 2);
    EXPECT_EQ(r.status, datCh::kHasContent | datCh::kInUse);
}

TEST(datCh, MarksWriteBack) {
    cmcEeprom img = EmptyWork();
    uint8_t* w = img.Data();
    datCh r(&img);
    r.Decode(1, 4);
    r.marks = 0x01 | 0x04 | 0x08 | 0x10;
    r.Encode(0, 4);
    EXPECT_EQ(L::Get16(w, L::kMark0At), 4);
    EXPECT_EQ(w[L::kMark2At], 4);
    EXPECT_EQ(w[L::kMark3Byte] & 0x20, 0);
    EXPECT_EQ(w[L::kBankF0], 0x80);
    r.Decode(1, 4);
    EXPECT_EQ(r.marks, 0x01 | 0x04 | 0x08 | 0x10);
}

// Each counted list reads its own counter, and the entry it addresses lies in its own table.
TEST(datCh, EntriesInUseReadTheCounterOfTheKindsTable) {
    struct Case {
        int kind;
        int32_t countAt;
        int32_t firstEntry;
    };
    const Case cases[] = {
        {datCh::kKindNxdnIndId, 0x2091F, 0x159E5},  {datCh::kKindNxdnGroupId, 0x20921, 0x17157},
        {datCh::kKindTrunkIndId, 0x20923, 0x1A811}, {datCh::kKindTrunkTalkGroup, 0x20925, 0x1BF81},
        {datCh::kKindMdcAlias, 0x2092B, 0x13961},   {datCh::kKindDpmrIndId, 0x2092D, 0x1DAD9},
    };
    cmcEeprom img = EmptyWork();
    uint8_t* w = img.Data();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        L::Put16(w, c.countAt, uint32_t(100 + c.kind));
        EXPECT_EQ(datCh::EntriesInUse(w, c.kind), 100 + c.kind);
        datCh::SetEntriesInUse(w, c.kind, 7);
        EXPECT_EQ(L::Get16(w, c.countAt), 7);
        int32_t at = 0, size = 0;
        ASSERT_TRUE(datCh::EntryBytes(c.kind, 0, at, size));
        EXPECT_EQ(at, c.firstEntry);
    }
    // Lists without a counter, and channels, have no entries-in-use figure; setting one writes nothing.
    const cmcEeprom before = img;
    for (int kind : {datCh::kChannel1, datCh::kKindUserCharacters, datCh::kKindChannelGroup,
                     datCh::kKindRepeater, datCh::kKindDpmrKey, 99}) {
        EXPECT_EQ(datCh::EntriesInUse(w, kind), -1) << kind;
        datCh::SetEntriesInUse(w, kind, 5);
    }
    EXPECT_TRUE(std::equal(w, w + L::kWorkSize, before.Data()));
}

TEST(datClipCh, PasteCountsKindsAndMarks) {
    cmcEeprom img = EmptyWork();
    uint8_t* w = img.Data();
    for (int n = 0; n < 10; ++n)
        L::Put32(w, L::kChA + 28 * n, uint32_t(150000000 + n));
    L::Put16(w, L::kMark0At, 1); // channel 1 carries the first mark
    datClipCh clip;
    EXPECT_FALSE(clip.CanPaste(1)); // empty clipboard
    clip.Copy(&img, 1, 0, 5);
    EXPECT_FALSE(clip.CanPaste(18));
    clip.Paste(&img, 18, 0, 5); // another kind: nothing
    EXPECT_EQ(L::Get32(w, L::kChA), 150000000u);

    auto rx = [&](int n) { return L::Get32(w, L::kChA + 28 * n); };
    clip.Paste(&img, 1, 5, 3); // a range of 3 takes 3
    EXPECT_EQ(rx(7), 150000002u);
    EXPECT_EQ(rx(8), 150000008u);
    // Without keep-target-marks the copied mark moves with the channel: channel 6 is now marked.
    EXPECT_EQ(L::Get16(w, L::kMark0At), 6);

    L::Put16(w, L::kMark0At, 1);
    clip.PasteKeepingMarks(&img, 1, 2, 8); // a range of 8 takes the 5 copied
    EXPECT_EQ(rx(6), 150000004u);
    EXPECT_EQ(rx(7), 150000002u); // untouched by the second paste
    EXPECT_EQ(L::Get16(w, L::kMark0At), 1);
}

TEST(datQirsAdr, RangesFollowTheStoredValue) {
    cmcEeprom img = EmptyWork();
    L::Put16(img.Data(), datQirsAdr::kValueAt, 100);
    datQirsAdr q(&img);
    EXPECT_EQ(q.At(2).minimum, 100);
    EXPECT_EQ(q.At(5).maximum, 99);
    EXPECT_EQ(q.At(13).minimum, 100);
    EXPECT_EQ(q.At(14).minimum, 0);
    EXPECT_EQ(q.At(45).maximum, 4095);
    q.Store(200);
    EXPECT_EQ(L::Get16(img.Data(), datQirsAdr::kValueAt), 200);
    EXPECT_EQ(q.At(6).maximum, 199);
}

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
    EXPECT_FALSE(r.inhibit);
    EXPECT_TRUE(r.txInhibit); // transmit off
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
        EXPECT_EQ(r.rxTone.on, c.on) << int(c.t0);
        EXPECT_EQ(r.rxTone.digital, c.digital) << int(c.t0);
        EXPECT_EQ(r.rxTone.inverted, c.inverted) << int(c.t0);
        EXPECT_EQ(r.rxTone.code, c.code) << int(c.t0);
        EXPECT_EQ(r.rxTone.index, c.index) << int(c.t0);
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

namespace {

using Field = datCh::Field;

// Fields at the same bits, each read by the cells of one record kind.
bool SharesBitsAcrossKinds(Field a, Field b) {
    auto pair = [&](Field x, Field y) { return (a == x && b == y) || (a == y && b == x); };
    return pair(Field::StationCode, Field::TwoTone) || pair(Field::MskReceiveCodes, Field::ReceiveCodes10) ||
           pair(Field::SpareFlag1, Field::ReceiveCodes10) || pair(Field::ReceiveCodes, Field::ReceiveCodes10);
}

bool OnlyChannelStorageDiffers(const cmcEeprom& a, const cmcEeprom& b, int n) {
    auto inside = [n](int32_t at, int32_t base, int32_t size) {
        return at >= base + size * n && at < base + size * (n + 1);
    };
    for (int32_t at = 0; at < L::kWorkSize; ++at)
        if (a.Data()[at] != b.Data()[at] && !inside(at, L::kChA, L::kChASize) &&
            !inside(at, L::kChB, L::kChBSize) && !inside(at, L::kChC, L::kChCSize) &&
            !inside(at, L::kChD, L::kChDSize))
            return false;
    return true;
}

} // namespace

// Set is what the cells store through: it must touch its own bits only, leave the record in step
// with the image, and no two fields a kind carries may share a bit.
TEST(datCh, SettingAFieldStoresItsBitsAloneAndReloads) {
    for (int kind : {datCh::kChannel1, datCh::kChannel2}) {
        for (int f = 0; f < int(Field::Count); ++f) {
            const Field field = Field(f);
            SCOPED_TRACE("kind " + std::to_string(kind) + " field " + std::to_string(f));
            cmcEeprom img = RandomWork(unsigned(7 + f));
            datCh r(&img);
            r.Decode(kind, 5);
            const cmcEeprom before = img;
            int32_t others[int(Field::Count)];
            for (int g = 0; g < int(Field::Count); ++g)
                others[g] = r.Get(Field(g));
            const int32_t old = r.Get(field);

            r.Set(field, ~old);
            EXPECT_NE(r.Get(field), old);
            EXPECT_TRUE(OnlyChannelStorageDiffers(img, before, 5));
            for (int g = 0; g < int(Field::Count); ++g) {
                if (g != f && !SharesBitsAcrossKinds(field, Field(g))) {
                    EXPECT_EQ(r.Get(Field(g)), others[g]) << "field " << g << " shares bits";
                }
            }
            const cmcEeprom stored = img;
            r.Encode(0, 5);
            EXPECT_TRUE(img == stored) << "the record did not follow the stored field";

            r.Set(field, old);
            EXPECT_TRUE(img == before);
        }
    }
}

// A channel copied from one slot to another through the record takes the bits its kind carries and
// leaves the bits of the other kind's fields as the target slot had them.
TEST(datCh, EncodingKeepsTheBitsTheKindDoesNotCarry) {
    struct Case {
        int kind;
        int byte; // in the B slot
        uint8_t mask;
        bool copied;
    };
    const Case cases[] = {
        {1, 2, 0x01, false},  {2, 2, 0x01, true},  // the high bit of the auto reset
        {1, 6, 0xCF, false},  {2, 6, 0xCF, true},  // form and position
        {2, 6, 0x30, false},                       // between them: no field
        {1, 7, 0xFF, false},  {2, 7, 0xFF, true},  // repeater code
        {1, 8, 0x7F, true},   {1, 8, 0x80, false}, // kind 1: two-tone below the station flag
        {1, 10, 0xFF, true},  {1, 11, 0xC0, true},  {1, 11, 0x3F, false}, // ten receive codes
        {2, 10, 0xFF, true},  {2, 11, 0xFF, true},  {1, 18, 0x20, true},
        {2, 18, 0x20, false}, {1, 18, 0x1F, false}, {2, 18, 0xC0, true},
        {1, 20, 0xFF, true},  {2, 20, 0xFF, false}, {1, 21, 0xFF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " B" + std::to_string(c.byte));
        cmcEeprom img = EmptyWork();
        uint8_t* from = img.Data() + L::kChB + L::kChBSize * 0;
        uint8_t* to = img.Data() + L::kChB + L::kChBSize * 1;
        from[c.byte] = 0xFF;
        to[c.byte] = 0x00;
        datCh r(&img);
        r.Decode(c.kind, 0);
        r.Encode(0, 1);
        EXPECT_EQ(to[c.byte] & c.mask, c.copied ? c.mask : 0);
    }
}

TEST(datCh, KindOneReadsTheStationCodeAsOne) {
    cmcEeprom img = EmptyWork();
    img.Data()[L::kChB + 8] = 0x05;
    datCh r(&img);
    r.Decode(datCh::kChannel1, 0);
    EXPECT_EQ(r.twoTone, 5);
    EXPECT_EQ(r.stationCode, 1);
    EXPECT_EQ(r.stationLong, 1);
    EXPECT_EQ(r.Get(Field::StationCode), 5); // the cells see the stored bits
    r.Decode(datCh::kChannel2, 0);
    EXPECT_EQ(r.stationCode, 5);
    EXPECT_EQ(r.twoTone, 0);
}

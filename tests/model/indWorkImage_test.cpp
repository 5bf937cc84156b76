#include "ModelFixtures.h"
#include "model/datCh.h"
#include "model/indDataFile.h"
#include "model/indModel.h"
#include "model/indNormalize.h"
#include "model/indWorkImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace modelfix;

namespace {

cmcEeprom LoadInitial(const char* name) {
    cmcEeprom img;
    img.SetSize(L::kWorkSize);
    EXPECT_EQ(indDataFile::Load(DataDir() + "/" + name, img), cmcKvtFile::FileError::Ok) << name;
    return img;
}

bool RadioEqual(const cmcEeprom& a, const cmcEeprom& b) {
    return std::memcmp(a.Data(), b.Data(), L::kRadioSize) == 0;
}

int GroupTotal(const uint8_t* w) {
    int sum = 0;
    for (int g = 0; g < 8; ++g)
        sum += L::GroupCount(w, g);
    return sum;
}

// Tables 2 to 5 with the given channel counts, and table 8 with the group counts.
std::vector<PackedTable> ChannelTables(int n2, int size2, int n4, int groupCount0) {
    std::vector<uint8_t> t8(226, 0);
    L::Put16(t8.data(), L::kGroupCounts - 0x12554, uint32_t(groupCount0));
    return {{2, size2, n2, {}}, {3, 34, n2, {}}, {4, 28, n4, {}}, {5, 34, n4, {}}, {8, 226, 1, t8}};
}

} // namespace

TEST(indWorkImage, ExpandThenPackReproducesEachInitialFile) {
    for (const char* name : {"Initial_LMR.ocd", "Initial_PMR.ocd"}) {
        cmcEeprom packed = LoadInitial(name);
        cmcEeprom work = packed;
        indWorkImage(work, &packed).ExpandTables();
        EXPECT_TRUE(RadioEqual(work, packed)) << name;
        EXPECT_EQ(indWorkImage(work, &packed).PackTables(false), indWorkImage::PackResult::Ok);
        EXPECT_TRUE(RadioEqual(work, packed)) << name;
    }
}

TEST(indWorkImage, PackedLayoutHasDirectorySignatureAndHeader) {
    cmcEeprom work = LoadInitial("Initial_LMR.ocd");
    const uint8_t* w = work.Data();
    const uint32_t end = L::Get32(w, L::kEndAt32);
    EXPECT_EQ(std::memcmp(w + end - 8, "Zorv Inc", 8), 0);
    // The 32-bit directory stands just before the signature.
    const uint32_t dirAt = L::Get32(w, L::kDir32At + 8);
    EXPECT_EQ(dirAt + 12 * L::Get16(w, L::kDir32At + 4), end - 8);
    EXPECT_EQ(L::Get32(w, L::kStartAt32), 0x200u);
    EXPECT_EQ(L::Get16(w, L::kDir32At + 2), 12);
    for (int32_t a = 0x110; a < 0x116; ++a)
        EXPECT_EQ(w[a], 0) << a; // 16-bit fields stay clear
    EXPECT_EQ(L::Get16(w, 0x80), 0x3328);
}

TEST(indWorkImage, PackingWithoutChannelsStillPlacesEveryTable) {
    cmcEeprom work;
    work.SetSize(L::kWorkSize);
    ASSERT_EQ(indWorkImage(work, nullptr).PackTables(false), indWorkImage::PackResult::Ok);
    indWorkImage tables(work, nullptr);
    ASSERT_TRUE(tables.CopyDirectories());
    indWorkImage::Table t;
    ASSERT_TRUE(tables.FindTable(2, t));
    EXPECT_EQ(t.count, 0);
    ASSERT_TRUE(tables.FindTable(3, t));
    EXPECT_EQ(t.count, 0);
    ASSERT_TRUE(tables.FindTable(116, t));
    EXPECT_EQ(t.count, 21);
    EXPECT_EQ(t.size, 8);
    EXPECT_FALSE(tables.FindTable(33, t)); // expanded when present, never packed
}

TEST(indWorkImage, ExpansionClipsCountsAndEntrySizes) {
    // 200 channels in table 2: only 128 slots exist.
    cmcEeprom work = BuildPacked(ChannelTables(200, 28, 0, 128));
    indWorkImage(work, nullptr).ExpandTables();
    EXPECT_EQ(GroupTotal(work.Data()), 128);
    indWorkImage t(work, nullptr);
    indWorkImage::Table t2;
    ASSERT_TRUE(t.CopyDirectories() && t.FindTable(2, t2));
    EXPECT_EQ(t2.count, 128);

    // Longer entries are cut per entry, shorter ones leave the rest of the slot alone.
    std::vector<PackedTable> tables = {{7, 20, 1, {}}, {17, 2, 32, {}}};
    cmcEeprom longer = BuildPacked(tables);
    std::memset(longer.Data() + 0x10EA0, 0xEE, 128);
    indWorkImage(longer, nullptr).ExpandTables();
    const uint8_t* w = longer.Data();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(w[0x10D80 + i], uint8_t(7 * 31 + i)) << i;
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(w[0x10EA0 + 4 * i], uint8_t(17 * 31 + 2 * i));
        EXPECT_EQ(w[0x10EA0 + 4 * i + 1], uint8_t(17 * 31 + 2 * i + 1));
        EXPECT_EQ(w[0x10EA0 + 4 * i + 2], 0xEE);
        EXPECT_EQ(w[0x10EA0 + 4 * i + 3], 0xEE);
    }
}

TEST(indWorkImage, GroupSevenChannelsFollowTheOthers) {
    std::vector<PackedTable> tables = ChannelTables(3, 28, 2, 3);
    L::Put16(tables[4].bytes.data(), L::kGroupCounts - 0x12554 + 14, 2);
    cmcEeprom work = BuildPacked(tables);
    cmcEeprom defaults;
    defaults.SetSize(L::kWorkSize);
    std::memset(defaults.Data() + L::kChA, 0x11, 28 * 128);
    indWorkImage(work, &defaults).ExpandTables();
    const uint8_t* w = work.Data();
    EXPECT_EQ(L::GroupCount(w, 7), 2);
    EXPECT_EQ(w[L::kChA + 28 * 3], uint8_t(4 * 31)); // first entry of table 4 in slot 3
    EXPECT_EQ(w[L::kChA + 28 * 5], 0x11);            // slot 5 on from the initial data
}

TEST(indWorkImage, FitsInMemoryCountsSectionAndTotalRoom) {
    cmcEeprom work;
    work.SetSize(L::kWorkSize);
    uint8_t* w = work.Data();
    L::Put32(w, L::kSec2At32, 0x1000);
    // Two channels of group 3: 56 bytes in section 1, 146 in all after the end.
    L::Put32(w, L::kEndAt32, 65407 - 146);
    indWorkImage t(work, nullptr);
    EXPECT_TRUE(t.FitsInMemory(2, 2, 3));
    L::Put32(w, L::kEndAt32, 65407 - 145);
    EXPECT_FALSE(t.FitsInMemory(2, 2, 3));
    EXPECT_FALSE(t.FitsInMemory(4, 2, 7)); // group 7 needs 73 bytes each
    L::Put32(w, L::kEndAt32, 65407 - 146);
    EXPECT_TRUE(t.FitsInMemory(4, 2, 7));
    L::Put32(w, L::kSec2At32, 65407 - 56);
    EXPECT_FALSE(t.FitsInMemory(2, 2, 3));
    EXPECT_TRUE(t.FitsInMemory(99, 1000, 0)); // kinds without a cost always fit
}

TEST(indWorkImage, PackingRefusesWhatDoesNotFit) {
    cmcEeprom work;
    work.SetSize(L::kWorkSize);
    L::Put16(work.Data(), L::kCount101, 500); // 7,000 bytes more than nothing: still fits
    EXPECT_EQ(indWorkImage(work, nullptr).PackTables(false), indWorkImage::PackResult::Ok);
    // The group-7 raise of a radio write stops where memory ends.
    work.Data()[0x125C1] |= 0x40;
    EXPECT_EQ(indWorkImage(work, nullptr).PackTables(true), indWorkImage::PackResult::Ok);
    indWorkImage t(work, nullptr);
    indWorkImage::Table t4;
    ASSERT_TRUE(t.CopyDirectories() && t.FindTable(4, t4));
    EXPECT_EQ(t4.count, 128);
    // An image smaller than the working layout is not packed at all.
    cmcEeprom radioOnly;
    radioOnly.SetSize(L::kRadioSize);
    EXPECT_EQ(indWorkImage(radioOnly, nullptr).PackTables(false), indWorkImage::PackResult::NoImage);
}

// The map itself: slots lie between the channel slots and the directory copies without overlapping,
// every identifier has one slot, and the list counters lie behind the directory copies.
TEST(indWorkImage, SlotsTileTheWorkingAreaWithoutOverlap) {
    std::vector<const indSlot*> slots;
    for (const indSlot& s : L::kSlots)
        slots.push_back(&s);
    std::sort(slots.begin(), slots.end(),
              [](const indSlot* a, const indSlot* b) { return a->offset < b->offset; });
    EXPECT_EQ(slots.front()->offset, L::kChA);
    for (size_t i = 0; i < slots.size(); ++i) {
        const indSlot& s = *slots[i];
        SCOPED_TRACE(s.id);
        EXPECT_EQ(L::SlotOf(s.id), &s);
        const int32_t end = s.offset + s.size * s.count;
        EXPECT_LE(end, i + 1 < slots.size() ? slots[i + 1]->offset : L::kDir16Copy);
        EXPECT_EQ(L::SlotAt(s.offset), &s);
        EXPECT_EQ(L::SlotAt(end - 1), &s);
        if (s.countAt) {
            EXPECT_TRUE(s.countAt >= L::kDir32Copy + 12 * L::kMaxDirEntries && s.countAt + 2 <= L::kWorkSize);
        }
    }
    EXPECT_EQ(slots.back()->offset + slots.back()->size * slots.back()->count, L::kDir16Copy);
    static_assert(L::At(indTable::kGeneral, 0x8D) == L::kGroupCounts);
}

// Whatever the packed memory holds, expansion, normalisation and packing stay inside the image and
// end with a consistent working image (the sanitizer build checks the first part).
TEST(indWorkImage, HostileDirectoriesEndInConsistentImages) {
    std::vector<cmcEeprom> images;
    images.push_back(
        BuildPacked({{2, 65535, 65535, {1, 2, 3}}, {3, 34, 1, {}}, {4, 28, 0, {}}, {5, 34, 0, {}}}));
    images.push_back(
        BuildPacked({{2, 28, 4, {}, 0xFFFFFFF0}, {3, 34, 4, {}, 0x1FF00}, {4, 28, 0, {}}, {5, 0, 9, {}}}));
    // Overlapping tables: table 3 claims table 2's bytes.
    images.push_back(
        BuildPacked({{2, 28, 10, {}}, {3, 34, 10, {}, 0x200}, {4, 28, 100, {}, 0x200}, {5, 34, 100, {}}}));
    // Group counts adding up to far more than 128.
    {
        std::vector<uint8_t> t8(226, 0);
        for (int g = 0; g < 8; ++g)
            L::Put16(t8.data(), L::kGroupCounts - 0x12554 + 2 * g, 100);
        images.push_back(BuildPacked({{2, 28, 100, {}},
                                      {3, 34, 100, {}},
                                      {4, 28, 100, {}},
                                      {5, 34, 100, {}},
                                      {8, 226, 1, t8},
                                      {101, 14, 9000, std::vector<uint8_t>(14 * 1000, 7)}}));
    }
    // A descriptor with an absurd count and entry size, a 16-bit directory pointing anywhere.
    {
        cmcEeprom img = BuildPacked({});
        L::Put16(img.Data(), L::kDir32At + 2, 65535);
        L::Put16(img.Data(), L::kDir32At + 4, 65535);
        img.Data()[L::kDir16At + 1] = 1;
        L::Put16(img.Data(), L::kDir16At + 2, 65535);
        L::Put16(img.Data(), L::kDir16At + 4, 65535);
        L::Put16(img.Data(), L::kDir16At + 6, 0xFFF0);
        images.push_back(img);
    }
    // Random packed memories with a present directory.
    std::mt19937 rng(7);
    for (int k = 0; k < 12; ++k) {
        cmcEeprom img;
        img.SetSize(L::kWorkSize);
        for (int32_t a = 0; a < L::kRadioSize; ++a)
            img.Data()[a] = uint8_t(rng());
        img.Data()[L::kFlag108At] = 0; // the owner's data check refuses any other value anyway
        img.Data()[L::kDir32At] = 0;
        img.Data()[L::kDir32At + 1] = 1;
        L::Put32(img.Data(), L::kDir32At + 8, rng() % 0x10000);
        images.push_back(img);
    }
    cmcEeprom defaults = LoadInitial("Initial_LMR.ocd");
    indModel::ConvertInitial(defaults, {});
    for (size_t i = 0; i < images.size(); ++i) {
        cmcEeprom& img = images[i];
        indModel model(&defaults, nullptr, {});
        model.Convert(img, 0);
        EXPECT_LE(GroupTotal(img.Data()), 128) << i;
        const bool error = model.Convert(img, 1);
        EXPECT_LE(GroupTotal(img.Data()), 128) << i;
        if (!error) {
            EXPECT_EQ(indModel::CheckLoadedData(img, true), 0) << i;
        }
        // What was packed expands and packs to the same bytes again.
        cmcEeprom again = img;
        indWorkImage(again, &defaults).ExpandTables();
        if (!error) {
            EXPECT_TRUE(RadioEqual(again, img)) << i;
        }
    }
}

TEST(indWorkImage, ConvertingTwiceChangesNothing) {
    cmcEeprom img = LoadInitial("Initial_PMR.ocd");
    cmcEeprom defaults = img;
    indModel::ConvertInitial(defaults, {});
    indModel model(&defaults, nullptr, {});
    model.Convert(img, 0);
    ASSERT_FALSE(model.Convert(img, 1));
    EXPECT_TRUE(RadioEqual(img, defaults));
}

TEST(indWorkImage, TablesOutsideThePackingOrderAreCarriedThrough) {
    // Data of a related variant holds table 33 (an ID list) besides the channel tables; packing must
    // keep it, with the editor's changes and its list count, or a save would drop it.
    std::vector<PackedTable> tables = ChannelTables(2, 28, 0, 2);
    tables.push_back({33, 12, 3, {}});
    cmcEeprom work = BuildPacked(tables);
    indWorkImage(work, nullptr).ExpandTables();
    uint8_t* w = work.Data();
    ASSERT_EQ(L::Get16(w, L::kCount33), 3);
    indWorkImage::Table t33;
    indWorkImage image(work, nullptr);
    ASSERT_TRUE(image.CopyDirectories() && image.FindTable(33, t33));
    EXPECT_EQ(t33.count, 3);

    // An edit and one more entry, then pack and expand into a fresh image.
    w[0x159E5 + 12 * 1 + 2] = 0x5C;
    L::Put16(w, L::kCount33, 4);
    ASSERT_EQ(image.PackTables(false), indWorkImage::PackResult::Ok);
    cmcEeprom reread;
    reread.SetSize(L::kWorkSize);
    std::memcpy(reread.Data(), w, L::kRadioSize);
    indWorkImage(reread, nullptr).ExpandTables();
    EXPECT_EQ(L::Get16(reread.Data(), L::kCount33), 4);
    EXPECT_EQ(reread.Data()[0x159E5 + 12 * 1 + 2], 0x5C);

    // What a save keeps is exactly what packing carries: the entries of the list in use, and only
    // the tables the model packs or the data holds.
    const struct {
        int32_t offset;
        bool kept;
    } bytes[] = {
        {0x159E5, true},                 // table 33, entry 0
        {0x159E5 + 12 * 4 - 1, true},    // the last byte of entry 3
        {0x159E5 + 12 * 4, false},       // entry 4: past the list count
        {0x17157, false},                // table 34: not held
        {0x10D80, true},                 // table 7: packed by the model
        {0x1DAD9 + 14 * 500 - 1, false}, // table 101 past its count
        {0x15869, false},                // outside every table
    };
    for (const auto& b : bytes)
        EXPECT_EQ(indWorkImage::Keeps(w, b.offset), b.kept) << std::hex << b.offset;
    EXPECT_TRUE(indWorkImage::KeepsRange(w, 0x159E5, 12 * 4));
    EXPECT_FALSE(indWorkImage::KeepsRange(w, 0x159E5, 12 * 4 + 1));
    EXPECT_TRUE(indWorkImage::HoldsTableAt(w, 0x159E5 + 12 * 4)); // the blank row may still add one
    EXPECT_FALSE(indWorkImage::HoldsTableAt(w, 0x17157));

    // Data without such tables packs as before: the initial file is reproduced byte for byte.
    cmcEeprom packed = LoadInitial("Initial_LMR.ocd");
    cmcEeprom again = packed;
    indWorkImage(again, &packed).ExpandTables();
    EXPECT_TRUE(RadioEqual(again, packed));
}

#include "ModelFixtures.h"
#include "model/datCh.h"
#include "model/indBankKind.h"
#include "model/indDataFile.h"
#include "model/indListEdit.h"
#include "model/indModel.h"
#include "model/indNormalize.h"
#include "model/indWorkImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace modelfix;

namespace {

cmcEeprom Initial(int type) {
    cmcEeprom img;
    const char* name = type == indModel::kPmr ? "/Initial_PMR.ocd" : "/Initial_LMR.ocd";
    indModel::LoadInitialData(DataDir() + name, img);
    indModel::ConvertInitial(img, {});
    return img;
}

} // namespace

TEST(indModel, RangeListsByPurpose) {
    const struct {
        int purpose;
        int32_t first, last;
    } cases[] = {{0, 0x100, 0xFF7F}, {1, 0, 0xFF7F}, {2, 0, 0xFF7F}, {3, 0, 0xFF7F},
                 {4, 0, 0xFF7F},     {5, 0, 0xD6},   {6, 0, 8},      {99, 0, 0xFF7F}};
    for (const auto& c : cases) {
        std::vector<cmcRange> r = indModel::RangeList(c.purpose);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[0].first, c.first) << c.purpose;
        EXPECT_EQ(r[0].last, c.last) << c.purpose;
        EXPECT_TRUE(r[1].IsEnd());
    }
}

TEST(indModel, LoadedDataChecks) {
    cmcEeprom good = Initial(indModel::kLmr);
    EXPECT_EQ(indModel::CheckLoadedData(good, false), 0);
    EXPECT_EQ(indModel::CheckLoadedData(good, true), 0);

    cmcEeprom img = good;
    img.Data()[0x81] = 0x29; // radio model value 0x3329
    EXPECT_EQ(indModel::CheckLoadedData(img, false), 1);
    img = good;
    img.Data()[0x108] = 2;
    EXPECT_EQ(indModel::CheckLoadedData(img, false), 1);
    img = good;
    img.Data()[0x10B] = 0x28; // model code: only the strict check reads it
    EXPECT_EQ(indModel::CheckLoadedData(img, false), 0);
    EXPECT_EQ(indModel::CheckLoadedData(img, true), 1);
    img = good;
    img.Data()[L::Get32(img.Data(), L::kEndAt32) - 1] = 'X'; // signature at the end
    EXPECT_EQ(indModel::CheckLoadedData(img, true), 1);
    img = good;
    L::Put32(img.Data(), L::kEndAt32, 0xFFFFFFF0); // end outside the memory
    EXPECT_EQ(indModel::CheckLoadedData(img, true), 1);
    img = good;
    L::Put32(img.Data(), L::kEndAt32, 0); // falls back to the empty 16-bit fields
    EXPECT_EQ(indModel::CheckLoadedData(img, true), 1);
}

TEST(indModel, NewerDataIsLockedOutOnlyWhenConfigured) {
    cmcEeprom defaults = Initial(indModel::kLmr);
    cmcEeprom work = defaults;
    indModel plain(&defaults, nullptr, {});
    plain.Convert(work, 0);
    work.Data()[L::kNewerDataAt] = 1; // data made by a newer version
    ASSERT_EQ(indWorkImage(work, &defaults).PackTables(false), indWorkImage::PackResult::Ok);
    cmcEeprom newer = work;

    indModel::Settings lockout;
    lockout.lockoutNewerData = true;
    EXPECT_EQ(indModel(&defaults, nullptr, lockout).CheckDataVersion(newer), 1);
    EXPECT_EQ(indModel(&defaults, nullptr, lockout).CheckDataVersion(defaults), 0);
    EXPECT_EQ(plain.CheckDataVersion(newer), 0);

    // Whatever this system saves never carries the flag, also in the packed memory.
    ASSERT_FALSE(plain.Convert(newer, 1));
    EXPECT_EQ(indModel(&defaults, nullptr, lockout).CheckDataVersion(newer), 0);
}

TEST(indModel, StoredModelTypeIsReadThroughTheDataItself) {
    cmcEeprom lmr = Initial(indModel::kLmr);
    cmcEeprom pmr = Initial(indModel::kPmr);
    indModel model(&lmr, nullptr, {});
    EXPECT_EQ(model.StoredModelType(lmr), indModel::kLmr);
    EXPECT_EQ(model.StoredModelType(pmr), indModel::kPmr);
    // The fixed slots of the image still hold the other type's data: the packed data decides.
    cmcEeprom mixed = lmr;
    std::memcpy(mixed.Data(), pmr.Data(), L::kRadioSize);
    EXPECT_EQ(model.StoredModelType(mixed), indModel::kPmr);
}

TEST(indModel, AfterDataLoadedSwitchesToTheStoredTypeBeforeConverting) {
    cmcEeprom lmr = Initial(indModel::kLmr);
    cmcEeprom pmr = Initial(indModel::kPmr);
    indModel model(&lmr, nullptr, {});
    cmcEeprom current = lmr; // the current image starts as a copy of the initial image
    std::memcpy(current.Data(), pmr.Data(), L::kRadioSize);
    int switched = -1;
    EXPECT_EQ(model.AfterDataLoaded(current,
                                    [&](int type) {
                                        switched = type;
                                        model.SetDefaults(&pmr);
                                    }),
              indModel::kPmr);
    EXPECT_EQ(switched, indModel::kPmr);
    EXPECT_EQ(current.Data()[L::kModelTypeAt] & 0x02, 0x02); // expanded from the PMR data
}

TEST(indModel, MissingInitialDataIsFatal) {
    cmcEeprom img;
    const std::string text =
        FatalText([&] { indModel::LoadInitialData("/nonexistent/Initial_LMR.ocd", img); });
    EXPECT_EQ(text, "Cannot open '/nonexistent/Initial_LMR.ocd'.");
}

TEST(indModel, InitialDataHoldsSensibleDefaults) {
    for (int type : {indModel::kLmr, indModel::kPmr}) {
        cmcEeprom img = Initial(type);
        indModel model(&img, nullptr, {});
        model.Convert(img, 0);
        const uint8_t* w = img.Data();
        datCh ch(&img);
        ch.Decode(indModel::kChannelKind, 0);
        EXPECT_TRUE(ch.status & datCh::kInUse);
        EXPECT_GT(L::GroupCount(w, 0), 0);
        EXPECT_EQ(std::memcmp(w + 0x126F6 + 8, "BANK 2  ", 8), 0);
        EXPECT_EQ(L::Get16(w, L::kCount101), 1);
        EXPECT_EQ(w[0x1258D], 60); // time-out timer
        EXPECT_EQ(w[L::kNewerDataAt], 0);
        EXPECT_EQ(model.StoredModelType(img), type);
    }
}

TEST(indNormalize, ClampsCountsIdentifiersAndEmptyValues) {
    cmcEeprom defaults = Initial(indModel::kLmr);
    cmcEeprom img = defaults;
    indModel model(&defaults, nullptr, {});
    model.Convert(img, 0);
    uint8_t* w = img.Data();
    for (int g = 0; g < 8; ++g)
        L::Put16(w, L::kGroupCounts + 2 * g, 50); // 50, 100, then too many
    for (int i = 0; i < 8; ++i)
        w[0x14EDD + i] = 70;
    L::Put16(w, 0x184E9, 0);
    L::Put16(w, 0x184EB, 2001);
    L::Put32(w, 0x1F655, 0x99999991);
    L::Put16(w, 0x1FDF5 + 2 * 5, 0);
    std::memcpy(w + 0x12636,
                "A\x01"
                "B",
                3);
    indNormalize::Options o;
    o.defaults = &defaults;
    indNormalize::Run(img, indNormalize::kToRadio, false, o);
    EXPECT_EQ(L::GroupCount(w, 0), 50);
    EXPECT_EQ(L::GroupCount(w, 1), 50);
    EXPECT_EQ(L::GroupCount(w, 2), 0);
    EXPECT_EQ(w[0x14EDD + 1], 70);
    EXPECT_EQ(w[0x14EDD + 2], 0);
    const uint8_t* d = defaults.Data();
    EXPECT_EQ(L::Get16(w, 0x184E9), L::Get16(d, 0x184E9));
    EXPECT_EQ(L::Get16(w, 0x184EB), L::Get16(d, 0x184EB));
    EXPECT_EQ(L::Get32(w, 0x1F655), 0x00000100u);
    EXPECT_EQ(L::Get16(w, 0x1FDF5 + 10), 6);
    EXPECT_EQ(std::memcmp(w + 0x12636, "A B", 3), 0);
}

TEST(indNormalize, IndexTablesSortStably) {
    cmcEeprom img;
    img.SetSize(L::kWorkSize);
    uint8_t* w = img.Data();
    const uint32_t ids[] = {30, 10, 20, 10};
    for (int i = 0; i < 4; ++i)
        L::Put32(w, 0x159E5 + 12 * i, ids[i]);
    L::Put16(w, L::kCount33, 4);
    const uint32_t bcd[] = {0x12345670, 0x00000010, 0x99999990};
    for (int i = 0; i < 3; ++i)
        L::Put32(w, 0x1DAD9 + 14 * i, bcd[i]);
    L::Put16(w, L::kCount101, 3);
    cmcEeprom d;
    d.SetSize(L::kWorkSize);
    indNormalize::SortIndexTables(w, d.Data());
    const int expected33[] = {1, 3, 2, 0};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(L::Get16(w, 0x18717 + 2 * i), expected33[i]);
    const int expected101[] = {1, 0, 2};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(L::Get16(w, 0x1F693 + 2 * i), expected101[i]);
}

TEST(indListEdit, DeletingAndInsertingChannelsRenumbersReferences) {
    cmcEeprom defaults = Initial(indModel::kLmr);
    cmcEeprom img = defaults;
    indModel(&defaults, nullptr, {}).Convert(img, 0);
    uint8_t* w = img.Data();
    uint8_t* scan = w + 0x127D6; // table 15 entry 0
    L::Put16(scan, 12, 1);
    L::Put16(scan, 14, 3);
    scan[10] = 0x55;
    w[0x12C98] = 1;
    w[0x12C99] = 2;
    w[0x12CB4] = 1;
    L::Put16(w, 0x12CB6, 2);
    indListEdit edit(img, &defaults);
    ASSERT_TRUE(edit.DeleteEntry(indModel::kChannelKind, 1, 4));
    EXPECT_EQ(L::Get16(scan, 12), 0);
    EXPECT_EQ(scan[10] >> 4, 0); // the first reference pointed at the deleted channel
    EXPECT_EQ(scan[10] & 15, 5);
    EXPECT_EQ(L::Get16(scan, 14), 2);
    EXPECT_EQ(w[0x12C98], 0x80);
    EXPECT_EQ(w[0x12C99], 1);
    EXPECT_EQ(L::Get16(w, 0x12CB6), 1);
    datCh ch(&img);
    ch.Decode(1, 1);
    EXPECT_EQ(ch.rxFrequency, 154570000); // channel 3 moved down
    ch.Decode(1, 3);
    EXPECT_EQ(ch.rxFrequency, 154600000); // freed position: the initial data's channel 3

    ASSERT_TRUE(edit.InsertEntry(indModel::kChannelKind, 0, 4));
    EXPECT_EQ(L::Get16(scan, 14), 3);
    EXPECT_EQ(w[0x12C99], 2);
    ch.Decode(1, 0);
    EXPECT_EQ(ch.rxFrequency, 151625000);
    ch.Decode(1, 2);
    EXPECT_EQ(ch.rxFrequency, 154570000);

    EXPECT_FALSE(edit.DeleteEntry(indModel::kChannelKind, 5, 4));
    EXPECT_FALSE(edit.InsertEntry(18, 0, 501));
}

TEST(indListEdit, IdListReferencesInChannelsFollowTheEntries) {
    cmcEeprom defaults = Initial(indModel::kLmr);
    cmcEeprom img = defaults;
    uint8_t* w = img.Data();
    L::Put16(w, L::kChB + 12, 5); // channel 0 uses individual ID 5
    L::Put16(w, 0x19B0F, 2);
    indListEdit edit(img, &defaults);
    ASSERT_TRUE(edit.DeleteEntry(18, 2, 10));
    EXPECT_EQ(L::Get16(w, L::kChB + 12), 4);
    EXPECT_EQ(L::Get16(w, 0x19B0F), 0);
    ASSERT_TRUE(edit.InsertEntry(18, 0, 10));
    EXPECT_EQ(L::Get16(w, L::kChB + 12), 5);
}

TEST(indBankKind, FlagsChooseKindAndHideSet) {
    uint8_t w[L::kWorkSize] = {};
    EXPECT_EQ(indBankKind::Of(w, 0), indBankKind::Kind::Ordinary);
    w[L::kBankF0] = 0x80 >> 1;
    EXPECT_EQ(indBankKind::Of(w, 1), indBankKind::Kind::SmarTrunk);
    EXPECT_EQ(indBankKind::HideSetOf(w, 1), indBankKind::HideSet::B);
    w[L::kBankF3] = 0x80 >> 1;
    EXPECT_EQ(indBankKind::Of(w, 1), indBankKind::Kind::Trunking);
    EXPECT_EQ(indBankKind::HideSetOf(w, 1), indBankKind::HideSet::C);
    w[L::kBankF1] = 0x80 >> 1;
    EXPECT_EQ(indBankKind::Of(w, 1), indBankKind::Kind::Repeater);
    EXPECT_EQ(indBankKind::HideSetOf(w, 1), indBankKind::HideSet::A);
    w[L::kBankF2] = 0x80 >> 2;
    EXPECT_EQ(indBankKind::Of(w, 2), indBankKind::Kind::Ordinary);
    EXPECT_EQ(indBankKind::Of(w, 8), indBankKind::Kind::Ordinary);
}

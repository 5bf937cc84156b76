#include "core/cmcHash.h"
#include "core/cmcHash2.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(cmcHash, SpreadMatchesTheStoredTables) {
    EXPECT_EQ(cmcHash::BucketOf("abc", 1031), 937u);
    EXPECT_EQ(cmcHash::BucketOf("CT_Null", 1031), 432u);
    EXPECT_EQ(cmcHash::BucketOf("", 1031), 0u);
    // Bytes above 0x7F count as negative numbers; the result still lands inside the table.
    EXPECT_LT(cmcHash::BucketOf("\xC3\xA9\xFF", 1031), 1031u);
    EXPECT_EQ(cmcHash::BucketOf("anything", 1), 0u);
    EXPECT_EQ(cmcHash().BucketCount(), 1031u);
    EXPECT_EQ(cmcHash(7).BucketCount(), 7u);
}

TEST(cmcHash, FindsWholeCaseSensitiveKeys) {
    cmcHash table;
    table.Insert("CT_Null", 46);
    table.Insert("abc", 1);
    table.Insert("", 2);
    EXPECT_EQ(table.Find("CT_Null"), 46u);
    EXPECT_EQ(table.Find("abc"), 1u);
    EXPECT_EQ(table.Find(""), 2u);
    EXPECT_EQ(table.Find("ct_null"), std::nullopt);
    EXPECT_EQ(table.Find("ab"), std::nullopt);
    EXPECT_EQ(table.Find("abcd"), std::nullopt);
}

TEST(cmcHash, ManyKeysInFewBucketsStayApart) {
    cmcHash table(3);
    for (uint32_t i = 0; i < 200; ++i)
        table.Insert("CL_" + std::to_string(i), i);
    for (uint32_t i = 0; i < 200; ++i)
        ASSERT_EQ(table.Find("CL_" + std::to_string(i)), i);
}

TEST(cmcHash, DuplicateKeyIsFatal) {
    cmcHash table;
    table.Insert("clRed", 1);
    EXPECT_EQ(FatalText([&] { table.Insert("clRed", 2); }), "Overlapped Hash table.");
    EXPECT_EQ(table.Find("clRed"), 1u);

    int a = 0, b = 0;
    cmcHash2<int> records;
    records.Insert("GI_Sheet_Sel_Power#3", &a);
    records.Insert("GI_Sheet_Sel_power#3", &b);
    EXPECT_EQ(records.Find("GI_Sheet_Sel_Power#3"), &a);
    EXPECT_EQ(records.Find("GI_Sheet_Sel_power#3"), &b);
    EXPECT_EQ(records.Find("GI_Sheet_Sel_Power#4"), nullptr);
    EXPECT_EQ(FatalText([&] { records.Insert("GI_Sheet_Sel_Power#3", &b); }), "Overlapped Hash2 table.");
    // A key registered with no record yet still counts as present.
    records.Insert("empty", nullptr);
    EXPECT_EQ(FatalText([&] { records.Insert("empty", &a); }), "Overlapped Hash2 table.");
}

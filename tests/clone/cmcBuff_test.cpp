#include "clone/cmcBuff.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(cmcBuff, GrowthFillAndFront) {
    cmcBuff b;
    EXPECT_EQ(b.GetLength(), 0);
    EXPECT_EQ(b.GetCapacity(), 1);
    EXPECT_EQ(b.PopFront(), -1);
    EXPECT_EQ(b.GetLength(), 0);

    b.SetLength(100);
    EXPECT_EQ(b.GetCapacity(), 100);
    b.SetLength(120); // n + length / 4
    EXPECT_EQ(b.GetCapacity(), 145);
    EXPECT_EQ(*b.At(119), 0);

    b.SetLength(2); // shrinking only lowers the length
    EXPECT_EQ(b.GetCapacity(), 145);
    b.AppendByte(7);
    b.AppendFill(9, 2);
    const uint8_t more[] = {1, 2};
    b.AppendBytes(more, 2);
    EXPECT_EQ(b.GetLength(), 7);
    EXPECT_EQ(*b.At(2), 7);
    EXPECT_EQ(*b.At(4), 9);
    EXPECT_EQ(*b.At(6), 2);

    cmcBuff copy(b);
    copy.Append(copy);
    EXPECT_EQ(copy.GetLength(), 14);
    EXPECT_EQ(*copy.At(13), 2);
}

TEST(cmcBuff, PoppingCompactsAfter4096Bytes) {
    cmcBuff b;
    for (int i = 0; i < 5000; ++i)
        b.AppendByte(static_cast<uint8_t>(i * 3));
    for (int i = 0; i < 4097; ++i)
        ASSERT_EQ(b.PopFront(), static_cast<uint8_t>(i * 3));
    EXPECT_EQ(b.GetLength(), 903);
    EXPECT_EQ(b.GetCapacity(), 903); // compacted: the allocation is exactly the remaining bytes
    for (int i = 4097; i < 5000; ++i)
        ASSERT_EQ(b.PopFront(), static_cast<uint8_t>(i * 3));
    EXPECT_EQ(b.PopFront(), -1);
}

TEST(cmcBuff, ElementOutsideIsFatal) {
    cmcBuff b;
    b.SetLength(3);
    EXPECT_EQ(FatalText([&] { b.At(3); }), "Out of cmcBuff element !");
    EXPECT_EQ(FatalText([&] { b.At(-1); }), "Out of cmcBuff element !");
    EXPECT_EQ(FatalText([&] { b.At(2); }), "");
}

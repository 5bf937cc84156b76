#include "core/cmcEeprom.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(cmcEeprom, SetSizeClearsAndEmpties) {
    cmcEeprom e;
    EXPECT_EQ(e.GetSize(), 0);
    e.SetSize(16);
    e.Fill(0xAB);
    e.SetSize(16); // same size still clears
    for (int32_t a = 0; a < 16; ++a)
        EXPECT_EQ(e.GetByte(a), 0x00);
    for (int32_t n : {0, -5}) {
        e.SetSize(n);
        EXPECT_EQ(e.GetSize(), 0);
        EXPECT_EQ(e.Data(), nullptr);
        EXPECT_FALSE(e.IsValidAddress(0));
        e.Fill(1); // no effect, no crash
    }
}

TEST(cmcEeprom, BlocksAreAllOrNothing) {
    cmcEeprom e;
    e.SetSize(8);
    const uint8_t src[2] = {1, 2};
    uint8_t dst[2] = {9, 9};
    EXPECT_FALSE(e.WriteBlock(7, src, 2));
    EXPECT_EQ(e.GetByte(7), 0);
    EXPECT_TRUE(e.WriteBlock(7, src, 1));
    EXPECT_EQ(e.GetByte(7), 1);
    EXPECT_FALSE(e.WriteBlock(-1, src, 1));
    EXPECT_FALSE(e.WriteBlock(0, src, 0));
    EXPECT_FALSE(e.ReadBlock(7, dst, 2));
    EXPECT_EQ(dst[0], 9);
    EXPECT_TRUE(e.ReadBlock(6, dst, 2));
    EXPECT_EQ(dst[1], 1);
    // A count that would overflow address + count is refused, not wrapped.
    EXPECT_FALSE(e.WriteBlock(1, src, INT32_MAX));
}

TEST(cmcEeprom, AssignAndEquals) {
    cmcEeprom a, b;
    EXPECT_TRUE(a.Equals(b));
    b.Assign(a);
    EXPECT_EQ(b.GetSize(), 0);
    a.SetSize(4);
    b.SetSize(5);
    EXPECT_FALSE(a.Equals(b)); // common prefix equal, sizes differ
    a.SetByte(2, 7);
    b.Assign(a);
    EXPECT_TRUE(a == b);
    b.SetByte(3, 1);
    EXPECT_FALSE(a == b);
}

TEST(cmcEeprom, OutOfRangeByteAccessIsFatal) {
    cmcEeprom e;
    e.SetSize(4);
    EXPECT_EQ(FatalText([&] { e.SetByte(4, 0); }), "Out of EEPROM image address (SetByte).");
    EXPECT_EQ(FatalText([&] { (void)e.GetByte(-1); }), "Out of EEPROM image address (GetByte).");
    EXPECT_EQ(FatalText([&] { e.SetByte(3, 0); }), "");
}

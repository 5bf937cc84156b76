#include "clone/cmcTransferRate.h"

#include <gtest/gtest.h>

namespace {

TEST(cmcTransferRate, LineTellsBytesRateAndTimeLeftOnceKnown) {
    struct Case {
        const char* what;
        int64_t atMs;
        int32_t transferred;
        const char* line;
    };
    const Case cases[] = {
        {"at the start nothing is known yet", 0, 0, "0/24832 bytes  0:00 elapsed"},
        {"too early for a rate", 200, 500, "500/24832 bytes  0:00 elapsed"},
        {"half way in three seconds", 3000, 12416, "12416/24832 bytes  4.1 kB/s  0:03 elapsed  0:03 left"},
        {"done", 6000, 24832, "24832/24832 bytes  4.1 kB/s  0:06 elapsed  0:00 left"},
        {"more than the total counts as the total", 6100, 30000,
         "24832/24832 bytes  4.1 kB/s  0:06 elapsed  0:00 left"},
    };
    cmcTransferRate rate;
    rate.Start(1000, 24832);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rate.Update(1000 + c.atMs, c.transferred);
        EXPECT_EQ(rate.Line(), c.line);
    }
}

TEST(cmcTransferRate, ClockAndAStalledOrClockGoingBackTransfer) {
    EXPECT_EQ(cmcTransferRate::Clock(0), "0:00");
    EXPECT_EQ(cmcTransferRate::Clock(59'400), "0:59");
    EXPECT_EQ(cmcTransferRate::Clock(61'000), "1:01");
    EXPECT_EQ(cmcTransferRate::Clock(3'723'000), "1:02:03");
    EXPECT_EQ(cmcTransferRate::Clock(-5), "0:00");

    cmcTransferRate rate;
    rate.Start(500, 1000);
    rate.Update(400, 10); // a clock that goes back does not make the time negative
    EXPECT_EQ(rate.ElapsedMs(), 0);
    EXPECT_FALSE(rate.RemainingMs());
    rate.Update(10'500, 0); // nothing moved in ten seconds: no rate, no estimate
    EXPECT_FALSE(rate.BytesPerSecond());
    EXPECT_EQ(rate.Line(), "0/1000 bytes  0:10 elapsed");

    cmcTransferRate empty;
    empty.Start(0, 0);
    empty.Update(1000, 0);
    EXPECT_EQ(empty.Line(), "0/0 bytes  0:01 elapsed");
}

} // namespace

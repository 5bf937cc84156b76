// The model command path of the clone manager against the simulated radio: the adjustment start
// command, then the A/D readings the radio answers only in its adjustment state.
#include "clone/cmcCloneFrame.h"
#include "clone/indCloneMan.h"
#include "core/cmcVirtualLoop.h"

#include "FakeSerial.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct AdjustRig {
    cmcVirtualLoop loop;
    RadioSimEngine radio{{}, cmcEeprom{}};
    FakeLine line{loop};
    FakeLine modelLine{loop};
    int made = 0;
    std::unique_ptr<indCloneMan> man;

    AdjustRig() {
        // Both drivers reach the same radio, as both open the same port.
        line.radio = &radio;
        modelLine.radio = &radio;
        man = std::make_unique<indCloneMan>(
            loop, [this] { return MakeFake(made++ == 0 ? line : modelLine); }, nullptr, nullptr, nullptr);
        man->SetModelCodes(0x3329, 0);
    }
    // Runs one model operation to its end; the status, or -1 when it did not start or never ended.
    template <class Start> int32_t Run(Start start) {
        bool done = false;
        int32_t status = -1;
        if (!start([&](dst_CDrv_Result& r) {
                done = true;
                status = r.status;
            })) {
            return -1;
        }
        loop.RunUntil([&] { return done; }, 60000);
        return status;
    }
    int32_t AdjustStart() {
        man->ModelDriver().SetModelCommand(cmcCloneFrame::kSubAdjustStart, 1, nullptr);
        return Run([&](auto done) { return man->StartModelCommand(done); });
    }
    // Reads A/D channels 0 to 3 as one command list.
    int32_t ReadChannels(uint8_t (&values)[4]) {
        static const uint8_t kChannels[4] = {0, 1, 2, 3};
        imcCloneDrv::Entry list[5];
        for (int i = 0; i < 4; ++i) {
            list[i] = {cmcCloneFrame::kSubMeasure, &kChannels[i], &values[i]};
        }
        man->ModelDriver().SetModelCommandList(list);
        return Run([&](auto done) { return man->StartModelList(done); });
    }
};

} // namespace

TEST(indCloneManAdjust, AdValuesAnswerOnlyAfterTheAdjustmentStart) {
    AdjustRig rig;
    uint8_t values[4] = {};
    // Outside the adjustment state the radio stays silent: a time-out, and the indicator is cleared.
    rig.man->Adjust().adjustMode = 3;
    EXPECT_EQ(rig.ReadChannels(values), kCloneTimeout);
    EXPECT_EQ(rig.man->Adjust().adjustMode, 0);

    ASSERT_EQ(rig.AdjustStart(), kCloneOk);
    EXPECT_TRUE(rig.radio.Adjusting());
    ASSERT_EQ(rig.ReadChannels(values), kCloneOk);
    const std::vector<uint8_t>& expected = RadioSimEngine::Options{}.adValues;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(values[i], expected[static_cast<size_t>(i)]) << "channel " << i;
    }

    // One reading by a single model command with an answer.
    uint8_t one = 0;
    rig.man->ModelDriver().SetModelCommand(cmcCloneFrame::kSubMeasure, 4, &one);
    ASSERT_EQ(rig.Run([&](auto done) { return rig.man->StartModelCommand(done); }), kCloneOk);
    EXPECT_EQ(one, expected[4]);
}

TEST(indCloneManAdjust, TheAdjustmentStartGoesOutAtHighSpeedOnTheModelLine) {
    AdjustRig rig;
    ASSERT_EQ(rig.AdjustStart(), kCloneOk);
    // The speed switch at 9,600 baud, then E8 02 with the value characters "01" at 38,400 baud.
    ASSERT_FALSE(rig.modelLine.written.empty());
    const FakeLine::Chunk& last = rig.modelLine.written.back();
    EXPECT_EQ(last.baud, 38400);
    const std::vector<uint8_t> frame = {0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x33, 0x29,
                                        0x00, 0x00, 0x02, 0x30, 0x31, 0xFD};
    EXPECT_NE(std::search(last.bytes.begin(), last.bytes.end(), frame.begin(), frame.end()),
              last.bytes.end());
    EXPECT_TRUE(rig.line.written.empty()); // the clone driver's line stays untouched
}

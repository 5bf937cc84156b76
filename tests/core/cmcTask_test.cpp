#include "core/cmcTask.h"
#include "core/cmcTick.h"
#include "core/cmcVirtualLoop.h"

#include <gtest/gtest.h>

TEST(cmcTask, RunsAtItsIntervalAndStops) {
    cmcVirtualLoop loop;
    auto task = cmcTask::Create(loop);
    int calls = 0;
    task->Bind([&](cmcTask*) { ++calls; });
    EXPECT_TRUE(task->IsStopped());
    loop.Advance(100);
    EXPECT_EQ(calls, 0); // binding does not start it
    task->SetInterval(10);
    loop.Advance(100);
    EXPECT_EQ(calls, 10);
    task->SetInterval(0); // raised to 1 ms
    loop.Advance(20);
    EXPECT_EQ(calls, 30);
    task->SetInterval(-1);
    EXPECT_TRUE(task->IsStopped());
    loop.Advance(100);
    EXPECT_EQ(calls, 30);
}

TEST(cmcTask, ReleaseFromInsideTheStepDefersDeletion) {
    cmcVirtualLoop loop;
    cmcTask::Ptr task = cmcTask::Create(loop);
    int calls = 0;
    task->Bind([&](cmcTask*) {
        ++calls;
        task.reset(); // the owner goes away during the step
    });
    task->SetInterval(10);
    loop.Advance(10);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(loop.TimerCount(), 1u); // pending deletion
    loop.Advance(50);
    EXPECT_EQ(calls, 1); // never called again
    EXPECT_EQ(loop.TimerCount(), 0u);
}

TEST(cmcTask, StepIsNotReentered) {
    cmcVirtualLoop loop;
    auto task = cmcTask::Create(loop);
    int depth = 0, maxDepth = 0, calls = 0;
    task->Bind([&](cmcTask*) {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1)
            loop.Advance(50); // a modal dialog keeps the loop running inside the step
        --depth;
    });
    task->SetInterval(5);
    loop.Advance(5);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(calls, 1);
}

TEST(cmcTask, ReleasingAStoppedTaskDeletesAtOnceAndPendingTaskDiesWithTheLoop) {
    auto loop = std::make_unique<cmcVirtualLoop>();
    { auto stopped = cmcTask::Create(*loop); }
    EXPECT_EQ(loop->TimerCount(), 0u);
    {
        auto running = cmcTask::Create(*loop);
        running->SetInterval(10);
    }
    EXPECT_EQ(loop->TimerCount(), 1u);
    loop.reset(); // the sanitizer build reports a leak if the pending task is not freed
}

TEST(cmcTick, CountsDownAcrossAClockWrap) {
    cmcVirtualLoop loop(0xFFFFFF00u);
    cmcTick tick(loop);
    EXPECT_EQ(tick.Remaining(), 0u); // never started
    tick.Start(1000);
    loop.Advance(0x200); // clock wraps past zero
    EXPECT_EQ(tick.Remaining(), 1000u - 0x200u);
    EXPECT_TRUE(tick.IsRunning());
    loop.Advance(1000);
    EXPECT_EQ(tick.Remaining(), 0u);
    EXPECT_FALSE(tick.IsRunning());
    tick.Start(5); // restart
    EXPECT_EQ(tick.Remaining(), 5u);
}

TEST(cmcVirtualLoop, RunUntilStopsAtTheLimitOrWhenDone) {
    cmcVirtualLoop loop;
    int fired = 0;
    int id = loop.StartTimer(100, [&] { ++fired; });
    EXPECT_TRUE(loop.RunUntil([&] { return fired == 3; }, 10000));
    EXPECT_EQ(loop.NowMs(), 300u);
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 250));
    EXPECT_EQ(loop.NowMs(), 550u);
    loop.StopTimer(id);
    EXPECT_FALSE(loop.RunUntil([] { return false; }, 1000)); // no timers: jumps to the limit
    EXPECT_EQ(loop.NowMs(), 1550u);
}

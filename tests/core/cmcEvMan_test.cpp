#include "core/cmcEv.h"
#include "core/cmcEvMan.h"
#include "core/cmcVirtualLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A listener that writes "name:type/mode" for every event it hears, then runs its action.
struct Probe {
    std::string name;
    std::vector<std::string>* log;
    std::function<void(const cmcEvRec&)> action;

    static void Hear(void* context, const cmcEvRec& event) {
        auto* self = static_cast<Probe*>(context);
        self->log->push_back(self->name + ":" + std::to_string(event.type) + "/" +
                             std::to_string(event.mode));
        if (self->action)
            self->action(event);
    }
};

class EvManTest : public ::testing::Test {
protected:
    Probe& AddProbe(const std::string& name) {
        probes.push_back(std::make_unique<Probe>(Probe{name, &log, nullptr}));
        man->Register(&Probe::Hear, probes.back().get());
        return *probes.back();
    }
    void Pump() { loop.Advance(cmcEvMan::kPumpIntervalMs); }
    std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

    cmcVirtualLoop loop;
    std::unique_ptr<cmcEvMan> man = std::make_unique<cmcEvMan>(loop);
    std::vector<std::unique_ptr<Probe>> probes;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(EvManTest, ImmediateAtOnceQueuedOnTheNextPumpInPostingOrder) {
    AddProbe("a");
    AddProbe("b"); // newest: heard first
    man->Post(cmcEv::RefreshWarnMarks);
    man->PostText(cmcEv::StatusText, 1, 2, "ready");
    man->Send(cmcEv::RefreshMenu);
    EXPECT_EQ(TakeLog(), (Log{"b:9/1", "a:9/1"}));
    EXPECT_EQ(man->QueuedCount(), 2u);

    loop.Advance(cmcEvMan::kPumpIntervalMs - 1);
    EXPECT_TRUE(log.empty());
    loop.Advance(1);
    EXPECT_EQ(TakeLog(), (Log{"b:51/0", "a:51/0", "b:4/0", "a:4/0"}));
    EXPECT_EQ(man->QueuedCount(), 0u);
    Pump();
    EXPECT_TRUE(log.empty()); // delivered once only
}

TEST_F(EvManTest, RecordsCarryParametersAndCopiesOfTheBytes) {
    std::vector<cmcEvRec> heard;
    Probe& p = AddProbe("p");
    p.action = [&](const cmcEvRec& event) { heard.push_back(event); };

    char name[] = "BANK A";
    man->PostData(cmcEv::SetBankName, name, sizeof name - 1);
    name[0] = 'X'; // the poster keeps its buffer; the record holds its own copy
    std::string status = "Copied";
    man->PostText(cmcEv::StatusText, 7, 8, status);
    status.clear();
    man->PostData(cmcEv::CurrentCellChanged, nullptr, 12); // no bytes: no data
    man->SendText(cmcEv::CloseMchWindow, "");
    man->Send(cmcEv::ControlDestroyed, 0, 0x1234);
    Pump();

    ASSERT_EQ(heard.size(), 5u);
    EXPECT_EQ(heard[0].type, cmcEv::CloseMchWindow);
    EXPECT_EQ(heard[0].DataLength(), 1); // an empty text is its terminating zero
    EXPECT_EQ(heard[0].Text(), "");
    EXPECT_EQ(heard[1].p2, 0x1234);
    EXPECT_EQ(heard[1].DataLength(), 0);
    EXPECT_EQ(heard[2].Text(), "BANK A");
    EXPECT_EQ(heard[2].DataLength(), 6); // raw bytes: no zero added
    EXPECT_EQ(heard[3].Text(), "Copied");
    EXPECT_EQ(heard[3].DataLength(), 7);
    EXPECT_EQ(heard[3].p1, 7);
    EXPECT_EQ(heard[3].p2, 8);
    EXPECT_EQ(heard[4].DataLength(), 0);
}

TEST_F(EvManTest, RegisteringAPairAgainLeavesOneActiveEntry) {
    Probe& a = AddProbe("a");
    AddProbe("b");
    man->Register(&Probe::Hear, &a); // moves to the head
    man->Register(nullptr, &a);      // ignored
    man->Send(cmcEv::RedrawAll);
    EXPECT_EQ(TakeLog(), (Log{"a:13/1", "b:13/1"}));
    Pump();
    EXPECT_EQ(man->ListenerEntryCount(), 2u);
}

TEST_F(EvManTest, ListenersMayRegisterAndUnregisterDuringDelivery) {
    Probe& c = AddProbe("c");
    AddProbe("b");
    Probe& a = AddProbe("a"); // order a, b, c
    Probe late{"late", &log, nullptr};
    a.action = [&](const cmcEvRec& event) {
        if (event.type != cmcEv::RedrawAll)
            return;
        man->Unregister(&Probe::Hear, &a); // itself
        man->Unregister(&Probe::Hear, &c); // one still ahead in this delivery
        man->Register(&Probe::Hear, &late);
    };
    man->Send(cmcEv::RedrawAll);
    EXPECT_EQ(TakeLog(), (Log{"a:13/1", "b:13/1"})); // late joins at the head: not this delivery
    EXPECT_EQ(man->ListenerEntryCount(), 4u);        // removed entries wait for the pump

    man->Send(cmcEv::RedrawIndex);
    EXPECT_EQ(TakeLog(), (Log{"late:16/1", "b:16/1"}));
    Pump();
    EXPECT_EQ(man->ListenerEntryCount(), 2u);
}

TEST_F(EvManTest, EventsPostedDuringThePumpWaitForTheNextPump) {
    Probe& a = AddProbe("a");
    a.action = [&](const cmcEvRec& event) {
        if (event.type == cmcEv::BankBranchesChanged)
            man->Post(cmcEv::RebuildBankBranches);
    };
    man->Post(cmcEv::BankBranchesChanged);
    Pump();
    EXPECT_EQ(TakeLog(), (Log{"a:26/0"}));
    Pump();
    EXPECT_EQ(TakeLog(), (Log{"a:25/0"}));
}

// A listener that opens a modal dialog keeps the loop, and so the pump, running inside a delivery.
// Listener entries must survive that pump until the delivery around it has finished its walk.
TEST_F(EvManTest, PumpInsideADeliveryKeepsTheWalkedEntries) {
    AddProbe("c");
    Probe& b = AddProbe("b");
    Probe& a = AddProbe("a");
    a.action = [&](const cmcEvRec& event) {
        if (event.type != cmcEv::CommitEdit)
            return;
        man->Unregister(&Probe::Hear, &a);
        man->Unregister(&Probe::Hear, &b);
        loop.Advance(3 * cmcEvMan::kPumpIntervalMs); // the modal loop
    };
    man->Post(cmcEv::ShowAbout);
    man->Send(cmcEv::CommitEdit);
    EXPECT_EQ(TakeLog(), (Log{"a:21/1", "c:3/0", "c:21/1"}));
    EXPECT_EQ(man->ListenerEntryCount(), 3u);
    Pump();
    EXPECT_EQ(man->ListenerEntryCount(), 1u);
}

TEST_F(EvManTest, AskCollectsAnswersInAnsweringOrder) {
    EXPECT_TRUE(man->Ask(cmcEv::AskBankEntry).empty()); // nobody listens

    Probe& sheet = AddProbe("sheet");
    Probe& window = AddProbe("window"); // newest: answers first
    sheet.action = [&](const cmcEvRec& event) {
        if (event.type == cmcEv::AskBankEntry)
            man->Answer(3, 17);
        if (event.type == cmcEv::AskMenuContext) {
            const uint8_t cell[4] = {1, 2, 3, 4};
            man->AnswerData(cell, sizeof cell);
        }
    };
    window.action = [&](const cmcEvRec& event) {
        if (event.type == cmcEv::AskBankEntry)
            man->Answer(5, 0);
    };

    std::vector<cmcEvAns> answers = man->Ask(cmcEv::AskBankEntry);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].value, 5);
    EXPECT_EQ(answers[1].value, 3);
    EXPECT_EQ(answers[1].pointer, 17);
    EXPECT_EQ(TakeLog(), (Log{"window:45/2", "sheet:45/2"}));

    answers = man->Ask(cmcEv::AskMenuContext, 0x40);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].data, (std::vector<uint8_t>{1, 2, 3, 4}));

    man->Answer(9, 9); // outside an answered send: ignored
    EXPECT_TRUE(man->Ask(cmcEv::AskListIndex).empty());
}

TEST_F(EvManTest, NestedAsksKeepTheirAnswersApart) {
    Probe& inner = AddProbe("inner");
    Probe& outer = AddProbe("outer");
    std::vector<cmcEvAns> nested;
    inner.action = [&](const cmcEvRec& event) {
        if (event.type == cmcEv::AskListIndex)
            man->Answer(47, 0);
    };
    outer.action = [&](const cmcEvRec& event) {
        if (event.type != cmcEv::AskMchPosition)
            return;
        nested = man->Ask(cmcEv::AskListIndex); // asked while answering
        man->Answer(70, 0);
    };
    std::vector<cmcEvAns> answers = man->Ask(cmcEv::AskMchPosition);
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_EQ(nested[0].value, 47);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].value, 70);
}

TEST_F(EvManTest, DestructionFreesQueuedRecordsWithoutDelivering) {
    AddProbe("a");
    man->PostText(cmcEv::StatusText, 0, 0, "never shown");
    man->Post(cmcEv::RedrawAll);
    man.reset();
    loop.Advance(100);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(loop.TimerCount(), 0u); // the pump's task is gone too
}

TEST_F(EvManTest, WindowOrderDutyRunsBeforeTheQueue) {
    AddProbe("a");
    man->SetWindowOrderDuty([&] { man->SendText(cmcEv::RaiseFloatingWindows, ""); });
    man->Post(cmcEv::RedrawAll);
    Pump();
    EXPECT_EQ(TakeLog(), (Log{"a:76/1", "a:13/0"}));
}

TEST(cmcEv, ListEventsPairInsertWithDelete) {
    EXPECT_TRUE(cmcEv::IsListInsert(cmcEv::InsertChannel));
    EXPECT_TRUE(cmcEv::IsListDelete(cmcEv::DeleteDpmrIndId));
    EXPECT_FALSE(cmcEv::IsListInsert(cmcEv::DeleteChannel));
    EXPECT_FALSE(cmcEv::IsListDelete(cmcEv::AskBankEntry));
    EXPECT_FALSE(cmcEv::IsListInsert(cmcEv::BankBranchesChanged));
    for (int32_t insert = cmcEv::ListEditFirst; insert < cmcEv::ListEditLast; insert += 2)
        EXPECT_TRUE(cmcEv::IsListInsert(insert) && cmcEv::IsListDelete(insert + 1)) << insert;
}

} // namespace

#include "clone/cmcCloneDrv.h"
#include "core/cmcVirtualLoop.h"

#include "FakeSerial.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// A frame from the radio: FE FE EF EE, command, payload, FD.
Bytes RadioFrame(uint8_t command, const Bytes& payload) {
    return Concat({{0xFE, 0xFE, 0xEF, 0xEE, command}, payload, {0xFD}});
}

Bytes DataFrame(int32_t address, const Bytes& data, bool wide = false) {
    return RadioFrame(0xE4,
                      Text(cmcCloneDrv::DataFramePayload(address, data.data(), int32_t(data.size()), wide)));
}

Bytes EndFrame(int frames) {
    char count[3];
    std::snprintf(count, sizeof count, "%02X", frames & 0xFF);
    return RadioFrame(0xE5, Text(std::string("Zorv Inc.") + count));
}

Bytes InfoReply(uint8_t modelHigh = 0x33) {
    Bytes info(127, 0);
    info[0] = 127;
    return RadioFrame(0xE1, Concat({{modelHigh, 0x29, 0x00, 0x00}, info}));
}

cmcEeprom Pattern() {
    cmcEeprom image;
    image.SetSize(cmcEeprom::kRadioSize);
    for (int32_t a = 0; a < image.GetSize(); ++a)
        image.SetByte(a, static_cast<uint8_t>(a ^ (a >> 8)));
    return image;
}

struct Drv {
    cmcVirtualLoop loop;
    FakeLine line{loop};
    cmcCloneDrv drv{loop, MakeFake(line)};
    bool done = false;
    dst_CDrv_Result result;
    uint32_t endedAt = 0;

    Drv() {
        drv.SetModelCodes(0x3329, 0);
        drv.SetImageSize(cmcEeprom::kRadioSize);
        drv.SetEchoTest(false);
    }
    cmcCloneDrv::Done Callback() {
        return [this](dst_CDrv_Result& r) {
            done = true;
            endedAt = loop.NowMs();
            result.status = r.status;
            result.mode = r.mode;
            result.modelCode = r.modelCode;
            result.extraCode = r.extraCode;
            result.information = r.information;
            result.image = r.image;
        };
    }
    // Advances until the driver reaches a state (or finishes).
    void RunToState(cmcCloneState state, uint32_t limit = 5000) {
        loop.RunUntil([&] { return done || drv.State() == state; }, limit);
    }
    int32_t Finish(uint32_t limit = 600000) {
        loop.RunUntil([&] { return done; }, limit);
        return done ? result.status : -1;
    }
};

const cmcRange kAll[] = {{0x0000, 0xFF7F}, kRangeListEnd};

} // namespace

TEST(cmcCloneDrv, InformationReply) {
    struct Case {
        const char* name;
        Bytes reply;
        int32_t status;
    };
    const Case cases[] = {
        {"good", InfoReply(), 0},
        {"model code not decimal", InfoReply(0x3A), 6},
        {"other frame", RadioFrame(0xE6, {0x00}), 6},
        {"last of two frames counts", Concat({RadioFrame(0xE6, {0x00}), InfoReply()}), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drv d;
        d.drv.SetModelCodes(0, 0);
        ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
        d.RunToState(cmcCloneState::WaitInfoReply);
        d.line.Queue(c.reply);
        EXPECT_EQ(d.Finish(), c.status);
        if (c.status == 0) {
            EXPECT_EQ(d.result.modelCode, 0x3329);
            EXPECT_EQ(d.drv.ModelCode(), 0x3329); // taken over when the driver had none
            EXPECT_EQ(d.result.information.GetLength(), 127);
        }
        EXPECT_FALSE(d.line.open);
    }
}

TEST(cmcCloneDrv, SilenceEndsWithTimeoutOrEchoFailure) {
    {
        Drv d;
        ASSERT_TRUE(d.drv.StartRead(kAll, d.Callback()));
        d.RunToState(cmcCloneState::ReceiveData);
        uint32_t waitingFrom = d.loop.NowMs();
        EXPECT_EQ(d.Finish(), 5);
        EXPECT_GE(d.endedAt - waitingFrom, 1000u);
        EXPECT_LE(d.endedAt - waitingFrom, 1030u);
    }
    {
        Drv d; // echo expected but never returned
        d.drv.SetEchoMode(true);
        ASSERT_TRUE(d.drv.StartRead(kAll, d.Callback()));
        EXPECT_EQ(d.Finish(), 4);
    }
    {
        Drv d; // a returned byte differs from the one sent
        d.drv.SetEchoMode(true);
        ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
        d.RunToState(cmcCloneState::WaitInfoReply);
        d.line.Queue({0xFE, 0x00});
        EXPECT_EQ(d.Finish(), 4);
    }
}

TEST(cmcCloneDrv, ReadChecksFramesAndCoverage) {
    struct Case {
        const char* name;
        RadioSimEngine::Fault fault;
        int32_t status;
    };
    const Case cases[] = {
        {"complete", RadioSimEngine::Fault::None, 0},
        {"missing frame", RadioSimEngine::Fault::DropFrame, 8},
        {"bad checksum", RadioSimEngine::Fault::BadChecksum, 6},
        {"lower-case hexadecimal", RadioSimEngine::Fault::LowerCaseHex, 6},
        {"end frame count off by one", RadioSimEngine::Fault::WrongEndCount, 7},
        {"silence", RadioSimEngine::Fault::Silence, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drv d;
        RadioSimEngine::Options o;
        o.fault = c.fault;
        o.faultFrame = 2000;
        RadioSimEngine radio(o, Pattern());
        d.line.radio = &radio;
        d.drv.SetCommandText("(9600,N,8,1)FEFE EEEF E8 33290000 55 3030 FD"); // select reading
        ASSERT_TRUE(d.drv.StartRead(kAll, d.Callback()));
        EXPECT_EQ(d.Finish(), c.status);
        if (c.status == 0) {
            EXPECT_EQ(0, std::memcmp(d.result.image.Data(), Pattern().Data(), cmcEeprom::kRadioSize));
            EXPECT_EQ(d.drv.DataFrames(), 4088);
        }
    }
}

TEST(cmcCloneDrv, ReadOutsideTheImageOrTheRanges) {
    const cmcRange kHead[] = {{0x0000, 0x000F}, kRangeListEnd};
    struct Case {
        const char* name;
        int32_t imageSize;
        const cmcRange* ranges;
        Bytes frames;
        int32_t status;
    };
    const Bytes sixteen(16, 0x11);
    const Case cases[] = {
        {"frame beyond a radio-size image", cmcEeprom::kRadioSize, kAll,
         Concat({DataFrame(0xFF80, sixteen), EndFrame(1)}), 9},
        {"frame beyond the ranges of a larger image", cmcEeprom::kWorkSize, kAll,
         Concat({DataFrame(0xFF80, sixteen), EndFrame(1)}), 9},
        {"bytes outside a short list", cmcEeprom::kRadioSize, kHead,
         Concat({DataFrame(0x0000, sixteen), DataFrame(0x0010, sixteen), EndFrame(2)}), 9},
        {"short list covered", cmcEeprom::kRadioSize, kHead,
         Concat({DataFrame(0x0000, sixteen), EndFrame(1)}), 0},
        {"frame count differs", cmcEeprom::kRadioSize, kHead,
         Concat({DataFrame(0x0000, sixteen), EndFrame(2)}), 7},
        {"end frame without count", cmcEeprom::kRadioSize, kHead,
         Concat({DataFrame(0x0000, sixteen), RadioFrame(0xE5, Text("Zorv Inc."))}), 6},
        {"frame too long", cmcEeprom::kRadioSize, kHead,
         Concat({RadioFrame(0xE4, Bytes(600, '0')), EndFrame(0)}), 6},
        {"unknown command", cmcEeprom::kRadioSize, kHead, RadioFrame(0xE7, Bytes(12, '0')), 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drv d;
        d.drv.SetImageSize(c.imageSize);
        ASSERT_TRUE(d.drv.StartRead(c.ranges, d.Callback()));
        d.RunToState(cmcCloneState::ReceiveData);
        d.line.Queue(c.frames);
        EXPECT_EQ(d.Finish(), c.status);
    }
}

TEST(cmcCloneDrv, WidestFrameIsAccepted) {
    const cmcRange kHead[] = {{0x0000, 0x00FE}, kRangeListEnd};
    Drv d;
    ASSERT_TRUE(d.drv.StartRead(kHead, d.Callback()));
    d.RunToState(cmcCloneState::ReceiveData);
    d.line.Queue(Concat({DataFrame(0x0000, Bytes(255, 0x5A)), EndFrame(1)})); // 522 bytes before FD
    EXPECT_EQ(d.Finish(), 0);
}

TEST(cmcCloneDrv, WideAddressesBothWays) {
    RadioSimEngine::Options o;
    o.wide = true;
    RadioSimEngine radio(o, Pattern());
    const cmcRange kSome[] = {{0x0100, 0x04FF}, kRangeListEnd};
    {
        Drv d;
        d.line.radio = &radio;
        d.drv.SetWideAddress(true);
        d.drv.SetCommandText("(9600,N,8,1)FEFE EEEF E8 33290000 55 3030 FD");
        ASSERT_TRUE(d.drv.StartRead(kAll, d.Callback()));
        EXPECT_EQ(d.Finish(), 0);
    }
    {
        Drv d;
        d.line.radio = &radio;
        d.drv.SetWideAddress(true);
        d.drv.SetWaitWriteAck(true);
        d.drv.SetPauseWindow(128, 0);
        cmcEeprom zeros;
        zeros.SetSize(cmcEeprom::kRadioSize);
        d.drv.SetCommandText("(9600,N,8,1)FEFE EEEF E8 33290000 55 3031 FD");
        ASSERT_TRUE(d.drv.StartWrite(zeros, kSome, d.Callback()));
        EXPECT_EQ(d.Finish(), 0);
        EXPECT_EQ(radio.Image().GetByte(0x0100), 0);
        EXPECT_EQ(radio.Image().GetByte(0x0500), Pattern().GetByte(0x0500));
    }
}

TEST(cmcCloneDrv, WritePausesUntilTheRadioContinues) {
    const cmcRange kFrom100[] = {{0x0100, 0x02FF}, kRangeListEnd};
    Drv d;
    d.drv.SetWaitWriteAck(true);
    d.drv.SetPauseWindow(128, 0);
    cmcEeprom image = Pattern();
    ASSERT_TRUE(d.drv.StartWrite(image, kFrom100, d.Callback()));
    d.RunToState(cmcCloneState::WaitWriteAck);
    d.loop.Advance(500);
    Bytes request = d.line.AllWritten();
    EXPECT_EQ(d.drv.DataFrames(), 0); // nothing before the write acknowledge
    d.line.Queue({0x00, 0xFB});       // stray bytes are dropped
    d.RunToState(cmcCloneState::WaitPauseAnswer);
    d.loop.Advance(500);
    EXPECT_EQ(d.drv.DataFrames(), 8); // 0x0100 to 0x017F, then the pause
    Bytes all = d.line.AllWritten();
    Bytes sent(all.begin() + static_cast<long>(request.size()), all.end());
    EXPECT_EQ(sent.size(), 8u * 46u);
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 13),
              Concat({{0xFE, 0xFE, 0xEE, 0xEF, 0xE4}, Text("01001001")}));
    d.line.Queue({0xFB});
    d.RunToState(cmcCloneState::WaitPauseAnswer);
    d.loop.Advance(10);
    EXPECT_EQ(d.drv.DataFrames(), 16);
    d.line.Queue({0xFA}); // refused
    EXPECT_EQ(d.Finish(), 6);
}

// A virtual-clock loop that watches descriptors: the test plays the arrival notifications.
struct WatchingLoop : cmcVirtualLoop {
    std::map<int, std::function<void()>> watched;
    bool WatchFd(int fd, std::function<void()> ready) override {
        watched[fd] = std::move(ready);
        return true;
    }
    void UnwatchFd(int fd) override { watched.erase(fd); }
    void Arrive(int fd) {
        auto it = watched.find(fd);
        ASSERT_NE(it, watched.end());
        auto ready = it->second;
        ready();
    }
};

TEST(cmcCloneDrv, AnswersThatArriveRunTheStepAtOnce) {
    WatchingLoop loop;
    FakeLine line{loop};
    line.pollFd = 7;
    cmcCloneDrv drv{loop, MakeFake(line)};
    drv.SetModelCodes(0x3329, 0);
    drv.SetImageSize(cmcEeprom::kRadioSize);
    drv.SetEchoTest(false);
    drv.SetWaitWriteAck(true);
    drv.SetPauseWindow(128, 0);
    const cmcRange kRange[] = {{0x0100, 0x01FF}, kRangeListEnd};
    int32_t status = -1;
    ASSERT_TRUE(drv.StartWrite(Pattern(), kRange, [&](dst_CDrv_Result& r) { status = r.status; }));
    loop.RunUntil([&] { return drv.State() == cmcCloneState::WaitWriteAck; }, 5000);
    EXPECT_EQ(loop.watched.count(7), 1u); // waiting for the acknowledge: the port is watched
    uint32_t at = loop.NowMs();

    // The acknowledge and each pause answer send the next frames without the clock moving.
    line.Queue({0xFB});
    loop.Arrive(7);
    EXPECT_EQ(drv.DataFrames(), 8);
    EXPECT_EQ(drv.State(), cmcCloneState::WaitPauseAnswer);
    EXPECT_TRUE(loop.watched.empty()); // one step per arrival; the next tick watches again
    loop.Advance(10);
    line.Queue({0xFB});
    loop.Arrive(7);
    EXPECT_EQ(drv.DataFrames(), 16);
    EXPECT_EQ(loop.NowMs(), at + 10);

    // A notification without bytes (a hang-up) costs one step and leaves the operation to its time-out.
    loop.Advance(10);
    loop.Arrive(7);
    EXPECT_TRUE(loop.watched.empty());
    EXPECT_EQ(drv.State(), cmcCloneState::WaitPauseAnswer);
    line.Queue({0xFB}); // the last pause, after 0x01FF: now the timer's step takes it
    loop.Advance(10);
    EXPECT_EQ(drv.DataFrames(), 16);
    EXPECT_EQ(drv.State(), cmcCloneState::WaitWriteResult); // the end frame follows at once
    line.Queue(RadioFrame(0xE6, {0x00}));
    at = loop.NowMs();
    loop.Arrive(7);
    EXPECT_EQ(status, 0); // and the result ends the operation at once
    EXPECT_EQ(loop.NowMs(), at);
    EXPECT_TRUE(loop.watched.empty()); // nothing stays watched once the port is closed
}

TEST(cmcCloneDrv, WriteResultAndEndFrame) {
    const cmcRange kShort[] = {{0x0100, 0x011F}, kRangeListEnd};
    for (uint8_t answer : {0x00, 0x01}) {
        Drv d;
        ASSERT_TRUE(d.drv.StartWrite(Pattern(), kShort, d.Callback()));
        d.RunToState(cmcCloneState::WaitWriteResult);
        Bytes all = d.line.AllWritten();
        Bytes end = Concat({{0xFE, 0xFE, 0xEE, 0xEF, 0xE5}, Text("Zorv Inc.02"), {0xFD}});
        ASSERT_GE(all.size(), end.size());
        EXPECT_EQ(Bytes(all.end() - end.size(), all.end()), end);
        d.line.Queue(RadioFrame(0xE6, {answer}));
        EXPECT_EQ(d.Finish(), answer == 0 ? 0 : 10);
    }
}

TEST(cmcCloneDrv, CommandTextPiecesReopenAndSend) {
    Drv d;
    d.drv.SetPort(1, "9600,N,8,1");
    d.drv.SetCommandText("(38400,N,8,1)FEFE EEEF(9600,N,8,1)f");
    ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
    d.RunToState(cmcCloneState::WaitInfoReply);
    ASSERT_EQ(d.line.written.size(), 2u);
    EXPECT_EQ(d.line.written[0].baud, 38400);
    EXPECT_EQ(d.line.written[0].bytes, (Bytes{0xFE, 0xFE, 0xEE, 0xEF}));
    EXPECT_EQ(d.line.written[1].baud, 9600);
    EXPECT_EQ(d.line.written[1].bytes[0], 0xF0); // an unpaired digit is a high nibble
    EXPECT_EQ(d.line.opened.size(), 3u);         // two pieces and the operation's own opening
    EXPECT_EQ(d.line.opened[0], "/dev/ttyS0");
    EXPECT_TRUE(d.drv.CommandText().empty()); // consumed
}

// A reopen waits until the bytes already written have left at the line speed, plus a margin of
// 50 ms, instead of a fixed time; a queue that does not drain holds it up to 300 ms.
TEST(cmcCloneDrv, ReopeningWaitsForTheWrittenBytes) {
    struct Case {
        const char* name;
        int32_t bytes;       // written at 9600 baud before the reopen
        int32_t outputCount; // what the device reports as its queue once they are written
        uint32_t from, to;   // when the reopen comes, in ms after the write
    };
    const Case cases[] = {
        {"96 bytes need 100 ms on the wire", 96, 0, 150, 152},
        {"960 bytes need a second", 960, 0, 1050, 1052},
        {"a queue that does not drain", 8, 5, 310, 311}, // the next step, then 300 ms
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drv d;
        d.drv.SetCommandText("(9600,N,8,1)" + std::string(2 * static_cast<size_t>(c.bytes), 'A') +
                             "(38400,N,8,1)");
        d.line.responder = [&](const Bytes&) {
            d.line.outputCount = c.outputCount;
            return Bytes{};
        };
        ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
        d.loop.RunUntil([&] { return d.line.openedAt.size() >= 2 || d.done; }, 5000);
        ASSERT_GE(d.line.openedAt.size(), 2u);
        EXPECT_EQ(d.line.openedAt[0], 10u); // the first step; a closed port has nothing to wait for
        ASSERT_FALSE(d.line.writtenAt.empty());
        uint32_t after = d.line.openedAt[1] - d.line.writtenAt[0];
        EXPECT_GE(after, c.from);
        EXPECT_LE(after, c.to);
    }
}

TEST(cmcCloneDrv, PortFailures) {
    {
        Drv d; // the operation's port does not open
        d.line.openFailures = 1;
        ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
        EXPECT_EQ(d.Finish(), 2);
    }
    {
        Drv d; // a command text piece cannot reopen: the rest of the text is dropped
        d.line.openFailures = 1;
        d.drv.SetCommandText("(38400,N,8,1)FEFE");
        ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
        EXPECT_EQ(d.Finish(), 2);
        EXPECT_TRUE(d.line.written.empty());
    }
    {
        Drv d; // the device accepts fewer bytes than asked
        d.line.acceptLimit = 5;
        ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
        EXPECT_EQ(d.Finish(), 17);
    }
}

TEST(cmcCloneDrv, SecondStartIsRefused) {
    Drv d;
    ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
    EXPECT_TRUE(d.drv.IsBusy());
    EXPECT_FALSE(d.drv.StartRead(kAll, d.Callback()));
    EXPECT_FALSE(d.drv.StartWrite(Pattern(), kAll, d.Callback()));
    EXPECT_EQ(d.drv.Mode(), cmcCloneMode::Info);
    EXPECT_EQ(d.Finish(), 5);
    EXPECT_FALSE(d.drv.IsBusy());
}

TEST(cmcCloneDrv, EchoTestOutcomes) {
    struct Case {
        int32_t echoed; // bytes of each write that come back
        bool echoMode;
    };
    for (Case c : {Case{4, true}, Case{0, false}, Case{2, true}}) {
        SCOPED_TRACE(c.echoed);
        Drv d;
        d.drv.SetEchoTest(true);
        d.line.echoFirst = c.echoed;
        ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
        d.RunToState(cmcCloneState::WaitInfoReply);
        EXPECT_EQ(d.drv.EchoMode(), c.echoMode);
        Bytes all = d.line.AllWritten();
        size_t probes = c.echoed == 2 ? 8 : 4; // a partial answer is tried twice
        EXPECT_EQ(Bytes(all.begin(), all.begin() + probes), Bytes(probes, 0xFE));
        // The first probes follow the port's settle time at once.
        ASSERT_EQ(d.line.openedAt.size(), 1u);
        EXPECT_EQ(d.line.writtenAt.at(0) - d.line.openedAt[0], 100u);
    }
}

// The waits around a reopen (the command text's bytes leaving, the line settling, the echo test)
// hold the driver's own step, not the loop: two ports' operations started together reach the radio's
// reply as early as one alone does.
TEST(cmcCloneDrv, ReopenWaitsLeaveTheLoopToOtherPorts) {
    auto setUp = [](cmcCloneDrv& drv, FakeLine& line) {
        drv.SetModelCodes(0x3329, 0);
        drv.SetImageSize(cmcEeprom::kRadioSize);
        drv.SetEchoTest(true);
        drv.SetCommandText("(9600,N,8,1)FEFE EEEF E8 33290000 55 3031 FD(38400,N,8,1)");
        drv.SetPort(1, "38400,N,8,1");
        line.echoFirst = 2; // a partial answer: the echo test probes twice
    };
    uint32_t alone = 0;
    {
        cmcVirtualLoop loop;
        FakeLine line{loop};
        cmcCloneDrv drv{loop, MakeFake(line)};
        setUp(drv, line);
        ASSERT_TRUE(drv.StartInfo([](dst_CDrv_Result&) {}));
        loop.RunUntil([&] { return drv.State() == cmcCloneState::WaitInfoReply; }, 5000);
        ASSERT_EQ(drv.State(), cmcCloneState::WaitInfoReply);
        alone = loop.NowMs();
    }
    cmcVirtualLoop loop;
    FakeLine lineA{loop}, lineB{loop};
    cmcCloneDrv a{loop, MakeFake(lineA)}, b{loop, MakeFake(lineB)};
    setUp(a, lineA);
    setUp(b, lineB);
    ASSERT_TRUE(a.StartInfo([](dst_CDrv_Result&) {}));
    ASSERT_TRUE(b.StartInfo([](dst_CDrv_Result&) {}));
    auto asking = [](const cmcCloneDrv& d) { return d.State() == cmcCloneState::WaitInfoReply; };
    loop.RunUntil([&] { return asking(a) && asking(b); }, 5000);
    ASSERT_TRUE(asking(a) && asking(b));
    EXPECT_LE(loop.NowMs(), alone + 10);
    EXPECT_EQ(lineA.opened.size(), 3u);
    EXPECT_EQ(lineB.opened.size(), 3u);
}

// Frames held back while the device is busy still reach the radio before a pause and at the end.
TEST(cmcCloneDrv, HeldFramesAreNotStrandedAtPausesOrTheEnd) {
    const cmcRange kSome[] = {{0x0100, 0x03FF}, kRangeListEnd};
    for (bool pauses : {true, false}) {
        SCOPED_TRACE(pauses ? "pause window" : "no pause window");
        Drv d;
        RadioSimEngine radio({}, Pattern());
        d.line.radio = &radio;
        d.drv.SetCommandText("(9600,N,8,1)FEFE EEEF E8 33290000 55 3031 FD");
        d.drv.SetWaitWriteAck(true);
        if (pauses)
            d.drv.SetPauseWindow(128, 0);
        ASSERT_TRUE(d.drv.StartWrite(Pattern(), kSome, d.Callback()));
        d.RunToState(cmcCloneState::WaitWriteAck);
        d.line.outputCount = 500; // the device reports a full queue for a while
        d.loop.Advance(300);
        d.line.outputCount = 0;
        EXPECT_EQ(d.Finish(), 0);
    }
}

TEST(cmcCloneDrv, BytesThatCannotLeaveDoNotChangeTheResult) {
    Drv d;
    ASSERT_TRUE(d.drv.StartInfo(d.Callback()));
    d.RunToState(cmcCloneState::WaitInfoReply);
    d.line.outputCount = 7; // stuck for good
    d.line.Queue(InfoReply());
    EXPECT_EQ(d.Finish(5000), 0);
}

#include "CloneRig.h"

#include "FuzzSupport.h"

#include <string>

namespace fuzz {

namespace {

constexpr uint32_t kDelays[4] = {0, 3, 40, 400};
// Longer than the slowest whole-memory write at 9,600 baud with every time-out of the protocol.
constexpr uint32_t kMaxVirtualMs = 900000;
constexpr int32_t kMaxWrites = 200000;

} // namespace

uint8_t CloneSetup::Encode() const {
    uint8_t delay = 0;
    for (uint8_t i = 0; i < 4; ++i)
        if (kDelays[i] == replyDelayMs)
            delay = i;
    return uint8_t(op) | (high ? 0x04 : 0) | (password ? 0x08 : 0) | (maker ? 0x10 : 0) |
           (modelType ? 0x20 : 0) | uint8_t(delay << 6);
}

CloneSetup CloneSetup::Decode(uint8_t b) {
    CloneSetup s;
    s.op = Op((b & 3) % 3);
    s.high = b & 0x04;
    s.password = b & 0x08;
    s.maker = b & 0x10;
    s.modelType = (b & 0x20) ? 1 : 0;
    s.replyDelayMs = kDelays[b >> 6];
    return s;
}

void AppendChunk(std::vector<uint8_t>& script, const std::vector<uint8_t>& bytes) {
    size_t n = std::min<size_t>(bytes.size(), 0x0FFF);
    if (n < 0xF0) {
        script.push_back(uint8_t(n));
    } else {
        script.push_back(uint8_t(0xF0 + (n >> 8)));
        script.push_back(uint8_t(n & 0xFF));
    }
    script.insert(script.end(), bytes.begin(), bytes.begin() + long(n));
}

CloneOutcome RunClone(const CloneSetup& setup, const Responder& responder) {
    Program& p = Program::Get();
    cmcVirtualLoop loop;
    FakeLine line(loop);
    QuietBox box;
    CloneOutcome outcome;
    line.replyDelayMs = setup.replyDelayMs;
    line.responder = [&](const std::vector<uint8_t>& written) {
        if (++outcome.writes > kMaxWrites)
            Finding("a clone command keeps writing: more than " + std::to_string(kMaxWrites) + " writes");
        return responder(written, line.baud);
    };
    indModel model(&p.initial[setup.modelType], &box, p.settings);
    indCloneMan man(
        loop, [&line] { return MakeFake(line); }, &p.tables.Text(), &box, nullptr);
    man.SetComSpeedHigh(setup.high);
    indCloneCommands commands(man, model, &p.tables.Text(), &box);
    commands.SetMakerMode(setup.maker);
    commands.SetPasswordDialog([&] {
        if (!setup.password)
            return false;
        man.SetClonePassword("1234");
        return true;
    });

    bool done = false;
    auto finished = [&](int32_t code, dst_CDrv_Result*) {
        done = true;
        outcome.code = code;
    };
    bool started = false;
    switch (setup.op) {
    case CloneSetup::Info:
        started = commands.StartInfo(finished);
        break;
    case CloneSetup::Read:
        started = commands.StartRead(finished);
        break;
    case CloneSetup::Write:
        started = commands.StartWrite(p.initial[setup.modelType], finished);
        break;
    }
    if (!started)
        Finding("a clone command did not start on an idle clone manager");
    // Rounds of at most one virtual second each; the timers move the clock, so this ends.
    const uint32_t start = loop.NowMs();
    while (!done) {
        if (loop.NowMs() - start >= kMaxVirtualMs)
            Finding("a clone command hangs: not finished after " + std::to_string(kMaxVirtualMs / 1000) +
                    " virtual seconds (" + std::to_string(outcome.writes) + " writes)");
        if (!loop.RunUntil([&] { return done; }, 1000) && loop.TimerCount() == 0)
            Finding("a clone command hangs: no timer runs and it never finished");
    }
    outcome.elapsedMs = loop.NowMs() - start;
    return outcome;
}

CloneOutcome PlayScript(const uint8_t* data, size_t size) {
    const CloneSetup setup = CloneSetup::Decode(size > 0 ? data[0] : 0);
    size_t at = size > 0 ? 1 : 0;
    return RunClone(setup, [&](const std::vector<uint8_t>&, int32_t) {
        std::vector<uint8_t> answer;
        if (at >= size)
            return answer;
        size_t n = data[at++];
        if (n >= 0xF0) {
            n = (n - 0xF0) << 8 | (at < size ? data[at++] : 0);
        }
        n = std::min(n, size - at);
        answer.assign(data + at, data + at + n);
        at += n;
        return answer;
    });
}

} // namespace fuzz

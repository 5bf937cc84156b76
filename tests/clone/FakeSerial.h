#pragma once
// A scripted serial device for the clone tests: records what is written with the line speed of the
// moment, delivers queued bytes when the virtual clock reaches them, and can hand every write to a
// simulated radio that answers it. It can refuse to open (with a reason) and fall short after N bytes.
#include "clone/cmcSerialDevice.h"
#include "core/cmcLoop.h"

#include "RadioSimEngine.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The state shared by the test and the device inside the port.
struct FakeLine {
    explicit FakeLine(const cmcLoop& c) : clock(c) {}

    struct Chunk {
        int32_t baud;
        std::vector<uint8_t> bytes;
    };

    const cmcLoop& clock;
    RadioSimEngine* radio = nullptr; // answers what is written, when set
    // Answers what is written (after the radio, when both are set).
    std::function<std::vector<uint8_t>(const std::vector<uint8_t>& written)> responder;
    uint32_t replyDelayMs = 0; // answers arrive this much later
    std::deque<std::pair<uint32_t, uint8_t>> input;
    std::vector<Chunk> written; // consecutive writes at one speed are merged
    std::vector<std::string> opened;
    std::vector<uint32_t> openedAt;  // the clock at each open
    std::vector<uint32_t> writtenAt; // the clock at each write
    int32_t baud = 0;
    bool open = false;
    int openFailures = 0;                               // the next this many opens fail
    cmcPortFailure openFailure = cmcPortFailure::Other; // why they fail
    std::string openHolder;                             // who holds the device, for Busy
    int32_t acceptLimit = -1; // total bytes accepted before writes fall short (-1 no limit)
    int32_t totalWritten = 0;
    int32_t outputCount = 0; // what the device reports as its send queue
    int32_t echoFirst = 0;   // the first this many bytes of every write come straight back
    int pollFd = -1;         // the descriptor the open device offers for watching arrivals

    void Queue(const std::vector<uint8_t>& bytes, uint32_t delayMs = 0) {
        for (uint8_t b : bytes)
            input.emplace_back(clock.NowMs() + delayMs, b);
    }
    std::vector<uint8_t> AllWritten() const {
        std::vector<uint8_t> all;
        for (const Chunk& c : written)
            all.insert(all.end(), c.bytes.begin(), c.bytes.end());
        return all;
    }
    // Bytes whose time has come (queued times never decrease).
    int32_t Due() const {
        auto now = clock.NowMs();
        auto it = std::partition_point(input.begin(), input.end(), [now](const auto& entry) {
            return static_cast<int32_t>(now - entry.first) >= 0;
        });
        return static_cast<int32_t>(it - input.begin());
    }
};

class FakeSerial : public cmcSerialDevice {
public:
    explicit FakeSerial(FakeLine& line) : m_line(line) {}

    bool Open(const std::string& path) override {
        if (m_line.openFailures > 0) {
            --m_line.openFailures;
            return false;
        }
        m_line.opened.push_back(path);
        m_line.openedAt.push_back(m_line.clock.NowMs());
        m_line.open = true;
        return true;
    }
    cmcPortFailure OpenFailure() const override { return m_line.openFailure; }
    std::string OpenHolder() const override { return m_line.openHolder; }
    bool IsOpen() const override { return m_line.open; }
    void Close() override { m_line.open = false; }
    bool Purge() override {
        m_line.input.clear();
        return true;
    }
    bool Configure(const cmcLineSettings& settings) override {
        m_line.baud = settings.baud;
        return true;
    }
    int32_t Read(uint8_t* destination, int32_t max) override {
        int32_t n = 0;
        int32_t due = m_line.Due();
        while (n < max && n < due) {
            destination[n++] = m_line.input.front().second;
            m_line.input.pop_front();
        }
        return n;
    }
    int32_t Write(const uint8_t* source, int32_t n) override {
        int32_t accepted = n;
        if (m_line.acceptLimit >= 0)
            accepted = std::max(0, std::min(n, m_line.acceptLimit - m_line.totalWritten));
        m_line.totalWritten += accepted;
        m_line.writtenAt.push_back(m_line.clock.NowMs());
        if (m_line.written.empty() || m_line.written.back().baud != m_line.baud)
            m_line.written.push_back({m_line.baud, {}});
        auto& bytes = m_line.written.back().bytes;
        bytes.insert(bytes.end(), source, source + accepted);
        if (m_line.echoFirst > 0)
            m_line.Queue(std::vector<uint8_t>(source, source + std::min(accepted, m_line.echoFirst)));
        if (m_line.responder)
            m_line.Queue(m_line.responder(std::vector<uint8_t>(source, source + accepted)),
                         m_line.replyDelayMs);
        if (m_line.radio) {
            std::vector<uint8_t> answer;
            m_line.radio->Receive(source, accepted, m_line.baud, answer);
            m_line.Queue(answer, m_line.replyDelayMs);
        }
        return accepted;
    }
    int32_t InputCount() override { return m_line.Due(); }
    int32_t OutputCount() override { return m_line.outputCount; }
    int PollFd() const override { return m_line.open ? m_line.pollFd : -1; }

private:
    FakeLine& m_line;
};

inline std::unique_ptr<cmcSerialDevice> MakeFake(FakeLine& line) {
    return std::make_unique<FakeSerial>(line);
}

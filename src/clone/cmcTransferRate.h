#pragma once
// How far a clone read or write has come, in words a technician reads at a glance: bytes done of the
// total, the rate, the time it has taken and the time it will still take. The caller gives the clock.
#include <cstdint>
#include <optional>
#include <string>

class cmcTransferRate {
public:
    // A transfer of total bytes starts at nowMs (any steady millisecond clock).
    void Start(int64_t nowMs, int32_t total);
    void Update(int64_t nowMs, int32_t transferred);

    int32_t Transferred() const { return m_transferred; }
    int32_t Total() const { return m_total; }
    int64_t ElapsedMs() const { return m_nowMs - m_startMs; }
    // Bytes per second so far; none until a rate can be told (some bytes and a quarter second).
    std::optional<double> BytesPerSecond() const;
    // The time still needed at the rate so far; none while the rate is unknown.
    std::optional<int64_t> RemainingMs() const;

    // "12288/24832 bytes  4.1 kB/s  0:03 elapsed  0:03 left"; the rate and the time left appear once
    // they are known.
    std::string Line() const;
    // m:ss, or h:mm:ss from an hour on.
    static std::string Clock(int64_t ms);

private:
    int64_t m_startMs = 0;
    int64_t m_nowMs = 0;
    int32_t m_total = 0;
    int32_t m_transferred = 0;
};

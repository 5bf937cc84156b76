#pragma once
// A one-shot millisecond countdown, read by polling. Wraps of the millisecond clock are harmless.
#include "core/cmcLoop.h"

#include <cstdint>

class cmcTick {
public:
    explicit cmcTick(const cmcLoop& clock) : m_clock(clock) {}

    // Starts (or restarts) a countdown of ms milliseconds.
    void Start(uint32_t ms);
    // Milliseconds left; 0 when not running. Observing the end stops the countdown.
    uint32_t Remaining();
    bool IsRunning() const { return m_running; }
    // The clock's resolution: the loops here count whole milliseconds.
    uint32_t Resolution() const { return 1; }

private:
    const cmcLoop& m_clock;
    uint32_t m_duration = 0;
    uint32_t m_start = 0;
    bool m_running = false;
};

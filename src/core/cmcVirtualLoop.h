#pragma once
// A loop on a virtual clock for tests: time moves only when the test advances it, so a 1,000 ms time-out
// takes no real time.
#include "core/cmcTimerLoop.h"

class cmcVirtualLoop : public cmcTimerLoop {
public:
    explicit cmcVirtualLoop(uint32_t startMs = 0) : m_now(startMs) {}

    uint32_t NowMs() const override { return m_now; }

    // Moves the clock forward by ms, firing each timer at the moment it is due, in order.
    void Advance(uint32_t ms);

    // Advances timer by timer until done() is true or limitMs of virtual time passed.
    // Returns done()'s final value.
    bool RunUntil(const std::function<bool()>& done, uint32_t limitMs);

private:
    uint32_t m_now;
};

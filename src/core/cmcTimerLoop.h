#pragma once
// Timer bookkeeping shared by the poll loop and the virtual-clock loop: which timer is due next and
// firing it with the rules of cmcLoop.
#include "core/cmcLoop.h"

#include <map>
#include <optional>

class cmcTimerLoop : public cmcLoop {
public:
    int StartTimer(int intervalMs, std::function<void()> fire) override;
    void StopTimer(int id) override;

    // Number of running timers.
    size_t TimerCount() const { return m_timers.size(); }

protected:
    // Milliseconds from now until the earliest timer is due (0 when overdue), or none without timers.
    std::optional<uint32_t> UntilNextDue() const;

    // Fires every timer that is due at the current clock, earliest first. Returns the number fired.
    int FireDue();

private:
    struct Timer {
        uint32_t interval;
        uint32_t due;
        std::function<void()> fire;
    };
    std::map<int, Timer> m_timers;
    int m_nextId = 1;
};

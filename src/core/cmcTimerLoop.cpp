#include "core/cmcTimerLoop.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {
// Signed distance from a to b on the wrapping millisecond clock.
int32_t distance(uint32_t from, uint32_t to) {
    return static_cast<int32_t>(to - from);
}
} // namespace

int cmcTimerLoop::StartTimer(int intervalMs, std::function<void()> fire) {
    uint32_t interval = intervalMs < 1 ? 1u : static_cast<uint32_t>(intervalMs);
    int id = m_nextId++;
    if (m_nextId <= 0)
        m_nextId = 1;
    m_timers[id] = Timer{interval, NowMs() + interval, std::move(fire)};
    return id;
}

void cmcTimerLoop::StopTimer(int id) {
    m_timers.erase(id);
}

std::optional<uint32_t> cmcTimerLoop::UntilNextDue() const {
    if (m_timers.empty())
        return std::nullopt;
    uint32_t now = NowMs();
    int32_t best = INT32_MAX;
    for (const auto& [id, t] : m_timers) {
        int32_t d = distance(now, t.due);
        if (d < best)
            best = d;
    }
    return best <= 0 ? 0u : static_cast<uint32_t>(best);
}

int cmcTimerLoop::FireDue() {
    uint32_t now = NowMs();
    // Collect first: callbacks may add or remove timers while we fire.
    std::vector<std::pair<int32_t, int>> due;
    for (const auto& [id, t] : m_timers) {
        int32_t d = distance(now, t.due);
        if (d <= 0)
            due.emplace_back(d, id);
    }
    std::sort(due.begin(), due.end());
    int fired = 0;
    for (const auto& [lateness, id] : due) {
        auto it = m_timers.find(id);
        if (it == m_timers.end())
            continue; // stopped by an earlier callback
        it->second.due = now + it->second.interval;
        std::function<void()> fire = it->second.fire; // survives a StopTimer from inside the callback
        ++fired;
        fire();
    }
    return fired;
}

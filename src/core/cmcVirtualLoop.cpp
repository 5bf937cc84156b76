#include "core/cmcVirtualLoop.h"

void cmcVirtualLoop::Advance(uint32_t ms) {
    uint32_t end = m_now + ms;
    FireDue();
    for (;;) {
        int32_t left = static_cast<int32_t>(end - m_now);
        if (left < 0)
            break; // a callback's own Advance already went past the end
        auto next = UntilNextDue();
        if (!next || *next > static_cast<uint32_t>(left)) {
            m_now = end;
            break;
        }
        m_now += *next;
        FireDue();
    }
}

bool cmcVirtualLoop::RunUntil(const std::function<bool()>& done, uint32_t limitMs) {
    uint32_t start = m_now;
    FireDue();
    while (!done()) {
        uint32_t used = m_now - start;
        if (used >= limitMs)
            return done();
        auto next = UntilNextDue();
        if (!next) {
            m_now = start + limitMs;
            return done();
        }
        uint32_t step = *next;
        if (step > limitMs - used)
            step = limitMs - used;
        m_now += step;
        FireDue();
    }
    return true;
}

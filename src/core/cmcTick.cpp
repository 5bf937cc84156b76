#include "core/cmcTick.h"

void cmcTick::Start(uint32_t ms) {
    m_duration = ms;
    m_start = m_clock.NowMs();
    m_running = true;
}

uint32_t cmcTick::Remaining() {
    if (!m_running)
        return 0;
    uint32_t elapsed = m_clock.NowMs() - m_start; // modulo 2^32
    if (elapsed < m_duration)
        return m_duration - elapsed;
    m_running = false;
    return 0;
}

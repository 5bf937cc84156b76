#include "clone/cmcTransferRate.h"

#include <cstdio>

namespace {

constexpr int64_t kMinimumMs = 250;

} // namespace

void cmcTransferRate::Start(int64_t nowMs, int32_t total) {
    m_startMs = m_nowMs = nowMs;
    m_total = total > 0 ? total : 0;
    m_transferred = 0;
}

void cmcTransferRate::Update(int64_t nowMs, int32_t transferred) {
    if (nowMs > m_nowMs) {
        m_nowMs = nowMs;
    }
    m_transferred = transferred < 0 ? 0 : transferred > m_total ? m_total : transferred;
}

std::optional<double> cmcTransferRate::BytesPerSecond() const {
    const int64_t elapsed = ElapsedMs();
    if (elapsed < kMinimumMs || m_transferred <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(m_transferred) * 1000.0 / static_cast<double>(elapsed);
}

std::optional<int64_t> cmcTransferRate::RemainingMs() const {
    const std::optional<double> rate = BytesPerSecond();
    if (!rate) {
        return std::nullopt;
    }
    return static_cast<int64_t>(static_cast<double>(m_total - m_transferred) * 1000.0 / *rate + 0.5);
}

std::string cmcTransferRate::Clock(int64_t ms) {
    const int64_t seconds = ms < 0 ? 0 : (ms + 500) / 1000;
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    }
    return text;
}

std::string cmcTransferRate::Line() const {
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d bytes", m_transferred, m_total);
    std::string line = text;
    if (const std::optional<double> rate = BytesPerSecond()) {
        std::snprintf(text, sizeof text, "  %.1f kB/s", *rate / 1000.0);
        line += text;
    }
    line += "  " + Clock(ElapsedMs()) + " elapsed";
    if (const std::optional<int64_t> left = RemainingMs()) {
        line += "  " + Clock(*left) + " left";
    }
    return line;
}

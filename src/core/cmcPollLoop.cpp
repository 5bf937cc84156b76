#include "core/cmcPollLoop.h"

#include <ctime>
#include <poll.h>
#include <vector>

uint32_t cmcPollLoop::NowMs() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

bool cmcPollLoop::WatchFd(int fd, std::function<void()> ready) {
    m_fds[fd] = std::move(ready);
    return true;
}

void cmcPollLoop::UnwatchFd(int fd) {
    m_fds.erase(fd);
}

void cmcPollLoop::RunOnce(int maxWaitMs) {
    int wait = maxWaitMs;
    if (auto next = UntilNextDue()) {
        int untilDue = static_cast<int>(*next);
        if (wait < 0 || untilDue < wait)
            wait = untilDue;
    }
    std::vector<pollfd> fds;
    fds.reserve(m_fds.size());
    for (const auto& [fd, cb] : m_fds)
        fds.push_back(pollfd{fd, POLLIN, 0});
    int n = poll(fds.data(), fds.size(), wait);
    if (n > 0) {
        for (const pollfd& p : fds) {
            if (p.revents == 0)
                continue;
            auto it = m_fds.find(p.fd);
            if (it == m_fds.end())
                continue;
            std::function<void()> cb = it->second; // may unwatch itself
            cb();
        }
    }
    FireDue();
}

bool cmcPollLoop::RunUntil(const std::function<bool()>& done, int timeoutMs) {
    uint32_t start = NowMs();
    while (!done()) {
        int wait = -1;
        if (timeoutMs >= 0) {
            uint32_t elapsed = NowMs() - start;
            if (elapsed >= static_cast<uint32_t>(timeoutMs))
                return done();
            wait = static_cast<int>(static_cast<uint32_t>(timeoutMs) - elapsed);
        }
        RunOnce(wait);
    }
    return true;
}

void cmcPollLoop::Run() {
    m_quit = false;
    while (!m_quit)
        RunOnce(-1);
}

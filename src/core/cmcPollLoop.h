#pragma once
// The message loop of the command-line tools and the simulated radio: timers on the monotonic clock,
// waiting in poll(), optionally watching file descriptors.
#include "core/cmcTimerLoop.h"

#include <map>

class cmcPollLoop : public cmcTimerLoop {
public:
    uint32_t NowMs() const override;

    // Watches descriptors with poll(); always succeeds.
    bool WatchFd(int fd, std::function<void()> ready) override;
    void UnwatchFd(int fd) override;

    // Runs timers and watched descriptors until done() is true (checked after every wake-up) or
    // timeoutMs passed. Returns done()'s final value. A negative timeout waits without limit.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs);

    // Runs until Quit() is called from a callback.
    void Run();
    void Quit() { m_quit = true; }

private:
    std::map<int, std::function<void()>> m_fds;
    bool m_quit = false;
    void RunOnce(int maxWaitMs);
};

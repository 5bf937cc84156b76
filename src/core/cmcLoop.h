#pragma once
// The message loop as the radio logic sees it: a millisecond clock, repeating timers and watched
// descriptors. Nothing waits by blocking it: a step that must wait sets a timer, so several radios
// (and the window) share one loop. The desktop program drives it with Qt, the command-line tools with poll(),
// and tests with a virtual clock that advances instantly.
#include <cstdint>
#include <functional>

class cmcLoop {
public:
    virtual ~cmcLoop() = default;

    // Monotonic millisecond clock; it wraps modulo 2^32 and callers subtract with unsigned arithmetic.
    virtual uint32_t NowMs() const = 0;

    // Starts a repeating timer that calls fire every intervalMs (at least 1) and returns its id (> 0).
    // A late timer fires once, not once per missed interval. A callback may start and stop timers,
    // its own included: loops keep a copy of the callback alive while it runs.
    virtual int StartTimer(int intervalMs, std::function<void()> fire) = 0;

    // Stops a timer; unknown or already stopped ids are ignored.
    virtual void StopTimer(int id) = 0;

    // Calls ready whenever fd has bytes to read (or an error or hang-up), so work that waits for input
    // can run at once instead of on its next timer tick. One callback per descriptor; watching again
    // replaces it. Returns false when this loop does not watch descriptors: callers then rely on their
    // timers alone, which stays correct, only slower to answer.
    virtual bool WatchFd(int fd, std::function<void()> ready) {
        (void)fd;
        (void)ready;
        return false;
    }
    virtual void UnwatchFd(int fd) { (void)fd; }
};

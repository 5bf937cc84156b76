#pragma once
// The message loop of the desktop program as the radio logic sees it: repeating QTimers on the
// user-interface thread and a steady millisecond clock.
#include "core/cmcLoop.h"

#include <QObject>
#include <map>

class QSocketNotifier;
class QTimer;

class cuiQtLoop : public cmcLoop {
public:
    cuiQtLoop();
    ~cuiQtLoop() override;
    cuiQtLoop(const cuiQtLoop&) = delete;
    cuiQtLoop& operator=(const cuiQtLoop&) = delete;

    uint32_t NowMs() const override;
    int StartTimer(int intervalMs, std::function<void()> fire) override;
    void StopTimer(int id) override;
    // A read notifier per descriptor, so the clone driver answers the radio as soon as bytes arrive.
    bool WatchFd(int fd, std::function<void()> ready) override;
    void UnwatchFd(int fd) override;

    size_t TimerCount() const { return m_timers.size(); }

private:
    struct Entry {
        QTimer* timer;
        std::function<void()> fire;
    };
    struct Watch {
        QSocketNotifier* notifier;
        std::function<void()> ready;
    };
    void Fire(int id);
    void Ready(int fd);

    std::map<int, Entry> m_timers;
    std::map<int, Watch> m_watches;
    int m_nextId = 1;
};

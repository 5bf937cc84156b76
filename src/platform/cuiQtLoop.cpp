#include "platform/cuiQtLoop.h"

#include <QSocketNotifier>
#include <QTimer>
#include <chrono>

cuiQtLoop::cuiQtLoop() = default;

cuiQtLoop::~cuiQtLoop() {
    for (auto& [id, entry] : m_timers)
        delete entry.timer;
    for (auto& [fd, watch] : m_watches)
        delete watch.notifier;
}

uint32_t cuiQtLoop::NowMs() const {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

int cuiQtLoop::StartTimer(int intervalMs, std::function<void()> fire) {
    int id = m_nextId++;
    auto* timer = new QTimer();
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(intervalMs < 1 ? 1 : intervalMs);
    QObject::connect(timer, &QTimer::timeout, [this, id] { Fire(id); });
    m_timers.emplace(id, Entry{timer, std::move(fire)});
    timer->start();
    return id;
}

void cuiQtLoop::StopTimer(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second.timer->stop();
    // The timer may be the one whose signal is being delivered.
    it->second.timer->deleteLater();
    m_timers.erase(it);
}

void cuiQtLoop::Fire(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    // A copy: the callback may stop its own timer.
    std::function<void()> fire = it->second.fire;
    fire();
}

bool cuiQtLoop::WatchFd(int fd, std::function<void()> ready) {
    UnwatchFd(fd);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [this, fd] { Ready(fd); });
    m_watches.emplace(fd, Watch{notifier, std::move(ready)});
    return true;
}

void cuiQtLoop::UnwatchFd(int fd) {
    auto it = m_watches.find(fd);
    if (it == m_watches.end())
        return;
    // The notifier may be the one whose signal is being delivered.
    it->second.notifier->setEnabled(false);
    it->second.notifier->deleteLater();
    m_watches.erase(it);
}

void cuiQtLoop::Ready(int fd) {
    auto it = m_watches.find(fd);
    if (it == m_watches.end())
        return;
    // A copy: the callback may stop watching.
    std::function<void()> ready = it->second.ready;
    ready();
}

#pragma once
// A periodic step on the message loop: a callback called every N milliseconds, guarded against
// re-entry, that can delete itself safely even when its owner is destroyed from inside the step.
#include "core/cmcLoop.h"

#include <functional>
#include <memory>

class cmcTask {
public:
    using Step = std::function<void(cmcTask* task)>;

    // Owners hold a task through Ptr; destroying the Ptr applies the release rule.
    struct Releaser {
        void operator()(cmcTask* task) const { task->Release(); }
    };
    using Ptr = std::unique_ptr<cmcTask, Releaser>;

    static Ptr Create(cmcLoop& loop);

    cmcTask(const cmcTask&) = delete;
    cmcTask& operator=(const cmcTask&) = delete;

    // Stores the step; does not start the timer.
    void Bind(Step step);
    // A negative value stops the timer; otherwise it runs with that interval (0 becomes 1 ms).
    void SetInterval(int ms);
    // Clears the step and stops the timer.
    void Unbind();
    // The task destroys itself on its next tick.
    void DeleteLater();
    // The owners' destruction rule: a stopped task that is not inside its step goes at once; any
    // other is unbound and deletes itself on its next tick.
    void Release();

    int Interval() const { return m_interval; }
    bool IsStopped() const { return m_timerId == 0; }
    bool IsBusy() const { return m_busy; }

private:
    explicit cmcTask(cmcLoop& loop) : m_loop(loop) {}
    ~cmcTask();
    void Tick();
    void StartTimer(int ms, std::function<void()> fire);

    cmcLoop& m_loop;
    Step m_step;
    int m_interval = -1;
    int m_timerId = 0;
    bool m_busy = false;
    bool m_deletePending = false;
    bool m_ownedByTimer = false; // after DeleteLater the loop's timer holds the last reference
};

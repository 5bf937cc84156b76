#include "core/cmcTask.h"

cmcTask::Ptr cmcTask::Create(cmcLoop& loop) {
    return Ptr(new cmcTask(loop));
}

cmcTask::~cmcTask() {
    // When the loop's timer owns the task, the timer is already gone (fired or the loop destroyed).
    if (!m_ownedByTimer && m_timerId != 0)
        m_loop.StopTimer(m_timerId);
}

void cmcTask::StartTimer(int ms, std::function<void()> fire) {
    if (m_timerId != 0)
        m_loop.StopTimer(m_timerId);
    m_timerId = m_loop.StartTimer(ms < 1 ? 1 : ms, std::move(fire));
}

void cmcTask::Bind(Step step) {
    m_step = std::move(step);
}

void cmcTask::SetInterval(int ms) {
    if (m_deletePending)
        return; // a task on its way out stays on its deletion timer
    m_interval = ms;
    if (ms < 0) {
        if (m_timerId != 0) {
            m_loop.StopTimer(m_timerId);
            m_timerId = 0;
        }
        return;
    }
    StartTimer(ms, [this] { Tick(); });
}

void cmcTask::Unbind() {
    m_step = nullptr;
    SetInterval(-1);
}

void cmcTask::DeleteLater() {
    if (m_deletePending)
        return;
    m_deletePending = true;
    m_ownedByTimer = true;
    // The timer's callback owns the task from here on: it is deleted when the callback runs (and
    // stops its timer) or when the loop itself goes away first.
    std::shared_ptr<cmcTask> self(this, [](cmcTask* t) { delete t; });
    StartTimer(1, [self] { self->Tick(); });
}

void cmcTask::Release() {
    if (IsStopped() && !m_busy && !m_deletePending) {
        delete this;
        return;
    }
    Unbind();
    DeleteLater();
}

void cmcTask::Tick() {
    if (m_deletePending) {
        // Stopping the timer drops the callback; the loop's running copy releases the task afterwards.
        int id = m_timerId;
        m_timerId = 0;
        m_loop.StopTimer(id);
        return;
    }
    if (m_busy || !m_step)
        return;
    m_busy = true;
    Step step = m_step; // the step may unbind or release the task
    step(this);
    m_busy = false;
}

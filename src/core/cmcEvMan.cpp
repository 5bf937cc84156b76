#include "core/cmcEvMan.h"

#include "core/cmcLoop.h"

cmcEvMan::cmcEvMan(cmcLoop& loop) : m_task(cmcTask::Create(loop)) {
    m_task->Bind([this](cmcTask*) { Pump(); });
    m_task->SetInterval(kPumpIntervalMs);
}

cmcEvMan::~cmcEvMan() {
    // The task may be inside its step (a listener destroying the manager is not supported, but the
    // release rule keeps the task itself safe); queued records and listeners go with the lists.
    m_task.reset();
}

void cmcEvMan::Register(Callback callback, void* context) {
    if (callback == nullptr)
        return;
    Unregister(callback, context);
    m_listeners.push_front(Listener{callback, context, false});
}

void cmcEvMan::Unregister(Callback callback, void* context) {
    for (Listener& listener : m_listeners) {
        if (listener.callback == callback && listener.context == context)
            listener.removed = true;
    }
}

cmcEvRec cmcEvMan::MakeRecord(int32_t type, int32_t mode, intptr_t p1, intptr_t p2, const void* bytes,
                              size_t length) {
    cmcEvRec record;
    record.type = type;
    record.mode = mode;
    record.p1 = p1;
    record.p2 = p2;
    if (bytes != nullptr && length > 0) {
        const auto* first = static_cast<const uint8_t*>(bytes);
        record.data.assign(first, first + length);
    }
    return record;
}

// A text travels with its terminating zero, as listeners of the desktop program expect.
static std::vector<uint8_t> TextBytes(std::string_view text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

void cmcEvMan::Deliver(const cmcEvRec& record) {
    // Entries inserted at the head during this walk lie behind the iterator and are skipped; removed
    // entries are only flagged while any delivery runs, so the iterator never dangles.
    ++m_deliveryDepth;
    for (auto it = m_listeners.begin(); it != m_listeners.end(); ++it) {
        if (!it->removed)
            it->callback(it->context, record);
    }
    --m_deliveryDepth;
}

void cmcEvMan::Enqueue(cmcEvRec record) {
    m_queue.push_back(QueueEntry{std::move(record), true, false});
}

void cmcEvMan::Send(int32_t type, intptr_t p1, intptr_t p2) {
    Deliver(MakeRecord(type, cmcEvRec::Immediate, p1, p2, nullptr, 0));
}

void cmcEvMan::SendText(int32_t type, std::string_view text) {
    SendText(type, 0, 0, text);
}

void cmcEvMan::SendText(int32_t type, intptr_t p1, intptr_t p2, std::string_view text) {
    std::vector<uint8_t> bytes = TextBytes(text);
    Deliver(MakeRecord(type, cmcEvRec::Immediate, p1, p2, bytes.data(), bytes.size()));
}

void cmcEvMan::Post(int32_t type, intptr_t p1, intptr_t p2) {
    Enqueue(MakeRecord(type, cmcEvRec::Queued, p1, p2, nullptr, 0));
}

void cmcEvMan::PostText(int32_t type, intptr_t p1, intptr_t p2, std::string_view text) {
    cmcEvRec record = MakeRecord(type, cmcEvRec::Queued, p1, p2, nullptr, 0);
    record.data = TextBytes(text);
    Enqueue(std::move(record));
}

void cmcEvMan::PostData(int32_t type, const void* bytes, size_t length) {
    Enqueue(MakeRecord(type, cmcEvRec::Queued, 0, 0, bytes, length));
}

std::vector<cmcEvAns> cmcEvMan::Ask(int32_t type, intptr_t p1, intptr_t p2) {
    std::vector<cmcEvAns> answers;
    m_asks.push_back(&answers);
    Deliver(MakeRecord(type, cmcEvRec::Answered, p1, p2, nullptr, 0));
    m_asks.pop_back();
    return answers;
}

void cmcEvMan::Answer(int32_t value, intptr_t pointer) {
    if (m_asks.empty())
        return;
    m_asks.back()->push_back(cmcEvAns{value, pointer, {}});
}

void cmcEvMan::AnswerData(const void* bytes, size_t length) {
    if (m_asks.empty())
        return;
    cmcEvAns answer;
    if (bytes != nullptr && length > 0) {
        const auto* first = static_cast<const uint8_t*>(bytes);
        answer.data.assign(first, first + length);
    }
    m_asks.back()->push_back(std::move(answer));
}

void cmcEvMan::Pump() {
    if (m_windowOrderDuty)
        m_windowOrderDuty();

    // Records posted from here on carry the new flag and wait for the next pump.
    for (QueueEntry& entry : m_queue)
        entry.isNew = false;
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if (it->done || it->isNew)
            continue;
        it->done = true;
        Deliver(it->record);
    }
    m_queue.remove_if([](const QueueEntry& entry) { return entry.done; });

    // A listener may run a modal loop inside an immediate delivery, and this pump with it; the walk
    // outside still stands on the listener entries, so they are freed only when no delivery runs.
    if (m_deliveryDepth == 0)
        m_listeners.remove_if([](const Listener& listener) { return listener.removed; });
}

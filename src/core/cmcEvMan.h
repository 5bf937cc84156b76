#pragma once
// The event manager: parts post numbered events, every registered listener sees every event and picks
// what concerns it. Delivery is queued (a 10 ms pump, in posting order), immediate or answered.
#include "core/cmcEvAns.h"
#include "core/cmcEvRec.h"
#include "core/cmcTask.h"

#include <cstddef>
#include <functional>
#include <list>
#include <string_view>
#include <vector>

class cmcLoop;

class cmcEvMan {
public:
    using Callback = void (*)(void* context, const cmcEvRec& event);

    // Starts the pump on loop; the loop must outlive the manager.
    explicit cmcEvMan(cmcLoop& loop);
    // Frees queued records without delivering them. Must not run inside a delivery.
    ~cmcEvMan();
    cmcEvMan(const cmcEvMan&) = delete;
    cmcEvMan& operator=(const cmcEvMan&) = delete;

    // Listeners are called newest first. Registering a (callback, context) pair again replaces its
    // entry; a null callback is ignored. Both are safe inside a delivery: a listener registered during
    // a delivery first hears the next event, an unregistered one is never called again.
    void Register(Callback callback, void* context);
    void Unregister(Callback callback, void* context);

    // Immediate: delivered to every listener before the call returns.
    void Send(int32_t type, intptr_t p1 = 0, intptr_t p2 = 0);
    void SendText(int32_t type, std::string_view text);
    void SendText(int32_t type, intptr_t p1, intptr_t p2, std::string_view text);

    // Queued: delivered by the next pump. The bytes are copied at once.
    void Post(int32_t type, intptr_t p1 = 0, intptr_t p2 = 0);
    void PostText(int32_t type, intptr_t p1, intptr_t p2, std::string_view text);
    void PostData(int32_t type, const void* bytes, size_t length);

    // Answered: delivered at once; listeners answer through Answer/AnswerData. Returns the answers in
    // answering order (empty when nobody answered). Answered sends may nest.
    std::vector<cmcEvAns> Ask(int32_t type, intptr_t p1 = 0, intptr_t p2 = 0);
    // Called by a listener handling an answered event; ignored outside one.
    void Answer(int32_t value, intptr_t pointer);
    void AnswerData(const void* bytes, size_t length);

    // Runs at the start of every pump: the desktop program keeps its floating windows above the main
    // window there (sending event 76 when needed).
    void SetWindowOrderDuty(std::function<void()> duty) { m_windowOrderDuty = std::move(duty); }

    // Queued records not yet delivered, and listener entries including removed ones not yet freed.
    size_t QueuedCount() const { return m_queue.size(); }
    size_t ListenerEntryCount() const { return m_listeners.size(); }

    static constexpr int kPumpIntervalMs = 10;

private:
    struct Listener {
        Callback callback;
        void* context;
        bool removed;
    };
    struct QueueEntry {
        cmcEvRec record;
        bool isNew;
        bool done;
    };

    void Deliver(const cmcEvRec& record);
    void Enqueue(cmcEvRec record);
    void Pump();
    static cmcEvRec MakeRecord(int32_t type, int32_t mode, intptr_t p1, intptr_t p2, const void* bytes,
                               size_t length);

    std::list<Listener> m_listeners; // head first; nodes stay put while a delivery walks the list
    std::list<QueueEntry> m_queue;
    int m_deliveryDepth = 0;
    std::vector<std::vector<cmcEvAns>*> m_asks; // answers of the answered sends under way, innermost last
    std::function<void()> m_windowOrderDuty;
    cmcTask::Ptr m_task;
};

#pragma once
// The single-instance rule: a named, per-session lock that only the first process of the application
// gets. The desktop program implements it with a lock file in the runtime folder; dropping the object
// releases the lock.
class cmcInstanceLock {
public:
    virtual ~cmcInstanceLock() = default;

    // Takes the lock; false when another process holds it or it cannot be created.
    virtual bool TryLock() = 0;
};

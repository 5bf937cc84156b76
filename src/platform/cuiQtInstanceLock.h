#pragma once
// The single-instance lock of the desktop program: a lock file in the user's runtime folder named
// after the lock name. A lock left by a process that no longer runs is taken over.
#include "app/cmcInstanceLock.h"

#include <QString>
#include <memory>

class QLockFile;

class cuiQtInstanceLock : public cmcInstanceLock {
public:
    // folder empty: the runtime folder (XDG_RUNTIME_DIR), else the temporary folder.
    explicit cuiQtInstanceLock(const QString& name, const QString& folder = QString());
    ~cuiQtInstanceLock() override;

    bool TryLock() override;
    QString FilePath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

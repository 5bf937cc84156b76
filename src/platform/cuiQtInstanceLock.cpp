#include "platform/cuiQtInstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

cuiQtInstanceLock::cuiQtInstanceLock(const QString& name, const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QString file = name;
    file.replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_'));
    m_path = dir + QLatin1Char('/') + file + QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a dead owner makes the lock stale, never its age: a long session keeps its lock.
    m_lock->setStaleLockTime(0);
}

cuiQtInstanceLock::~cuiQtInstanceLock() = default;

bool cuiQtInstanceLock::TryLock() {
    return m_lock->isLocked() || m_lock->tryLock(0);
}

#include "QtInstanceLock.h"

#include <QDir>
#include <QFileInfo>

QtInstanceLock::QtInstanceLock(const QString& path) : m_lock(path) {
    // The owner's process id is checked, so only a crashed owner's lock is stale.
    m_lock.setStaleLockTime(0);
}

bool QtInstanceLock::acquire() {
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    return m_lock.tryLock(0);
}

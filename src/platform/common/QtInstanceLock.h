#pragma once
// One instance per user: a lock file in the user's runtime folder. A lock
// whose owner is gone (a crash) is taken over.
#include "platform/IInstanceLock.h"

#include <QLockFile>
#include <QString>

class QtInstanceLock : public IInstanceLock {
public:
    explicit QtInstanceLock(const QString& path);
    bool acquire() override;

private:
    QLockFile m_lock;
};

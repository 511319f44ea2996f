#pragma once
// "Is an earlier instance of this program running for this user?"

class IInstanceLock {
public:
    virtual ~IInstanceLock() = default;
    // Takes the per-user lock; false when another live instance holds it.
    // A lock left behind by a crashed instance does not count.
    virtual bool acquire() = 0;
};

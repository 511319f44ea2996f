#pragma once
// An instance lock that is free or taken as the test says.
#include "platform/IInstanceLock.h"

class FakeInstanceLock : public IInstanceLock {
public:
    bool acquire() override { return !taken; }
    bool taken = false;
};

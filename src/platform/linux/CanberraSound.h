#pragma once
// System event sounds through libcanberra and the freedesktop sound theme.
#include "platform/ISound.h"

struct ca_context;

class CanberraSound : public ISound {
public:
    CanberraSound();
    ~CanberraSound() override;
    CanberraSound(const CanberraSound&) = delete;
    CanberraSound& operator=(const CanberraSound&) = delete;

    bool playEvent(const std::string& alias) override;

    // The sound theme's event id for an alias, or "" when there is none.
    static const char* eventId(const std::string& alias);

private:
    ca_context* m_context = nullptr;
};

#pragma once
// System event sounds through libcanberra and the freedesktop sound theme.
// The library and its decoders are loaded with the first sound, not at
// start-up: most sessions never play one, and loading them costs the
// resident process some 330 KB.
#include "DynamicLibrary.h"
#include "platform/ISound.h"

#include <memory>
#include <string>

struct ca_context;

class CanberraSound : public ISound {
public:
    // library: the file to load, the system's libcanberra unless a test
    // names another.
    explicit CanberraSound(std::string library = "libcanberra.so.0") : m_libraryName(std::move(library)) {}
    ~CanberraSound() override;
    CanberraSound(const CanberraSound&) = delete;
    CanberraSound& operator=(const CanberraSound&) = delete;

    // False when the event has no sound, or the library or the sound
    // server cannot be had.
    bool playEvent(const std::string& alias) override;

    // The sound theme's event id for an alias, or "" when there is none.
    static const char* eventId(const std::string& alias);

private:
    bool open();

    using PlayFunction = int (*)(ca_context*, unsigned, ...);
    using DestroyFunction = int (*)(ca_context*);
    std::string m_libraryName;
    std::unique_ptr<DynamicLibrary> m_library; // loaded by the first sound
    ca_context* m_context = nullptr;
    PlayFunction m_play = nullptr;
    DestroyFunction m_destroy = nullptr;
};

#include "CanberraSound.h"

#include <canberra.h>

CanberraSound::~CanberraSound() {
    if (m_context) {
        m_destroy(m_context);
    }
}

bool CanberraSound::open() {
    if (m_library) {
        return m_context != nullptr;
    }
    // Once a sound has played the library stays: it loads its sound server
    // module itself and keeps it in its own globals.
    m_library = std::make_unique<DynamicLibrary>(m_libraryName, DynamicLibrary::Unload::Never);
    int (*create)(ca_context**) = nullptr;
    int (*changeProps)(ca_context*, ...) = nullptr;
    if (!m_library->bind("ca_context_create", create) ||
        !m_library->bind("ca_context_change_props", changeProps) ||
        !m_library->bind("ca_context_play", m_play) || !m_library->bind("ca_context_destroy", m_destroy) ||
        create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        return false;
    }
    changeProps(m_context, CA_PROP_APPLICATION_NAME, "Trafalo", nullptr);
    return true;
}

const char* CanberraSound::eventId(const std::string& alias) {
    if (alias == "SystemHand") {
        return "dialog-error";
    }
    if (alias == "SystemExclamation") {
        return "dialog-warning";
    }
    if (alias == "SystemAsterisk") {
        return "dialog-information";
    }
    if (alias == "SystemQuestion") {
        return "dialog-question";
    }
    return "";
}

bool CanberraSound::playEvent(const std::string& alias) {
    const char* id = eventId(alias);
    if (*id == '\0' || !open()) {
        return false;
    }
    // ca_context_play returns at once; the sound plays in the background.
    return m_play(m_context, 0, CA_PROP_EVENT_ID, id, nullptr) == CA_SUCCESS;
}

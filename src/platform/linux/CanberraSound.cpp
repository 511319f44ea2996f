#include "CanberraSound.h"

#include <canberra.h>

CanberraSound::CanberraSound() {
    if (ca_context_create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        return;
    }
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Trafalo", nullptr);
}

CanberraSound::~CanberraSound() {
    if (m_context) {
        ca_context_destroy(m_context);
    }
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
    if (!m_context || *id == '\0') {
        return false;
    }
    // ca_context_play returns at once; the sound plays in the background.
    return ca_context_play(m_context, 0, CA_PROP_EVENT_ID, id, nullptr) == CA_SUCCESS;
}

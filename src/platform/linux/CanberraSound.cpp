#include "CanberraSound.h"

#include <canberra.h>
#include <dlfcn.h>

namespace {

template <typename Function> Function symbol(void* library, const char* name) {
    // dlsym hands functions back as data pointers.
    return reinterpret_cast<Function>(dlsym(library, name));
}

} // namespace

CanberraSound::~CanberraSound() {
    if (m_context) {
        m_destroy(m_context);
    }
    if (m_library) {
        dlclose(m_library);
    }
}

bool CanberraSound::open() {
    if (m_tried) {
        return m_context != nullptr;
    }
    m_tried = true;
    m_library = dlopen(m_libraryName.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!m_library) {
        return false;
    }
    const auto create = symbol<int (*)(ca_context**)>(m_library, "ca_context_create");
    const auto changeProps = symbol<int (*)(ca_context*, ...)>(m_library, "ca_context_change_props");
    m_play = symbol<PlayFunction>(m_library, "ca_context_play");
    m_destroy = symbol<DestroyFunction>(m_library, "ca_context_destroy");
    if (!create || !changeProps || !m_play || !m_destroy || create(&m_context) != CA_SUCCESS) {
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

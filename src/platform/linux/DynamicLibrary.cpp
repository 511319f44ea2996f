#include "DynamicLibrary.h"

#include <dlfcn.h>

DynamicLibrary::DynamicLibrary(const std::string& file, Unload unload)
    : m_handle(dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL | (unload == Unload::Never ? RTLD_NODELETE : 0))) {
}

DynamicLibrary::~DynamicLibrary() {
    if (m_handle) {
        dlclose(m_handle);
    }
}

void* DynamicLibrary::symbol(const char* name) const {
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

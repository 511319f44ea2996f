#pragma once
// A shared library loaded at run time, for libraries the program needs only
// now and then: unloaded with this object, or kept once loaded.
#include <string>

class DynamicLibrary {
public:
    // Keep: a library whose own state (threads, connections, modules it
    // loaded) outlives what the program can release; unloading it would
    // strand that state.
    enum class Unload { WithThis, Never };
    explicit DynamicLibrary(const std::string& file, Unload unload = Unload::WithThis);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool loaded() const { return m_handle != nullptr; }
    // Points function at the library's symbol of that name; false when the
    // library is not loaded or has no such symbol.
    template <typename Function> bool bind(const char* name, Function& function) const {
        // The loader hands functions back as data pointers.
        function = reinterpret_cast<Function>(symbol(name));
        return function != nullptr;
    }

private:
    void* symbol(const char* name) const;

    void* m_handle = nullptr;
};

#pragma once
// A shared library loaded at run time, for libraries the program needs only
// now and then: it is unloaded with this object.
#include <string>

class DynamicLibrary {
public:
    explicit DynamicLibrary(const std::string& file);
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

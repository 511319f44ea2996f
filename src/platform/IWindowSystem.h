#pragma once
// What the display server knows of the program's windows.
#include <cstdint>
#include <optional>

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    // Where the display server has the top-left corner of a top-level native
    // window, in its own (device) pixels; nothing where no server can say
    // (a Wayland session without XWayland, no display).
    virtual std::optional<ScreenPoint> placeOf(std::uintptr_t nativeWindow) const = 0;
};

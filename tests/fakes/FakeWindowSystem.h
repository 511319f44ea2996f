#pragma once
#include "platform/IWindowSystem.h"

// The display server's answer is set by the test; none by default (as on
// Wayland), where the window's own idea of its place stands.
class FakeWindowSystem : public IWindowSystem {
public:
    std::optional<ScreenPoint> placeOf(std::uintptr_t) const override { return place; }
    std::optional<ScreenPoint> place;
};

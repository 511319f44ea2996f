#pragma once
// The X server's view of the program's windows, through the connection the
// window system plugin opened; nothing on other platforms (Wayland).
#include "platform/IWindowSystem.h"

class X11WindowSystem : public IWindowSystem {
public:
    std::optional<ScreenPoint> placeOf(std::uintptr_t nativeWindow) const override;
};

#pragma once
// The X server's view of the program's windows, through the connection the
// window system plugin opened; nothing on other platforms (Wayland).
#include "platform/IWindowSystem.h"

class X11WindowSystem : public IWindowSystem {
public:
    std::optional<ScreenPoint> placeOf(std::uintptr_t nativeWindow) const override;
    // Pictures go to the X server through its socket. The window's largest
    // repaint (the Normal graph, 110 KB) leaves the socket's default buffer
    // too full for the next request to be written at once, which costs a
    // second wake-up a second: the buffer is raised as far as the system
    // allows (net.core.wmem_max), up to what fits a frame.
    static void fitFramesInTheSendBuffer();
};

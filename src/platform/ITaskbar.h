#pragma once
// The desktop's taskbar (its panel): whether it hides itself.
#include <cstdint>

class ITaskbar {
public:
    virtual ~ITaskbar() = default;
    // The app-bar state: 1 (auto-hide) when the panel hides itself, 0 when it
    // does not or when the desktop offers no way to tell.
    virtual std::uint32_t getState() = 0;
    // Sets auto-hide on when the state has bit 1, off otherwise; nothing on a
    // desktop that offers no way. Both may wait on the desktop's services for
    // a few seconds: callers keep them off the window's thread.
    virtual void setState(std::uint32_t state) = 0;
    // Shows or hides the taskbar's window outright.
    virtual void showWindow(bool visible) = 0;
};

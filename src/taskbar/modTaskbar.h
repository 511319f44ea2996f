#pragma once
// "Toggle Taskbar": the taskbar's own state decides each toggle.
#include "platform/ITaskbar.h"

#include <array>
#include <cstdint>

inline constexpr std::uint32_t ABS_AUTOHIDE = 1, ABS_ALWAYSONTOP = 2;

// Any state bit set: auto-hide off (always on top) and the taskbar shown;
// none: auto-hide on, and the window hidden too unless keepVisible.
void ToggleTaskbar(ITaskbar& taskbar, bool keepVisible);

// The 36-byte app-bar record, little-endian 32-bit fields: size, window,
// callback message, edge, left, top, right, bottom, parameter.
struct AppBarData {
    std::uint32_t cbSize = 0, hWnd = 0, uCallbackMessage = 0, uEdge = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    std::uint32_t lParam = 0;
};
std::array<std::uint8_t, 36> EncodeAppBarData(const AppBarData& data);

#include "taskbar/modTaskbar.h"

void ToggleTaskbar(ITaskbar& taskbar, bool keepVisible) {
    if (taskbar.getState() != 0) {
        taskbar.setState(ABS_ALWAYSONTOP);
        taskbar.showWindow(true);
    } else {
        taskbar.setState(ABS_AUTOHIDE | ABS_ALWAYSONTOP);
        if (!keepVisible) {
            taskbar.showWindow(false);
        }
    }
}

std::array<std::uint8_t, 36> EncodeAppBarData(const AppBarData& d) {
    std::array<std::uint8_t, 36> bytes{};
    const std::uint32_t fields[] = {d.cbSize,
                                    d.hWnd,
                                    d.uCallbackMessage,
                                    d.uEdge,
                                    static_cast<std::uint32_t>(d.left),
                                    static_cast<std::uint32_t>(d.top),
                                    static_cast<std::uint32_t>(d.right),
                                    static_cast<std::uint32_t>(d.bottom),
                                    d.lParam};
    for (std::size_t i = 0; i < 9; ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[i * 4 + b] = static_cast<std::uint8_t>(fields[i] >> (8 * b));
        }
    }
    return bytes;
}

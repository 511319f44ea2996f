#include "tools/TaskbarToggle.h"

#include "tools/modTaskbar.h"

bool TaskbarToggle::takeGesture(Gesture gesture) {
    if (gesture != Gesture::TaskbarAutoHide) {
        return false;
    }
    ToggleTaskbar(m_taskbar, true);
    return true;
}

void TaskbarToggle::mnuToggleTaskbar_Click() {
    // The window is never hidden outright from the menu.
    ToggleTaskbar(m_taskbar, true);
}

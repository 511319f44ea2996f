#include "taskbar/TaskbarToggle.h"

#include "taskbar/modTaskbar.h"

bool TaskbarToggle::takeGesture(Gesture gesture) {
    if (gesture != Gesture::TaskbarAutoHide) {
        return false;
    }
    toggle();
    return true;
}

void TaskbarToggle::mnuToggleTaskbar_Click() {
    toggle();
}

void TaskbarToggle::toggle() {
    // The window is never hidden outright: the menu keeps it, and the
    // gesture does the same.
    m_worker.post([this] { ToggleTaskbar(m_taskbar, true); });
}

#include "launchers/ShellLaunchers.h"

#include "platform/IShell.h"

void ShellLaunchers::addMenuItems(MenuBuilder& menu) {
    menu.add(MenuItem("mnuTaskManager", "Task Manager", [this](std::int16_t) { mnuTaskManager_Click(); }));
}

bool ShellLaunchers::takeGesture(Gesture gesture) {
    switch (gesture) {
    case Gesture::TaskManager:
        mnuTaskManager_Click();
        return true;
    case Gesture::FileManager:
        m_shell.openFileManager();
        return true;
    default:
        return false;
    }
}

void ShellLaunchers::mnuTaskManager_Click() {
    m_shell.openTaskManager();
}

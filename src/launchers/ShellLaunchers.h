#pragma once
// The desktop's own tools started from the widget: the task manager (menu
// item, Ctrl with a double click, the Tiny meters) and the file manager (Alt
// with a double click).
#include "core/Feature.h"

class IShell;

class ShellLaunchers : public Feature {
public:
    explicit ShellLaunchers(IShell& shell) : m_shell(shell) {}

    void addMenuItems(MenuBuilder& menu) override;
    bool takeGesture(Gesture gesture) override;

    void mnuTaskManager_Click();

private:
    IShell& m_shell;
};

#pragma once
// "Toggle Taskbar" and the Tiny layout's Ctrl gesture.
#include "core/Feature.h"

class ITaskbar;

class TaskbarToggle : public Feature {
public:
    explicit TaskbarToggle(ITaskbar& taskbar) : m_taskbar(taskbar) {}

    void addMenuItems(MenuBuilder& menu) override {
        menu.add(MenuItem("mnuToggleTaskbar", "Toggle Taskbar"));
    }
    bool ownsCommand(std::string_view name) const override { return name == "mnuToggleTaskbar"; }
    void runCommand(std::string_view, std::int16_t) override { mnuToggleTaskbar_Click(); }
    bool takeGesture(Gesture gesture) override;

    void mnuToggleTaskbar_Click();

private:
    ITaskbar& m_taskbar;
};

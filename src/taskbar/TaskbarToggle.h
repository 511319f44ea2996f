#pragma once
// "Toggle Taskbar" and the Tiny layout's Ctrl gesture. The panel is asked and
// set off the window's thread: a desktop service that is slow or stalled
// holds up only the toggle, never the graph.
#include "core/Feature.h"
#include "platform/common/SerialWorker.h"

class ITaskbar;

class TaskbarToggle : public Feature {
public:
    explicit TaskbarToggle(ITaskbar& taskbar) : m_taskbar(taskbar) {}

    void addMenuItems(MenuBuilder& menu) override {
        menu.add(MenuItem("mnuToggleTaskbar", "Toggle Taskbar",
                          [this](std::int16_t) { mnuToggleTaskbar_Click(); }));
    }
    bool takeGesture(Gesture gesture) override;
    // Waits for a toggle under way; toggles asked for after it are dropped.
    void stop() override { m_worker.stop(); }

    void mnuToggleTaskbar_Click();
    // Returns once the toggles asked for so far are done.
    void waitForToggles() { m_worker.drain(); }

private:
    void toggle();

    ITaskbar& m_taskbar;
    SerialWorker m_worker; // last member: stopped before the rest goes
};

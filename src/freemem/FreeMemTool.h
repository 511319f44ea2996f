#pragma once
// The main window's "Free Memory" command and its gestures: open the Free
// Memory window (loading it the first time), free the amount of
// "AutoFreeMemMB" read at start-up, then leave the window's slider at the
// memory now available. The window stays loaded after the main window
// unloads, until its own Exit.
#include "core/Feature.h"
#include "freemem/FreeMemServices.h"

#include <QPointer>
#include <cstdint>

class formFreeMem;

class FreeMemTool : public Feature {
public:
    FreeMemTool(FreeMemServices system, int versionMajor, int versionMinor);
    ~FreeMemTool() override;

    void start(const StartupSettings& settings) override;
    void addMenuItems(MenuBuilder& menu) override;
    bool takeGesture(Gesture gesture) override;

    void mnuFreeMem_Click();
    // The window, loaded on first use; nullptr before and after it unloads.
    formFreeMem* Window() const;
    // Loads the window when it is not loaded.
    formFreeMem& Load();

private:
    FreeMemServices m_system;
    int m_major;
    int m_minor;
    std::int32_t m_autoFreeMemMB = 10;
    QPointer<formFreeMem> m_window;
};

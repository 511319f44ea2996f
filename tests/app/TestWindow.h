#pragma once
// The main window as the tests drive it: a notification area that is always
// there (offscreen has none) and no modifier keys held unless a test says so.
#include "app/frmMain.h"
#include "tray/TrayIcon.h"

class TestWindow : public frmMain {
public:
    explicit TestWindow(Platform& platform) : frmMain(platform) {
        Tray().Available = [this] { return trayAvailable; };
        KeyState = [] { return Qt::KeyboardModifiers(); };
    }
    bool trayAvailable = true;
};

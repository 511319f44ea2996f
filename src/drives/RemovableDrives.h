#pragma once
// The drive tools of the main window: "Eject All USB devices" (the menu and
// the Tiny layout's Shift gesture) and the letters excluded from it.
#include "core/Feature.h"
#include "drives/UsbDrives.h"

#include <QObject>
#include <functional>

class IAlert;
struct Platform;

class RemovableDrives : public Feature {
public:
    RemovableDrives(Platform& platform, IAlert& alert, std::function<Keys()> keyState);

    void start(const StartupSettings& settings) override;
    void addMenuItems(MenuBuilder& menu) override;
    bool ownsCommand(std::string_view name) const override;
    void runCommand(std::string_view name, std::int16_t index) override;
    bool takeGesture(Gesture gesture) override;

    // Ejects every USB drive, one after the other; ignored while one runs.
    void mnuEjectAllUSB_Click();
    void mnuExcludeDrive_Click(std::int16_t Index);

    UsbDrives& usbDrives() { return m_usb; }

private:
    Platform& m_platform;
    IAlert& m_alert;
    std::function<Keys()> m_keyState;
    UsbDrives m_usb;
    QObject m_context; // guards the ejection across the window's end
};

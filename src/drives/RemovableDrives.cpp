#include "drives/RemovableDrives.h"

#include "core/LongOperation.h"
#include "core/SettingsKeys.h"
#include "platform/Platform.h"

RemovableDrives::RemovableDrives(Platform& platform, IAlert& alert, std::function<Keys()> keyState)
    : m_platform(platform), m_alert(alert), m_keyState(std::move(keyState)), m_usb(*platform.drives) {}

void RemovableDrives::start(const StartupSettings& settings) {
    m_usb.ExcludedDriveLetters = settings.excludedDriveLetters;
}

void RemovableDrives::addMenuItems(MenuBuilder& menu) {
    menu.add(MenuItem("mnuEjectAllUSB", "Eject All USB devices"));
    MenuNode exclude = MenuItem("mnuExcludeDrives", "Exclude Drive Letters from Eject", m_keyState().alt);
    for (std::int16_t index = 0; index < 26; ++index) {
        const char letter = static_cast<char>('A' + index);
        MenuNode item = MenuToggle("mnuExcludeDrive", std::string(1, letter) + ":",
                                   m_usb.ExcludedDriveLetters.find(letter) != std::string::npos);
        item.index = index;
        exclude.children.push_back(std::move(item));
    }
    menu.add(std::move(exclude));
}

bool RemovableDrives::ownsCommand(std::string_view name) const {
    return name == "mnuEjectAllUSB" || name == "mnuExcludeDrive";
}

void RemovableDrives::runCommand(std::string_view name, std::int16_t index) {
    if (name == "mnuEjectAllUSB") {
        mnuEjectAllUSB_Click();
    } else {
        mnuExcludeDrive_Click(index);
    }
}

bool RemovableDrives::takeGesture(Gesture gesture) {
    if (gesture != Gesture::EjectAll) {
        return false;
    }
    mnuEjectAllUSB_Click();
    return true;
}

void RemovableDrives::mnuEjectAllUSB_Click() {
    auto operation = LongOperation::Begin(&m_context, "eject");
    if (!operation) {
        return; // one run at a time: the drives are still being worked on
    }
    EjectContext context{*m_platform.drives, *m_platform.clock, m_alert,
                         [&operation](int maxMs) { return operation->Wait(maxMs); }};
    m_usb.EjectAllUsbDrives(context);
}

void RemovableDrives::mnuExcludeDrive_Click(std::int16_t Index) {
    if (Index < 0 || Index > 25) {
        return;
    }
    const char letter = static_cast<char>('A' + Index);
    // The check mark shows whether the letter is in the list.
    const bool checked = m_usb.ExcludedDriveLetters.find(letter) == std::string::npos;
    m_usb.ExcludedDriveLetters = ToggleExcludedLetter(m_usb.ExcludedDriveLetters, letter, checked);
    m_platform.settings->set(kAppName, kAppSection, kKeyExcludedDriveLetters, m_usb.ExcludedDriveLetters);
}

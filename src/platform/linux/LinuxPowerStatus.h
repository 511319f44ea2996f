#pragma once
// Power from the kernel's power-supply class: mains "online", batteries'
// "capacity" (or energy/charge now over full).
#include "platform/IPowerStatus.h"

#include <string>

class LinuxPowerStatus : public IPowerStatus {
public:
    // root: the power-supply folder, /sys/class/power_supply on a real system.
    explicit LinuxPowerStatus(std::string root = "/sys/class/power_supply");
    // No battery gives percent 255; no mains supply listed counts as online
    // when there is no battery either (a desktop machine).
    std::optional<PowerStatus> read() override;

private:
    std::string m_root;
};

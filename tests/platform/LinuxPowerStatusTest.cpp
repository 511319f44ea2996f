// Power read from fixture trees laid out like /sys/class/power_supply.
#include "platform/linux/LinuxPowerStatus.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace {

using Supply = std::map<std::string, std::string>; // file -> content

struct PowerCase {
    const char* what;
    std::map<std::string, Supply> supplies;
    PowerStatus expected;
};

TEST(LinuxPowerStatus, ReadsMainsAndBatteries) {
    const PowerCase cases[] = {
        {"desktop, nothing listed", {}, {1, 255}},
        {"mains only, online", {{"AC", {{"type", "Mains"}, {"online", "1"}}}}, {1, 255}},
        {"laptop charging",
         {{"AC", {{"type", "Mains"}, {"online", "1\n"}}},
          {"BAT0", {{"type", "Battery\n"}, {"capacity", "87\n"}, {"status", "Charging\n"}}}},
         {1, 87}},
        {"laptop on battery",
         {{"ADP1", {{"type", "Mains"}, {"online", "0"}}},
          {"BAT0", {{"type", "Battery"}, {"capacity", "40"}}}},
         {0, 40}},
        {"energy now over full",
         {{"BAT1", {{"type", "Battery"}, {"energy_now", "30000"}, {"energy_full", "60000"}}}},
         {0, 50}},
        {"charge now over full, charging, no mains listed",
         {{"BAT1",
           {{"type", "Battery"}, {"charge_now", "900"}, {"charge_full", "1000"}, {"status", "Charging"}}}},
         {1, 90}},
        {"two batteries average",
         {{"BAT0", {{"type", "Battery"}, {"capacity", "100"}}},
          {"BAT1", {{"type", "Battery"}, {"capacity", "50"}}}},
         {0, 75}},
        {"absent battery and a mouse battery without figures",
         {{"BAT0", {{"type", "Battery"}, {"present", "0"}, {"capacity", "10"}}},
          {"hidpp_battery_0", {{"type", "Battery"}, {"status", "Discharging"}}}},
         {1, 255}},
        {"a wireless mouse's battery on a desktop",
         {{"hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device\n"}, {"capacity", "40"}}}},
         {1, 255}},
        {"the system's battery beside a mouse's",
         {{"BAT0", {{"type", "Battery"}, {"scope", "System"}, {"capacity", "80"}}},
          {"hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "40"}}}},
         {0, 80}},
        {"garbage capacity", {{"BAT0", {{"type", "Battery"}, {"capacity", "lots"}}}}, {1, 255}},
        {"capacity out of range", {{"BAT0", {{"type", "Battery"}, {"capacity", "250"}}}}, {0, 100}},
    };
    for (const PowerCase& c : cases) {
        QTemporaryDir dir;
        const std::filesystem::path root = dir.path().toStdString();
        for (const auto& [name, files] : c.supplies) {
            std::filesystem::create_directories(root / name);
            for (const auto& [file, content] : files) {
                std::ofstream(root / name / file) << content;
            }
        }
        LinuxPowerStatus power(root.string());
        const auto status = power.read();
        ASSERT_TRUE(status) << c.what;
        EXPECT_EQ(status->acLineStatus, c.expected.acLineStatus) << c.what;
        EXPECT_EQ(status->batteryLifePercent, c.expected.batteryLifePercent) << c.what;
    }
    LinuxPowerStatus missing("/nonexistent/power_supply");
    EXPECT_EQ(missing.read()->batteryLifePercent, 255);
}

} // namespace

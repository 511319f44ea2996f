#include "LinuxPowerStatus.h"

#include "FileReader.h"

#include <algorithm>
#include <charconv>
#include <dirent.h>
#include <vector>

namespace {

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

std::optional<long long> number(const std::string& path) {
    std::string text;
    if (!ReadSmallFile(path.c_str(), text, 64)) {
        return std::nullopt;
    }
    text = trimmed(text);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A battery's charge in percent: "capacity", else energy or charge now over full.
std::optional<int> batteryPercent(const std::string& folder) {
    if (const auto capacity = number(folder + "/capacity")) {
        return static_cast<int>(std::clamp<long long>(*capacity, 0, 100));
    }
    for (const char* kind : {"energy", "charge"}) {
        const auto now = number(folder + "/" + kind + "_now");
        const auto full = number(folder + "/" + kind + "_full");
        if (now && full && *full > 0) {
            return static_cast<int>(std::clamp<long long>(*now * 100 / *full, 0, 100));
        }
    }
    return std::nullopt;
}

// Only the machine's own batteries: a wireless mouse or headset reports its
// battery as scope "Device" and must not pass for the laptop's charge.
bool countsForSystem(const std::string& folder) {
    const std::string scope = ReadWordFile(folder + "/scope");
    return scope.empty() || scope == "System";
}

} // namespace

LinuxPowerStatus::LinuxPowerStatus(std::string root) : m_root(std::move(root)) {}

std::optional<PowerStatus> LinuxPowerStatus::read() {
    DIR* dir = ::opendir(m_root.c_str());
    if (!dir) {
        return PowerStatus{1, 255}; // no power-supply class: a desktop machine on mains
    }
    std::vector<std::string> supplies;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.') {
            supplies.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    std::sort(supplies.begin(), supplies.end());

    bool mainsListed = false;
    bool mainsOnline = false;
    int batteries = 0;
    long long percentSum = 0;
    bool charging = false;
    for (const std::string& name : supplies) {
        const std::string folder = m_root + "/" + name;
        const std::string type = ReadWordFile(folder + "/type");
        if (type == "Mains") {
            mainsListed = true;
            mainsOnline = mainsOnline || number(folder + "/online").value_or(0) != 0;
        } else if (type == "Battery" && number(folder + "/present").value_or(1) != 0 &&
                   countsForSystem(folder)) {
            if (const auto percent = batteryPercent(folder)) {
                ++batteries;
                percentSum += *percent;
                charging = charging || ReadWordFile(folder + "/status") == "Charging";
            }
        }
    }
    PowerStatus status;
    if (batteries == 0) {
        status.batteryLifePercent = 255;
        status.acLineStatus = (!mainsListed || mainsOnline) ? 1 : 0;
        return status;
    }
    status.batteryLifePercent = static_cast<std::uint8_t>(percentSum / batteries);
    status.acLineStatus = (mainsListed ? mainsOnline : charging) ? 1 : 0;
    return status;
}

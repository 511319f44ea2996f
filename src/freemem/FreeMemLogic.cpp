#include "freemem/FreeMemLogic.h"

#include "core/SettingsText.h"

#include <algorithm>

namespace {

double usage(std::int64_t available, std::int64_t total) {
    return total > 0 ? 1.0 - static_cast<double>(available) / static_cast<double>(total) : 0.0;
}

} // namespace

std::string FreeMemStatusLine(const MemoryStatus& s, const NumberSeparators& sep) {
    return "Free: " + FormatNumber(static_cast<double>(s.AvailPhys) / kMiB, "###0.0 MB", sep) +
           " - Usage: " + FormatNumber(usage(s.AvailPhys, s.TotalPhys), "#0.0%", sep) + " of " +
           FormatNumber(static_cast<double>(s.TotalPhys) / kMiB, "#0.0", sep) + " MB";
}

std::string FreeMemStatusTip(const MemoryStatus& s, const NumberSeparators& sep) {
    return "Free: " + FormatNumber(static_cast<double>(s.AvailPhys) / 1024, "#,##0.0 KB", sep);
}

std::string FreeMemTitle(const MemoryStatus& s, int major, int minor, const NumberSeparators& sep) {
    return FormatNumber(static_cast<double>(s.AvailPhys) / kMiB, "###0.0", sep) + "MB Free Memory v" +
           std::to_string(major) + "." + std::to_string(minor);
}

std::string FreeMemTrayTip(const std::string& title, const MemoryStatus& s, const NumberSeparators& sep) {
    return title + "\nUsage: " + FormatNumber(usage(s.AvailPhys, s.TotalPhys), "#0.0%", sep);
}

std::string MeterToolTip(const MemoryStatus& s, const NumberSeparators& sep) {
    return "Usage: " + FormatNumber(usage(s.AvailPhys, s.TotalPhys), "0%", sep) + " RAM  - " +
           FormatNumber(usage(s.AvailVirtual, s.TotalVirtual), "0%", sep) + " Virtual Memory  - " +
           FormatNumber(usage(s.AvailPageFile, s.TotalPageFile), "0%", sep) + " Page File";
}

int MeterY(std::int64_t available, std::int64_t total, int height) {
    if (total <= 0) {
        return 0;
    }
    const double y = static_cast<double>(available) / static_cast<double>(total) * height;
    return static_cast<int>(std::clamp(y + 0.5, 0.0, static_cast<double>(height)));
}

std::string FreeButtonCaption(std::int32_t megabytes) {
    return "Free " + std::to_string(megabytes) + " MB";
}

std::optional<std::int16_t> FreeSliderMaximum(const MemoryStatus& s) {
    if (s.TotalPhys <= 0) {
        return std::nullopt;
    }
    const std::int64_t megabytes = (s.TotalPhys - s.AvailPhys / 2) / kMiB;
    if (megabytes < 0 || megabytes > 32767) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(megabytes);
}

bool TrayModeRequested(const std::vector<std::string>& arguments, std::string_view storedFreeMemTray) {
    for (const std::string& argument : arguments) {
        if (LowerAscii(argument).find("/tray") != std::string::npos) {
            return true;
        }
    }
    return ParseInt32(storedFreeMemTray) == 1;
}

std::int16_t SetupSliderValue(std::string_view stored, std::int16_t minimum, std::int16_t maximum,
                              std::int16_t design) {
    const std::optional<std::int32_t> value = ParseInt32(stored);
    return value && *value >= minimum && *value <= maximum ? static_cast<std::int16_t>(*value) : design;
}

std::int64_t ClaimFloor(std::int64_t totalPhys) {
    return std::max(totalPhys / 20, 256 * kMiB);
}

bool MayClaim(std::int64_t available, std::int64_t blockBytes, std::int64_t floor) {
    return available - blockBytes >= floor;
}

bool AtPeak(std::int32_t peakPercent, const MemoryStatus& s) {
    // 1 - peak / 100 >= available / total, kept in whole numbers: equality triggers.
    return s.TotalPhys > 0 &&
           (100 - static_cast<std::int64_t>(peakPercent)) * s.TotalPhys >= s.AvailPhys * 100;
}

bool AutoFreeTrigger::ShouldRun(bool checked, bool windowVisible, std::int32_t peakPercent,
                                const MemoryStatus& s, std::int64_t nowMs) {
    const bool atPeak = AtPeak(peakPercent, s);
    if (m_holding && (!atPeak || nowMs - m_heldSince >= kAutoFreeHoldOffMs)) {
        m_holding = false;
    }
    return checked && !windowVisible && atPeak && !m_holding;
}

void AutoFreeTrigger::Ran(bool stillAtPeak, std::int64_t nowMs) {
    m_holding = stillAtPeak;
    m_heldSince = nowMs;
}

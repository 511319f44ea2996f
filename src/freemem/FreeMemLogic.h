#pragma once
// The Free Memory tool's rules, apart from its windows: the status texts, the
// slider's range, tray mode, the setup's values, how much may be claimed
// without starving the machine, and when an automatic free runs. Plain C++.
#include "core/NumberFormat.h"
#include "metrics/MemoryStatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::int64_t kMiB = 1048576;

// "Free: 3072.0 MB - Usage: 25.0% of 4096.0 MB"; its tooltip "Free: 3,145,728.0 KB".
std::string FreeMemStatusLine(const MemoryStatus& s, const NumberSeparators& separators = {});
std::string FreeMemStatusTip(const MemoryStatus& s, const NumberSeparators& separators = {});
// "3072.0MB Free Memory v0.1", and the tray icon's tooltip: the title, a line
// feed and "Usage: 25.0%".
std::string FreeMemTitle(const MemoryStatus& s, int major, int minor,
                         const NumberSeparators& separators = {});
std::string FreeMemTrayTip(const std::string& title, const MemoryStatus& s,
                           const NumberSeparators& separators = {});
// The meter graph's tooltip: RAM, virtual memory and page file in use.
std::string MeterToolTip(const MemoryStatus& s, const NumberSeparators& separators = {});
// The row of a trace for available of total on a graph of height rows (0 = full).
int MeterY(std::int64_t available, std::int64_t total, int height);
// "Free 500 MB".
std::string FreeButtonCaption(std::int32_t megabytes);

// The slider's maximum in MB: (total - available / 2) / MiB; none when it does
// not fit 16 bits or the total is unknown (the maximum then stays).
std::optional<std::int16_t> FreeSliderMaximum(const MemoryStatus& s);

// Tray mode: "/tray" in any letter case among the arguments (the program's own
// path is not one of them), or the stored "FreeMemTray" reading 1.
bool TrayModeRequested(const std::vector<std::string>& arguments, std::string_view storedFreeMemTray);

// A setup slider's start value: the stored text as a whole number when it lies
// in [minimum, maximum], else the design value.
std::int16_t SetupSliderValue(std::string_view stored, std::int16_t minimum, std::int16_t maximum,
                              std::int16_t design);

// Claiming stops while the memory that would be left falls below a floor:
// the larger of 5 % of RAM and 256 MiB. Linux grants allocations it cannot
// back and then ends programs to recover, so the machine, not the allocator,
// has to say when to stop. available is the lower of the system's available
// memory and the headroom of this process's cgroup.
std::int64_t ClaimFloor(std::int64_t totalPhys);
bool MayClaim(std::int64_t available, std::int64_t blockBytes, std::int64_t floor);

// When an automatic free runs: the option checked, the window hidden, RAM in
// use at or above the peak. A free that leaves use at or above the peak holds
// the next one back until use has been below the peak once, or for
// kAutoFreeHoldOffMs, so the window does not pop up every few seconds.
class AutoFreeTrigger {
public:
    static constexpr std::int64_t kAutoFreeHoldOffMs = std::int64_t{5} * 60 * 1000;
    bool ShouldRun(bool checked, bool windowVisible, std::int32_t peakPercent, const MemoryStatus& s,
                   std::int64_t nowMs);
    // After a free: whether use is still at or above the peak.
    void Ran(bool stillAtPeak, std::int64_t nowMs);

private:
    bool m_holding = false;
    std::int64_t m_heldSince = 0;
};
bool AtPeak(std::int32_t peakPercent, const MemoryStatus& s);

#pragma once
// The graph's three histories and the per-sample display entry point.
#include <array>
#include <cstdint>

class TrafficHistory {
public:
    static constexpr std::size_t kSlots = 120;
    using History = std::array<double, kSlots>; // slot 0 the oldest

    History DownloadHistory{};
    History UploadHistory{};
    History CpuHistory{};

    // Empties the two traffic histories (a new interface starts an empty graph).
    void ClearTraffic() {
        DownloadHistory.fill(0);
        UploadHistory.fill(0);
    }

    // Shifts one sample in at the newest end. Returns false, and shifts
    // nothing, when skipNextSample was set: it is cleared instead, so the first
    // sample after start-up is not plotted.
    bool Push(std::int32_t download, std::int32_t upload, std::int32_t cpuPercent, bool& skipNextSample) {
        if (skipNextSample) {
            skipNextSample = false;
            return false;
        }
        shiftIn(DownloadHistory, download);
        shiftIn(UploadHistory, upload);
        shiftIn(CpuHistory, cpuPercent);
        return true;
    }

private:
    static void shiftIn(History& history, double value) {
        for (std::size_t i = 0; i + 1 < kSlots; ++i) {
            history[i] = history[i + 1];
        }
        history[kSlots - 1] = value;
    }
};

#pragma once
// The graph's three histories: 120 slots each, slot 0 the oldest.
#include <array>
#include <cstddef>
#include <cstdint>

class TrafficHistory {
public:
    static constexpr std::size_t kSlots = 120;
    using History = std::array<double, kSlots>;

    History DownloadHistory{};
    History UploadHistory{};
    std::array<std::int32_t, kSlots> CpuHistory{};

    // Empties the two traffic histories (a new interface starts an empty graph).
    void ClearTraffic() {
        DownloadHistory.fill(0);
        UploadHistory.fill(0);
    }

    // Shifts one sample in at slot n - 1 (n shown slots); slots from n on are
    // neither moved nor changed.
    void ShiftTraffic(std::size_t n, double download, double upload) {
        shiftIn(DownloadHistory, n, download);
        shiftIn(UploadHistory, n, upload);
    }
    void ShiftCpu(std::size_t n, std::int32_t percent) { shiftIn(CpuHistory, n, percent); }

private:
    template <typename Slots, typename Value>
    static void shiftIn(Slots& history, std::size_t n, Value value) {
        n = n > kSlots ? kSlots : n;
        if (n == 0) {
            return;
        }
        for (std::size_t i = 0; i + 1 < n; ++i) {
            history[i] = history[i + 1];
        }
        history[n - 1] = value;
    }
};

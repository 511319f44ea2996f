#pragma once
// The sampler and the selection wired to fakes, with a host that records
// what the window was asked to show.
#include "display/TrafficHistory.h"
#include "net/CIpHelper.h"
#include "net/InterfaceSelection.h"
#include "net/TrafficSampler.h"

#include "fakes/FakeClock.h"
#include "fakes/FakeNetworkTable.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSound.h"

#include <map>
#include <string>
#include <vector>

class RecordingHost : public TrafficSampler::Host, public InterfaceSelection::Host {
public:
    void setUpdateTimerEnabled(bool enabled) override {
        events.push_back(enabled ? "timer on" : "timer off");
    }
    void restartResetTimer() override { ++resetRestarts; }
    void lockDrawing(bool) override {}
    void setCaption(TrafficSampler::Label label, const std::string& text) override { captions[label] = text; }
    void setToolTip(TrafficSampler::Label label, const std::string& text) override { toolTips[label] = text; }
    void setLinkSpeedToolTip(const std::string& text) override { linkTip = text; }
    bool soundOnError() override { return sound; }
    void refreshIpAddresses() override { ++ipRefreshes; }
    void refreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) override {
        events.push_back("display " + std::to_string(download) + " " + std::to_string(upload));
        if (*skip) {
            *skip = false;
            return;
        }
        history.ShiftTraffic(TrafficHistory::kSlots, download, upload);
    }
    void clearHistories() override {
        ++historyClears;
        history.ClearTraffic();
    }
    void resetTopSpeeds() override { ++topResets; }
    std::string linkSpeedToolTip() override { return linkTip; }
    void selectionViewsChanged() override {}

    std::string caption(TrafficSampler::Label label) const {
        const auto found = captions.find(label);
        return found == captions.end() ? "<design>" : found->second;
    }

    std::vector<std::string> events;
    std::map<TrafficSampler::Label, std::string> captions, toolTips;
    std::string linkTip;
    bool sound = true;
    int resetRestarts = 0, ipRefreshes = 0, historyClears = 0, topResets = 0;
    TrafficHistory history;
    bool* skip = nullptr;
};

// The sampler and the selection over any interface table.
class SamplerRig {
public:
    explicit SamplerRig(INetworkTable& table) : ipHelper(table) {
        selection.Build();
        selection.SelectSaved();
        sampler.Start("/app/", false, NumberSeparators{});
        host.skip = &sampler.SkipNextSample;
    }
    // One tick a second later.
    void tick() {
        clock.seconds += 1;
        sampler.tmrUpdate_Timer();
    }

    FakeClock clock;
    FakeSettingsStore settings;
    FakeShell shell;
    FakeSound sound;
    RecordingHost host;
    CIpHelper ipHelper;
    InterfaceSelection selection{ipHelper, settings, host};
    TrafficSampler sampler{TrafficSampler::Services{ipHelper, selection, clock, sound, shell}, host};
};

struct FakeTableHolder {
    explicit FakeTableHolder(std::vector<IfRow> rows) { table.rows = std::move(rows); }
    FakeNetworkTable table;
};

// The rig over a fake table the test fills.
class SamplerFixture : public FakeTableHolder, public SamplerRig {
public:
    explicit SamplerFixture(std::vector<IfRow> rows = {FakeNetworkTable::row("eth0")})
        : FakeTableHolder(std::move(rows)), SamplerRig(table) {}
    // Moves the given row's counters and the clock one second on.
    void tick(std::uint64_t in, std::uint64_t out, std::size_t row = 0) {
        table.rows[row].octetsIn = in;
        table.rows[row].octetsOut = out;
        SamplerRig::tick();
    }
};

#pragma once
// Every platform concern as a fake, with three interfaces in the table.
#include "fakes/FakeAutostart.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDrives.h"
#include "fakes/FakeInstanceLock.h"
#include "fakes/FakeMemoryClaim.h"
#include "fakes/FakeNetworkTable.h"
#include "fakes/FakeProcesses.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeSpeakers.h"
#include "fakes/FakeSystemInfo.h"
#include "fakes/FakeTaskbar.h"
#include "fakes/FakeWindowSystem.h"
#include "platform/Platform.h"

class FakeLocalAddress : public ILocalAddress {
public:
    std::string lookup() override { return "192.168.1.10"; }
};

// A page reader that records each fetch and answers when the test says; or,
// loaded false, one whose module could not be loaded.
class FakePageReader : public IPageReader {
public:
    bool fetch(const std::string& url, int, std::int64_t, Done done, std::string& why) override {
        urls.push_back(url);
        if (!loaded) {
            why = "no module";
            return false;
        }
        pending.push_back(std::move(done));
        return true;
    }
    // Answers the oldest fetch still waiting.
    void answer(const std::string& text) {
        Done done = std::move(pending.front());
        pending.erase(pending.begin());
        done(text);
    }
    bool loaded = true;
    std::vector<std::string> urls;
    std::vector<Done> pending;
};

class FakePower : public IPowerStatus {
public:
    std::optional<PowerStatus> read() override { return status; }
    PowerStatus status{1, 255};
};

struct FakePlatform {
    FakePlatform() {
        platform.clock = std::make_unique<FakeClock>();
        platform.network = std::make_unique<FakeNetworkTable>();
        platform.system = std::make_unique<FakeSystemInfo>();
        platform.settings = std::make_unique<FakeSettingsStore>();
        platform.instanceLock = std::make_unique<FakeInstanceLock>();
        platform.shell = std::make_unique<FakeShell>();
        platform.sound = std::make_unique<FakeSound>();
        platform.power = std::make_unique<FakePower>();
        platform.autostart = std::make_unique<FakeAutostart>();
        platform.drives = std::make_unique<FakeDrives>();
        platform.speakers = std::make_unique<FakeSpeakers>();
        platform.processes = std::make_unique<FakeProcesses>();
        platform.taskbar = std::make_unique<FakeTaskbar>();
        platform.localAddress = std::make_unique<FakeLocalAddress>();
        platform.memoryClaim = std::make_unique<FakeMemoryClaim>();
        platform.windows = std::make_unique<FakeWindowSystem>();
        platform.pages = std::make_unique<FakePageReader>();
        table().rows = {FakeNetworkTable::row("Loopback (lo)", 0, 0, 5, 0),
                        FakeNetworkTable::row("Intel Ethernet (eth0)", 2048, 1000, 5, 1000000000),
                        FakeNetworkTable::row("veth (v0)", 0, 0, 2, 0)};
    }
    FakeNetworkTable& table() { return static_cast<FakeNetworkTable&>(*platform.network); }
    FakeSettingsStore& settings() { return static_cast<FakeSettingsStore&>(*platform.settings); }
    FakeSystemInfo& system() { return static_cast<FakeSystemInfo&>(*platform.system); }
    FakeShell& shell() { return static_cast<FakeShell&>(*platform.shell); }
    FakeAutostart& autostart() { return static_cast<FakeAutostart&>(*platform.autostart); }
    FakeSpeakers& speakers() { return static_cast<FakeSpeakers&>(*platform.speakers); }
    FakeWindowSystem& windows() { return static_cast<FakeWindowSystem&>(*platform.windows); }
    FakeDrives& drives() { return static_cast<FakeDrives&>(*platform.drives); }
    FakeMemoryClaim& memory() { return static_cast<FakeMemoryClaim&>(*platform.memoryClaim); }
    FakeClock& clock() { return static_cast<FakeClock&>(*platform.clock); }
    FakePageReader& pages() { return static_cast<FakePageReader&>(*platform.pages); }
    Platform platform;
};

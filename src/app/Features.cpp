#include "app/Features.h"

#include "alert/vbMSNbox.h"
#include "app/WindowCommands.h"
#include "display/GraphView.h"
#include "display/WindowControls.h"
#include "drives/RemovableDrives.h"
#include "freemem/FreeMemTool.h"
#include "ipaddress/IpAddresses.h"
#include "killer/ProcessKiller.h"
#include "launchers/ShellLaunchers.h"
#include "monitor/TrafficMonitor.h"
#include "mute/SpeakerMute.h"
#include "placement/Placement.h"
#include "platform/Platform.h"
#include "taskbar/TaskbarToggle.h"
#include "tray/TrayIcon.h"

namespace {

template <typename T> T* add(FeatureSet& set, std::unique_ptr<T> feature) {
    T* raw = feature.get();
    set.all.push_back(std::move(feature));
    return raw;
}

} // namespace

FeatureSet::FeatureSet() = default;
FeatureSet::FeatureSet(FeatureSet&&) noexcept = default;
FeatureSet& FeatureSet::operator=(FeatureSet&&) noexcept = default;
FeatureSet::~FeatureSet() = default;

FeatureSet MakeFeatures(FeatureContext& c) {
    FeatureSet set;
    // Start-up runs in this order: the interfaces are listed first, the
    // window takes its options and layout, is placed, and may go to the
    // notification area; the sampler starts once all have started.
    Platform& p = c.platform;
    const MonitorServices monitor{*p.network, *p.system, *p.clock,     *p.settings,
                                  *p.sound,   *p.shell,  p.power.get()};
    set.monitor = add(set, std::make_unique<TrafficMonitor>(monitor, c.host, c.controls, c.appFolder));
    set.commands =
        add(set, std::make_unique<WindowCommands>(c.platform, c.host, c.window, c.keyState, c.appFolder));
    set.placement = add(set, std::make_unique<Placement>(c.host, c.window));
    set.tray = add(set, std::make_unique<TrayIcon>(c.host, c.window, *set.monitor));
    add(set, std::make_unique<ShellLaunchers>(*c.platform.shell));
    set.alert = std::make_unique<AlertWindows>(*c.platform.sound);
    add(set, std::make_unique<SpeakerMute>(*c.platform.speakers));
    add(set, std::make_unique<TaskbarToggle>(*c.platform.taskbar));
    add(set, std::make_unique<ProcessKiller>(*c.platform.processes, *c.platform.clock, c.appFolder));
    const FreeMemServices freeMem{*c.platform.settings, *c.platform.system, *c.platform.clock,
                                  *c.platform.shell, c.platform.memoryClaim.get()};
    add(set, std::make_unique<FreeMemTool>(freeMem, TRAFALO_VERSION_MAJOR, TRAFALO_VERSION_MINOR));
    IpAddresses* ip = add(set, std::make_unique<IpAddresses>(*c.platform.settings, *c.platform.pages,
                                                             *c.platform.localAddress, c.host, c.controls));
    set.monitor->RefreshIpAddresses = [ip] { ip->lblIP_DblClick(); };
    const DriveServices drives{*c.platform.drives, *c.platform.clock, *c.platform.settings, *c.platform.shell,
                               *c.platform.speakers};
    add(set, std::make_unique<RemovableDrives>(drives, c.host, c.window, *c.controls.Graph(), *set.alert,
                                               c.keyState));
    return set;
}

#pragma once
// The traffic monitor: the interface table, the watched interface, the
// sampler with its timers, and the readouts and graph it feeds. Owns the
// processor load sampler, the table reader, the selection and the display.
#include "core/Feature.h"
#include "core/NumberFormat.h"
#include "display/TrafficDisplay.h"
#include "display/TrafficPicture.h"
#include "metrics/CPULoad.h"
#include "net/CIpHelper.h"
#include "net/InterfaceSelection.h"
#include "net/TrafficSampler.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class INetworkTable;
class IPowerStatus;
class IShell;
class ISound;
class QLabel;
class WindowControls;

// The parts of the system the monitor uses.
struct MonitorServices {
    INetworkTable& network;
    ISystemInfo& system; // processor load and memory
    IClock& clock;
    ISettingsStore& settings;
    ISound& sound;       // the error sound
    IShell& shell;       // the network settings and the error batch file
    IPowerStatus* power; // none: no battery readout
};

class TrafficMonitor : public Feature,
                       public TrafficPicture,
                       private TrafficSampler::Host,
                       private InterfaceSelection::Host {
public:
    TrafficMonitor(MonitorServices system, WindowHost& window, WindowControls& controls,
                   std::string appFolder);
    ~TrafficMonitor() override;

    void start(const StartupSettings& settings) override;
    void started() override;
    void addMenuItems(MenuBuilder& menu) override;
    void addSettings(SettingsList& keys) const override;
    void stop() override;

    // Refreshes the address labels when the link comes back (set by the window).
    std::function<void()> RefreshIpAddresses;

    // The per-sample display entry point.
    void RefreshTrafficDisplay(std::int32_t& download, std::int32_t& upload);
    // TrafficPicture
    const QImage& TrayPicture() const override { return m_display.TrayPicture(); }
    std::string SpeedCaption(bool download) const override;
    void onHiddenSample(std::function<void(bool& idle)> handler) override {
        m_onHiddenSample = std::move(handler);
    }
    // Runs at each sample, shown or hidden, before it is drawn: the window
    // hands it to every feature, so their periodic work wakes with the
    // sample; nullptr for none.
    void onSample(std::function<void()> handler) { m_onSample = std::move(handler); }

    TrafficSampler& Sampler() { return *m_sampler; }
    InterfaceSelection& Selection() { return *m_selection; }
    TrafficDisplay& Display() { return m_display; }
    // Milliseconds until the sampler's next tick, -1 while it is stopped.
    int UpdateTimerRemainingMs() const { return m_tmrUpdate.isActive() ? m_tmrUpdate.remainingTime() : -1; }

private:
    std::function<void(bool& idle)> m_onHiddenSample;
    std::function<void()> m_onSample;

    // TrafficSampler::Host
    void setUpdateTimerEnabled(bool enabled) override;
    void restartResetTimer() override;
    void lockDrawing(bool locked) override;
    void setCaption(TrafficSampler::Label label, const std::string& text) override;
    void setToolTip(TrafficSampler::Label label, const std::string& text) override;
    void setLinkSpeedToolTip(const std::string& text) override;
    bool soundOnError() override;
    void refreshIpAddresses() override;
    void refreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) override;
    // InterfaceSelection::Host
    void clearHistories() override;
    void resetTopSpeeds() override;
    std::string linkSpeedToolTip() override;
    void selectionViewsChanged() override;

    QLabel* samplerLabel(TrafficSampler::Label label) const;

    MonitorServices m_system;
    WindowHost& m_window;
    WindowControls& m_controls;
    std::string m_appFolder;
    NumberSeparators m_separators;
    std::unique_ptr<CPULoad> m_cpuLoad;
    std::unique_ptr<CIpHelper> m_ipHelper;
    std::unique_ptr<InterfaceSelection> m_selection;
    std::unique_ptr<TrafficSampler> m_sampler;
    TrafficDisplay m_display;
    QObject m_context; // the receiver of the timers' and the list's signals
    QTimer m_tmrUpdate;
    QTimer m_tmrReset;
    bool m_updateTimerEnabled = false;
    bool m_fillingList = false;
};

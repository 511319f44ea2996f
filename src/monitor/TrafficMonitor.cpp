#include "monitor/TrafficMonitor.h"

#include "core/SecondTick.h"
#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "display/GraphView.h"
#include "display/TextLabel.h"
#include "display/WindowControls.h"
#include "metrics/MemoryStatus.h"
#include "platform/IClock.h"
#include "platform/IPowerStatus.h"
#include "platform/IShell.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>

namespace {

const char* labelName(TrafficSampler::Label label) {
    switch (label) {
    case TrafficSampler::Label::Recv:
        return "lblRecv";
    case TrafficSampler::Label::Sent:
        return "lblSent";
    case TrafficSampler::Label::DSpeed:
        return "lblDSpeed";
    case TrafficSampler::Label::USpeed:
        return "lblUSpeed";
    case TrafficSampler::Label::Speed0:
        return "lblSpeed(0)";
    case TrafficSampler::Label::Speed1:
        return "lblSpeed(1)";
    case TrafficSampler::Label::Speed2:
        return "lblSpeed(2)";
    case TrafficSampler::Label::Speed3:
        return "lblSpeed(3)";
    }
    return "";
}

// One setting for every number the program writes: the labels, the graph's
// tooltip and the digital tray picture all use the user's separators.
NumberSeparators userSeparators() {
    const QLocale locale;
    return NumberSeparators{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

} // namespace

TrafficMonitor::TrafficMonitor(MonitorServices system, WindowHost& window, WindowControls& controls,
                               std::string appFolder)
    : m_system(system), m_window(window), m_controls(controls), m_appFolder(std::move(appFolder)),
      m_separators(userSeparators()),
      m_display(TrafficDisplay::Sources{[this] { return m_cpuLoad ? m_cpuLoad->GetAllCPUUsage() : 0; },
                                        [this] { return GetMemoryStatus(m_system.system); },
                                        [this] {
                                            return m_system.power ? m_system.power->read()
                                                                  : std::optional<PowerStatus>();
                                        }},
                m_separators) {
    // The sampler's timer wakes once a second, just after the second turns,
    // re-armed after every tick.
    m_tmrUpdate.setSingleShot(true);
    m_tmrUpdate.setTimerType(Qt::PreciseTimer);
    m_tmrReset.setInterval(20000);
    QObject::connect(&m_tmrUpdate, &QTimer::timeout, &m_context, [this] {
        m_sampler->tmrUpdate_Timer();
        // A tick that took no sample (the same second, no interface) left
        // the timer asleep.
        if (m_updateTimerEnabled && !m_tmrUpdate.isActive()) {
            setUpdateTimerEnabled(true);
        }
    });
    QObject::connect(&m_tmrReset, &QTimer::timeout, &m_context, [this] { m_sampler->tmrReset_Timer(); });
    QObject::connect(m_controls.ConnectionList(), &QComboBox::activated, &m_context, [this](int index) {
        if (!m_fillingList) {
            m_selection->SetListIndex(index);
        }
    });
    m_controls.Graph()->setImage([this]() -> const QImage& { return m_display.Graph(); });
}

TrafficMonitor::~TrafficMonitor() = default;

void TrafficMonitor::start(const StartupSettings& settings) {
    m_cpuLoad = std::make_unique<CPULoad>(m_system.system);
    m_ipHelper = std::make_unique<CIpHelper>(m_system.network);
    m_selection = std::make_unique<InterfaceSelection>(*m_ipHelper, m_system.settings,
                                                       static_cast<InterfaceSelection::Host&>(*this));
    m_sampler = std::make_unique<TrafficSampler>(
        TrafficSampler::Services{*m_ipHelper, *m_selection, m_system.clock, m_system.sound, m_system.shell},
        static_cast<TrafficSampler::Host&>(*this));
    m_sampler->Start(m_appFolder, settings.notifyError, m_separators);
    m_selection->Build();
    m_selection->SelectSaved();
}

void TrafficMonitor::started() {
    m_tmrReset.start();
    setUpdateTimerEnabled(true);
}

void TrafficMonitor::addMenuItems(MenuBuilder& menu) {
    const Options& o = m_window.options();
    menu.add(MenuToggle("mnuPopupSound", "Sound on Error", o.soundOnError, [this](std::int16_t) {
        Options& options = m_window.options();
        options.soundOnError = !options.soundOnError;
    }));
    menu.add(MenuToggle("mnuShowBandwidth", "Show Bandwidth", o.showBandwidth, [this](std::int16_t) {
        Options& options = m_window.options();
        options.showBandwidth = !options.showBandwidth;
        m_display.History.ClearTraffic();
        m_window.setDisplayMode(2);
    }));
    menu.add(MenuToggle("mnuBattery", "Show Battery Level", o.battery, [this](std::int16_t) {
        Options& options = m_window.options();
        options.battery = !options.battery;
    }));
    MenuNode cards = MenuSubmenu("mnuNetCards", "Network Card");
    const auto& items = m_selection->MenuItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        MenuNode card = MenuToggle(
            "mnuNetCard", MenuCaptionOf(items[i].caption), items[i].checked,
            [this](std::int16_t index) { m_selection->mnuNetCard_Click(index); }, items[i].visible);
        card.enabled = items[i].enabled;
        card.index = static_cast<std::int16_t>(i);
        cards.children.push_back(std::move(card));
    }
    MenuNode separator;
    separator.name = "mnuNetSep";
    separator.separator = true;
    cards.children.push_back(std::move(separator));
    cards.children.push_back(MenuItem("mnuNetworkConnections", "Open Network Connections",
                                      [this](std::int16_t) { m_system.shell.openNetworkConnections(); }));
    menu.add(std::move(cards));
}

void TrafficMonitor::stop() {
    setUpdateTimerEnabled(false);
    m_tmrReset.stop();
    m_cpuLoad.reset();
}

void TrafficMonitor::addSettings(SettingsList& keys) const {
    const Options& o = m_window.options();
    keys.emplace_back(kKeyConnection, std::to_string(m_selection ? m_selection->ListIndex() : -1));
    keys.emplace_back(kKeySound, BoolText(o.soundOnError));
    keys.emplace_back(kKeyShowBandwidth, BoolText(o.showBandwidth));
    keys.emplace_back(kKeyBattery, BoolText(o.battery));
}

void TrafficMonitor::RefreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) {
    if (m_onSample) {
        m_onSample();
    }
    if (m_sampler->SkipNextSample) {
        m_sampler->SkipNextSample = false;
        return;
    }
    const Options& o = m_window.options();
    DisplayInputs in;
    in.tinyChecked = m_window.displayMode() == 2;
    in.showBandwidth = o.showBandwidth;
    in.analogTray = o.analogTrayIcon;
    in.battery = o.battery;
    in.windowVisible = m_window.windowVisible();
    in.linkDown = m_sampler->CurrentInterface && m_sampler->CurrentInterface->OperationalStatus <= 2;
    in.averageDownload = m_sampler->AverageDownload;
    in.averageUpload = m_sampler->AverageUpload;
    in.downloadCaption = SpeedCaption(true);
    in.uploadCaption = SpeedCaption(false);
    m_display.Refresh(download, upload, in);
    m_controls.Graph()->setToolTip(QString::fromStdString(m_display.ToolTip()));
    m_controls.Graph()->update();
    if (!in.windowVisible) {
        m_display.MakeBackgroundBlack();
        bool idle = m_sampler->AverageUpload < 1 && m_sampler->AverageDownload < 1;
        if (m_onHiddenSample) {
            m_onHiddenSample(idle);
        }
    }
}

std::string TrafficMonitor::SpeedCaption(bool download) const {
    return m_controls.Label(download ? "lblDSpeed" : "lblUSpeed")->text().toStdString();
}

QLabel* TrafficMonitor::samplerLabel(TrafficSampler::Label label) const {
    return m_controls.Label(labelName(label));
}

void TrafficMonitor::setUpdateTimerEnabled(bool enabled) {
    m_updateTimerEnabled = enabled;
    if (enabled) {
        m_tmrUpdate.start(MsToNextTick(m_system.clock.wallMs()));
    } else {
        m_tmrUpdate.stop();
    }
}

void TrafficMonitor::restartResetTimer() {
    m_tmrReset.start();
}

void TrafficMonitor::lockDrawing(bool) {
    // Nothing to do: Qt paints only when the tick has returned to the event
    // loop, so every label changed in one tick appears at once. Turning the
    // window's updates off and on instead repaints the whole window on every
    // sample and grows the process by about 2 KB a sample.
}

void TrafficMonitor::setCaption(TrafficSampler::Label label, const std::string& text) {
    QLabel* target = samplerLabel(label);
    const QString value = QString::fromStdString(text);
    if (target == nullptr || target->text() == value) {
        return; // most lines keep their text from one second to the next
    }
    target->setText(value);
    // The statistics lines inside the graph grow with their text.
    if (auto* line = dynamic_cast<TextLabel*>(target)) {
        line->fitToText();
    }
}

void TrafficMonitor::setToolTip(TrafficSampler::Label label, const std::string& text) {
    if (QLabel* target = samplerLabel(label)) {
        target->setToolTip(QString::fromStdString(text));
    }
}

void TrafficMonitor::setLinkSpeedToolTip(const std::string& text) {
    m_controls.Label("lblTitle(5)")->setToolTip(QString::fromStdString(text));
}

bool TrafficMonitor::soundOnError() {
    return m_window.options().soundOnError;
}

void TrafficMonitor::refreshIpAddresses() {
    if (RefreshIpAddresses) {
        RefreshIpAddresses();
    }
}

void TrafficMonitor::refreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) {
    RefreshTrafficDisplay(download, upload);
}

void TrafficMonitor::clearHistories() {
    m_display.History.ClearTraffic();
}

void TrafficMonitor::resetTopSpeeds() {
    m_sampler->tmrReset_Timer();
}

std::string TrafficMonitor::linkSpeedToolTip() {
    return m_controls.Label("lblTitle(5)")->toolTip().toStdString();
}

void TrafficMonitor::selectionViewsChanged() {
    QComboBox* list = m_controls.ConnectionList();
    m_fillingList = true;
    const auto& entries = m_selection->ListEntries();
    bool same = list->count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < list->count(); ++i) {
        same = list->itemText(i).toStdString() == entries[static_cast<std::size_t>(i)];
    }
    if (!same) {
        list->clear();
        for (const std::string& entry : entries) {
            list->addItem(QString::fromStdString(entry));
        }
    }
    list->setCurrentIndex(m_selection->ListIndex());
    list->setToolTip(PlainToolTip(QString::fromStdString(m_selection->ListToolTip())));
    m_fillingList = false;
}

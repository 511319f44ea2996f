#pragma once
// The IP address labels: this computer's address, or with "Show Real IP
// Address" the public one an echo page answers with. Fetched only when asked:
// a double click on either label, the menu command, the Normal layout while
// the labels are still empty, the link coming back.
#include "core/Feature.h"
#include "platform/common/SerialWorker.h"

#include <QObject>
#include <atomic>
#include <cstdint>
#include <string>

class QLabel;
class WindowControls;
class ILocalAddress;
class IPageReader;
class ISettingsStore;

class IpAddresses : public Feature, public QObject {
public:
    IpAddresses(ISettingsStore& settings, IPageReader& pages, ILocalAddress& localAddress, WindowHost& host,
                WindowControls& controls);
    ~IpAddresses() override;

    void modeChanged(std::int32_t mode) override;
    void addMenuItems(MenuBuilder& menu) override;
    void addSettings(SettingsList& keys) const override;
    // Waits for a lookup under way, and ends the worker.
    void stop() override;

    // Refreshes both labels; the answer arrives later and a newer request's wins.
    void lblIP_DblClick();
    void mnuShowRealIP_Click();

    // The longest a page may take, and the most of it that is read.
    static constexpr int kFetchTimeoutMs = 10000;
    static constexpr std::int64_t kMaxPageBytes = 4096;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void show(std::uint64_t request, const std::string& caption);
    void fetchPage(std::uint64_t request);
    void lookUpLocal(std::uint64_t request);
    void postAnswer(std::uint64_t request, std::string caption);

    ISettingsStore& m_settings;
    IPageReader& m_pages;
    ILocalAddress& m_localAddress;
    WindowHost& m_host;
    QLabel* m_lblIP;
    QLabel* m_lblIPShadow;
    bool m_fetchLoadFailed = false;
    std::uint64_t m_request = 0;
    bool m_waiting = false; // the latest request has not been answered yet

    // The one worker that asks the name service, started with the first
    // local lookup. Requests made while it is busy come down to the latest:
    // a link going up and down piles nothing up.
    std::atomic<std::uint64_t> m_lookupWanted{0};
    std::atomic<bool> m_lookupQueued{false};
    SerialWorker m_lookup; // last member: stopped before the rest goes
};

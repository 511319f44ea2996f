#include "ipaddress/IpAddresses.h"

#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "display/WindowControls.h"
#include "ipaddress/modIP.h"
#include "platform/FileSystem.h"
#include "platform/ILocalAddress.h"
#include "platform/IPageReader.h"
#include "platform/ISettingsStore.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <cstdio>
#include <memory>

IpAddresses::IpAddresses(ISettingsStore& settings, IPageReader& pages, ILocalAddress& localAddress,
                         WindowHost& host, WindowControls& controls)
    : m_settings(settings), m_pages(pages), m_localAddress(localAddress), m_host(host),
      m_lblIP(controls.Label("lblIP")), m_lblIPShadow(controls.Label("lblIPShadow")) {
    for (QLabel* label : {m_lblIP, m_lblIPShadow}) {
        label->installEventFilter(this);
    }
}

IpAddresses::~IpAddresses() {
    stop();
}

void IpAddresses::stop() {
    m_lookup.stop(); // a lookup under way ends within the resolver's own time-out
}

void IpAddresses::modeChanged(std::int32_t mode) {
    // The Normal layout shows the labels: filled whenever they are still
    // empty (a start without a link leaves them so), unless an answer is
    // on its way.
    if (mode == 0 && m_lblIP->toolTip().isEmpty() && !m_waiting) {
        lblIP_DblClick();
    }
}

void IpAddresses::addMenuItems(MenuBuilder& menu) {
    menu.add(MenuToggle("mnuShowRealIP", "Show Real IP Address", m_host.options().showRealIP,
                        [this](std::int16_t) { mnuShowRealIP_Click(); }));
}

void IpAddresses::addSettings(SettingsList& keys) const {
    keys.emplace_back(kKeyShowRealIP, BoolText(m_host.options().showRealIP));
}

void IpAddresses::mnuShowRealIP_Click() {
    m_host.options().showRealIP = !m_host.options().showRealIP;
    lblIP_DblClick();
}

void IpAddresses::lblIP_DblClick() {
    const std::uint64_t request = ++m_request;
    m_waiting = true;
    if (m_host.options().showRealIP) {
        fetchPage(request);
        return;
    }
    lookUpLocal(request);
}

void IpAddresses::fetchPage(std::uint64_t request) {
    const std::string url = m_settings.get(kAppName, kAppSection, "url", kDefaultEchoPage);
    if (!MayFetch(url)) {
        show(request, {});
        return;
    }
    std::string why;
    if (!m_fetchLoadFailed &&
        m_pages.fetch(
            url, kFetchTimeoutMs, kMaxPageBytes,
            [this, request](const std::string& text) { show(request, EchoPageAddress(text)); }, why)) {
        return;
    }
    if (!m_fetchLoadFailed) {
        m_fetchLoadFailed = true;
        LogError("cannot read web pages: " + why); // once: the reader is not tried again
    }
    show(request, {});
}

void IpAddresses::lookUpLocal(std::uint64_t request) {
    // The name service may take seconds: asked off the window's thread. One
    // lookup waits at most; it takes the latest request when it begins.
    m_lookupWanted = request;
    if (!m_lookupQueued.exchange(true)) {
        m_lookup.post([this] {
            m_lookupQueued = false;
            const std::uint64_t wanted = m_lookupWanted;
            postAnswer(wanted, LocalAddressCaption(m_localAddress.lookup()));
        });
    }
}

namespace {

// A lookup's answer, handed from the worker to the window's thread.
struct LocalAnswer : QEvent {
    static QEvent::Type type() {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }
    LocalAnswer(std::uint64_t request, std::string caption)
        : QEvent(type()), request(request), caption(std::move(caption)) {}
    std::uint64_t request;
    std::string caption;
};

} // namespace

void IpAddresses::postAnswer(std::uint64_t request, std::string caption) {
    // Shown on the window's thread; Qt drops it with this object if it is gone by then.
    QCoreApplication::postEvent(this, new LocalAnswer(request, std::move(caption)));
}

void IpAddresses::customEvent(QEvent* event) {
    if (event->type() == LocalAnswer::type()) {
        const auto* answer = static_cast<LocalAnswer*>(event);
        show(answer->request, answer->caption);
    }
}

void IpAddresses::show(std::uint64_t request, const std::string& caption) {
    if (request != m_request) {
        return; // a late answer to an older request
    }
    m_waiting = false;
    const QString text = QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
    const QString tip = QString::fromLatin1(IpToolTip(caption).c_str());
    for (QLabel* label : {m_lblIP, m_lblIPShadow}) {
        label->setText(text);
        label->setToolTip(tip);
    }
}

bool IpAddresses::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && (watched == m_lblIP || watched == m_lblIPShadow)) {
        lblIP_DblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

#include "tools/IpAddresses.h"

#include "core/Main.h"
#include "core/SettingsKeys.h"
#include "display/WindowControls.h"
#include "platform/Platform.h"
#include "tools/modIP.h"

#include <QEvent>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <memory>

IpAddresses::IpAddresses(Platform& platform, WindowHost& host, WindowControls& controls)
    : m_platform(platform), m_host(host), m_lblIP(controls.Label("lblIP")),
      m_lblIPShadow(controls.Label("lblIPShadow")) {
    for (QLabel* label : {m_lblIP, m_lblIPShadow}) {
        label->installEventFilter(this);
    }
}

IpAddresses::~IpAddresses() {
    if (m_reply) {
        m_reply->abort();
    }
}

void IpAddresses::modeChanged(std::int32_t mode) {
    // The Normal layout shows the labels: fill them the first time.
    if (mode == 0 && m_lblIP->toolTip().isEmpty() && m_request == 0) {
        lblIP_DblClick();
    }
}

void IpAddresses::addMenuItems(MenuBuilder& menu) {
    menu.add(MenuToggle("mnuShowRealIP", "Show Real IP Address", m_host.options().showRealIP));
}

bool IpAddresses::ownsCommand(std::string_view name) const {
    return name == "mnuShowRealIP";
}

void IpAddresses::runCommand(std::string_view, std::int16_t) {
    mnuShowRealIP_Click();
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
    if (m_reply) {
        m_reply->abort(); // a newer request replaces it
    }
    if (m_host.options().showRealIP) {
        fetchPage(request);
        return;
    }
    // The name service may take seconds: asked off the window's thread. The
    // thread ends by itself; its answer is shown if this is still here.
    ILocalAddress* local = m_platform.localAddress.get();
    auto address = std::make_shared<std::string>();
    QThread* worker = QThread::create([local, address] { *address = local->lookup(); });
    QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    QObject::connect(worker, &QThread::finished, this,
                     [this, address, request] { show(request, LocalAddressCaption(*address)); });
    worker->start();
}

void IpAddresses::fetchPage(std::uint64_t request) {
    const std::string url = m_platform.settings->get(kAppName, kAppSection, "url", kDefaultEchoPage);
    if (!MayFetch(url)) {
        show(request, {});
        return;
    }
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
        m_network->setProxy(QNetworkProxy::NoProxy); // direct, as the page must see us
    }
    QNetworkRequest page(QUrl(QString::fromStdString(url)));
    page.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("vb wininet"));
    page.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    page.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    page.setTransferTimeout(kFetchTimeoutMs);
    QNetworkReply* reply = m_network->get(page);
    reply->setReadBufferSize(kMaxPageBytes);
    m_reply = reply;
    auto text = std::make_shared<std::string>();
    // Only the first line matters: reading stops at it, or at the cap.
    QObject::connect(reply, &QIODevice::readyRead, reply, [reply, text] {
        const QByteArray chunk = reply->read(kMaxPageBytes - static_cast<std::int64_t>(text->size()));
        text->append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
        if (text->find('\n') != std::string::npos ||
            static_cast<std::int64_t>(text->size()) >= kMaxPageBytes) {
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, this, [this, reply, text, request] {
        if (m_reply == reply) {
            m_reply = nullptr;
        }
        reply->deleteLater();
        text->append(reply->readAll().left(kMaxPageBytes).toStdString());
        show(request, EchoPageAddress(*text));
    });
}

void IpAddresses::show(std::uint64_t request, const std::string& caption) {
    if (request != m_request) {
        return; // a late answer to an older request
    }
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

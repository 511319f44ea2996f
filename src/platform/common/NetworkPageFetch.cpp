// The page reader's module: Qt Network, loaded by the program at the first
// fetch of the public address.
#include "platform/IPageReader.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QtGlobal>
#include <algorithm>
#include <memory>

namespace {

class NetworkPageFetch : public QObject, public IPageReader {
public:
    NetworkPageFetch() { m_network.setProxy(QNetworkProxy::NoProxy); } // direct, as the page must see us
    ~NetworkPageFetch() override {
        if (m_reply) {
            m_reply->disconnect(this);
            m_reply->abort();
        }
    }

    bool fetch(const std::string& url, int timeoutMs, std::int64_t maxBytes, Done done,
               std::string&) override {
        if (m_reply) {
            m_reply->abort(); // a newer request replaces it
        }
        QNetworkRequest page(QUrl(QString::fromStdString(url)));
        page.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("vb wininet"));
        page.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        page.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        page.setTransferTimeout(timeoutMs);
        QNetworkReply* reply = m_network.get(page);
        reply->setReadBufferSize(maxBytes);
        m_reply = reply;
        auto text = std::make_shared<std::string>();
        // Only the first line matters: reading stops at it, or at the cap.
        QObject::connect(reply, &QIODevice::readyRead, reply, [reply, text, maxBytes] {
            const QByteArray chunk = reply->read(maxBytes - static_cast<std::int64_t>(text->size()));
            text->append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
            if (text->find('\n') != std::string::npos ||
                static_cast<std::int64_t>(text->size()) >= maxBytes) {
                reply->abort();
            }
        });
        QObject::connect(reply, &QNetworkReply::finished, this, [this, reply, text, maxBytes, done] {
            if (m_reply == reply) {
                m_reply = nullptr;
            }
            reply->deleteLater();
            const QByteArray rest = reply->isOpen() ? reply->readAll() : QByteArray(); // aborted: closed
            const auto room = std::max<std::int64_t>(0, maxBytes - static_cast<std::int64_t>(text->size()));
            text->append(rest.constData(),
                         static_cast<std::size_t>(std::min<std::int64_t>(rest.size(), room)));
            done(*text);
        });
        return true;
    }

private:
    QNetworkAccessManager m_network{this};
    QNetworkReply* m_reply = nullptr;
};

} // namespace

extern "C" Q_DECL_EXPORT IPageReader* trafalo_make_page_fetch() {
    return new NetworkPageFetch;
}

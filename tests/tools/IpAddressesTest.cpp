// The IP address labels bound to fakes, with the echo page served on
// loopback by the test: the address shown, the agent, no proxy, a late
// answer, a page that never ends.
#include "app/TestWindow.h"
#include "display/WindowControls.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers each request after delayMs with body, or streams without end.
class EchoServer {
public:
    EchoServer(QByteArray body, int delayMs = 0, bool endless = false) {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this, body, delayMs, endless] {
            QTcpSocket* socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, body, delayMs, endless] {
                request += socket->readAll();
                QTimer::singleShot(delayMs, socket, [socket, body, endless] {
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n");
                    socket->write(
                        endless ? "\r\n" : "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
                    if (!endless) {
                        socket->write(body);
                        return;
                    }
                    auto* pump = new QTimer(socket);
                    QObject::connect(pump, &QTimer::timeout, socket,
                                     [socket] { socket->write(QByteArray(1024, '.')); });
                    pump->start(5);
                });
            });
            QObject::connect(socket, &QTcpSocket::disconnected, [this, socket] {
                closed = true;
                socket->deleteLater();
            });
        });
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(server.serverPort()) + "/"; }
    QTcpServer server;
    QByteArray request;
    bool closed = false;
};

bool spinUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return done();
}

struct Window {
    FakePlatform fake;
    std::unique_ptr<TestWindow> window;
    explicit Window(const std::string& url) {
        fake.settings().set("Trafalo", "Setting", "url", url);
        fake.settings().set("Trafalo", "Setting", "ShowRealIP", "True");
        fake.settings().set("Trafalo", "Setting", "SmallUI", "0");
        window = std::make_unique<TestWindow>(fake.platform);
        window->Form_Load();
    }
    ~Window() { window->Form_Unload(); }
    QLabel* ip() { return window->Controls().Label("lblIP"); }
    QLabel* shadow() { return window->Controls().Label("lblIPShadow"); }
};

TEST(IpAddresses, TheEchoPagesAddressWithTheAgentAndNoProxy) {
    qputenv("http_proxy", "http://127.0.0.1:9/"); // nothing listens there
    EchoServer page("<html><body>Current IP Address: 203.0.113.7</body></html>\r\n");
    Window w(page.url());
    ASSERT_TRUE(spinUntil([&] { return w.ip()->text() == "203.0.113.7"; }, 5000));
    EXPECT_EQ(w.ip()->toolTip(), "Your IP address is 203.0.113.7");
    EXPECT_EQ(w.shadow()->text(), "203.0.113.7");
    EXPECT_EQ(w.shadow()->toolTip(), "Your IP address is 203.0.113.7");
    EXPECT_TRUE(page.request.contains("User-Agent: vb wininet\r\n")) << page.request.constData();
    EXPECT_TRUE(page.request.startsWith("GET / HTTP/1.1")); // to the page, not through a proxy
    qunsetenv("http_proxy");
}

TEST(IpAddresses, UncheckingShowsTheLocalAddressAtOnceAndALateAnswerIsDropped) {
    EchoServer slow("Address: 203.0.113.7<br>\n", 400);
    Window w(slow.url());
    ASSERT_TRUE(spinUntil([&] { return !slow.request.isEmpty(); }, 3000));
    w.window->RunMenuCommand("mnuShowRealIP"); // off: the local address
    ASSERT_TRUE(spinUntil([&] { return w.ip()->text() == "192.168.1.10"; }, 3000));
    spinUntil([] { return false; }, 700); // the page's late answer comes and goes
    EXPECT_EQ(w.ip()->text(), "192.168.1.10");
    EXPECT_EQ(w.shadow()->toolTip(), "Your IP address is 192.168.1.10");
}

TEST(IpAddresses, APageWithoutEndIsCutOffAndShowsNothing) {
    EchoServer endless("", 0, true);
    Window w(endless.url());
    ASSERT_TRUE(spinUntil([&] { return endless.closed; }, 5000)); // it hung up after the first bytes
    EXPECT_EQ(w.ip()->text(), "");
    EXPECT_EQ(w.ip()->toolTip(), "");
}

TEST(IpAddresses, OnlyWebAddressesAreFetched) {
    Window w("file:///etc/hostname");
    w.ip()->setText("old");
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(w.shadow(), &dbl);
    EXPECT_EQ(w.ip()->text(), "");
}

} // namespace

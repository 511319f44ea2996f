#include "LinuxTaskbar.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>
#include <QStringList>

namespace {

constexpr int kCallMs = 1000;
const QString kXfconf = QStringLiteral("org.xfce.Xfconf");
const QString kPanelChannel = QStringLiteral("xfce4-panel");

// One call on the session bus. A reply, or an error reply (a property not
// set), is an answer; a service that is not there or does not answer in
// time is none, and ends the lookup it was part of.
struct Answer {
    bool answered = false;
    QVariant value;
};

Answer call(const QString& service, const QString& path, const QString& interface, const QString& method,
            const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(args);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, kCallMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return {true, reply.arguments().isEmpty() ? QVariant() : reply.arguments().front()};
    }
    const QString error = reply.errorName();
    const bool gone = reply.type() != QDBusMessage::ErrorMessage ||
                      error == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
                      error == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
                      error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
                      error == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
    return {!gone, {}};
}

Answer xfconfGet(const QString& property) {
    Answer answer = call(kXfconf, QStringLiteral("/org/xfce/Xfconf"), kXfconf, QStringLiteral("GetProperty"),
                         {kPanelChannel, property});
    if (answer.value.canConvert<QDBusVariant>()) {
        answer.value = qvariant_cast<QDBusVariant>(answer.value).variant();
    }
    return answer;
}

QList<int> intList(const QVariant& value) {
    QList<int> numbers;
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        argument.beginArray();
        while (!argument.atEnd()) {
            QDBusVariant item;
            argument >> item;
            numbers.push_back(item.variant().toInt());
        }
        argument.endArray();
    } else {
        for (const QVariant& item : value.toList()) {
            numbers.push_back(item.toInt());
        }
    }
    return numbers;
}

// The Xfce panel holding the task list, else the first one; -1 when there is
// none or Xfconf does not answer.
int xfcePanel() {
    const Answer panels = xfconfGet(QStringLiteral("/panels"));
    const QList<int> ids = intList(panels.value);
    for (const int panel : ids) {
        const Answer plugins = xfconfGet(QStringLiteral("/panels/panel-%1/plugin-ids").arg(panel));
        if (!plugins.answered) {
            return -1;
        }
        for (const int plugin : intList(plugins.value)) {
            const Answer type = xfconfGet(QStringLiteral("/plugins/plugin-%1").arg(plugin));
            if (!type.answered) {
                return -1;
            }
            if (type.value.toString() == QLatin1String("tasklist")) {
                return panel;
            }
        }
    }
    return ids.isEmpty() ? -1 : ids.front();
}

// Plasma: the panel holding a task manager, else the first.
const QString kPlasmaPanel = QStringLiteral("var all = panels(); var p = all[0];"
                                            "for (var i = 0; i < all.length; ++i) {"
                                            "  var w = all[i].widgets();"
                                            "  for (var j = 0; j < w.length; ++j) {"
                                            "    if (w[j].type == 'org.kde.plasma.taskmanager' || w[j].type "
                                            "== 'org.kde.plasma.icontasks') { p = all[i]; }"
                                            "  }"
                                            "}");

QString plasma(const QString& script) {
    return call(QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
                QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"),
                {kPlasmaPanel + script})
        .value.toString()
        .trimmed();
}

} // namespace

LinuxTaskbar::LinuxTaskbar(const std::string& desktop) : m_desktop(Desktop::None) {
    const QStringList names = QString::fromStdString(desktop).split(QLatin1Char(':'));
    for (const QString& name : names) {
        if (name.compare(QLatin1String("XFCE"), Qt::CaseInsensitive) == 0) {
            m_desktop = Desktop::Xfce;
        } else if (name.compare(QLatin1String("KDE"), Qt::CaseInsensitive) == 0) {
            m_desktop = Desktop::Plasma;
        }
    }
}

std::uint32_t LinuxTaskbar::getState() {
    switch (m_desktop) {
    case Desktop::Xfce: {
        // The toggle sets right after it asks: the panel found now serves both.
        m_panel = xfcePanel();
        return m_panel >= 0 && xfconfGet(QStringLiteral("/panels/panel-%1/autohide-behavior").arg(*m_panel))
                                       .value.toUInt() != 0
                   ? 1
                   : 0;
    }
    case Desktop::Plasma:
        return plasma(QStringLiteral("print(p ? p.hiding : 'none');")) == QLatin1String("autohide") ? 1 : 0;
    case Desktop::None:
        break;
    }
    return 0;
}

void LinuxTaskbar::setState(std::uint32_t state) {
    const bool autoHide = (state & 1U) != 0;
    switch (m_desktop) {
    case Desktop::Xfce: {
        const int panel = m_panel ? *m_panel : xfcePanel();
        m_panel.reset();
        if (panel >= 0) {
            // 2 hides the panel always; 0 never.
            call(kXfconf, QStringLiteral("/org/xfce/Xfconf"), kXfconf, QStringLiteral("SetProperty"),
                 {kPanelChannel, QStringLiteral("/panels/panel-%1/autohide-behavior").arg(panel),
                  QVariant::fromValue(QDBusVariant(QVariant::fromValue(autoHide ? 2U : 0U)))});
        }
        break;
    }
    case Desktop::Plasma:
        plasma(autoHide ? QStringLiteral("if (p) p.hiding = 'autohide';")
                        : QStringLiteral("if (p) p.hiding = 'none';"));
        break;
    case Desktop::None:
        break;
    }
}

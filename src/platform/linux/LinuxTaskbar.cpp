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

// One call on the session bus; an invalid QVariant when it fails.
QVariant call(const QString& service, const QString& path, const QString& interface, const QString& method,
              const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(args);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, kCallMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments().front();
}

QVariant xfconfGet(const QString& property) {
    const QVariant value = call(kXfconf, QStringLiteral("/org/xfce/Xfconf"), kXfconf,
                                QStringLiteral("GetProperty"), {kPanelChannel, property});
    return value.canConvert<QDBusVariant>() ? qvariant_cast<QDBusVariant>(value).variant() : value;
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

// The Xfce panel holding the task list, else the first one; -1 when none.
int xfcePanel() {
    const QList<int> panels = intList(xfconfGet(QStringLiteral("/panels")));
    for (const int panel : panels) {
        for (const int plugin :
             intList(xfconfGet(QStringLiteral("/panels/panel-%1/plugin-ids").arg(panel)))) {
            if (xfconfGet(QStringLiteral("/plugins/plugin-%1").arg(plugin)).toString() ==
                QLatin1String("tasklist")) {
                return panel;
            }
        }
    }
    return panels.isEmpty() ? -1 : panels.front();
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
        .toString()
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
        const int panel = xfcePanel();
        return panel >= 0 &&
                       xfconfGet(QStringLiteral("/panels/panel-%1/autohide-behavior").arg(panel)).toUInt() !=
                           0
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
        const int panel = xfcePanel();
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

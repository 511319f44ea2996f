#include "display/clsSystray.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {

constexpr std::size_t kTipChars = 127;
constexpr std::size_t kBalloonTextChars = 255;
constexpr std::size_t kBalloonTitleChars = 63;
constexpr std::uint32_t kNoSoundFlag = 16;

QSystemTrayIcon::MessageIcon balloonIcon(std::uint32_t flags) {
    switch (flags & ~kNoSoundFlag) {
    case 1:
        return QSystemTrayIcon::Information;
    case 2:
        return QSystemTrayIcon::Warning;
    case 3:
        return QSystemTrayIcon::Critical;
    default:
        return QSystemTrayIcon::NoIcon;
    }
}

QString wide(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

} // namespace

std::vector<int> TrayActivationMessages(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {513, 514};
    case QSystemTrayIcon::Context:
        return {516, 517};
    case QSystemTrayIcon::DoubleClick:
        return {515};
    default:
        return {};
    }
}

clsSystray::clsSystray() {
    m_balloonTimer.setSingleShot(true);
    QObject::connect(&m_balloonTimer, &QTimer::timeout, &m_context, [this] {
        m_balloonUp = false;
        notify(1028);
    });
}

clsSystray::~clsSystray() {
    m_owner = nullptr;
    m_balloonTimer.stop();
    // Unlike a removal asked for while disabled, destruction always takes
    // the icon away.
    m_icon.reset();
}

std::int32_t clsSystray::SetOwner(QWidget* frm) {
    if (frm == nullptr || !frm->isWindow()) {
        return m_lastError = kNotAForm;
    }
    m_owner = frm;
    m_ownerIcon = frm->windowIcon();
    m_iconPicture = m_ownerIcon;
    return m_lastError = kSuccess;
}

std::int32_t clsSystray::classifyMenu() const {
    const auto* menu = m_owner->findChild<QMenu*>(QStringLiteral("mnuTray"));
    if (menu == nullptr) {
        return kNoMenu;
    }
    if (menu->isVisible()) {
        return kMenuVisible;
    }
    if (m_owner->findChild<QAction*>(QStringLiteral("mnuDefault")) == nullptr) {
        return kNoDefaultItem;
    }
    return kSuccess;
}

std::int32_t clsSystray::AddIconToTray(const QIcon& icon, const std::string& tooltipText, bool enable) {
    m_lastError = kSuccess;
    if (!m_owner) {
        return m_lastError = kNoOwner;
    }
    if (icon.isNull()) {
        return m_lastError = kNoIcon;
    }
    if (m_inTray) {
        return m_lastError = kAlreadyInTray;
    }
    // Worked out and then replaced by the tooltip's status, as it always was.
    m_lastError = classifyMenu();
    m_inTray = true;
    m_iconPicture = icon;
    m_icon = std::make_unique<QSystemTrayIcon>();
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, &m_context,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         for (const int message : TrayActivationMessages(reason)) {
                             notify(message);
                         }
                     });
    QObject::connect(m_icon.get(), &QSystemTrayIcon::messageClicked, &m_context, [this] { notify(1029); });
    m_icon->setIcon(m_iconPicture);
    m_icon->show();
    m_record.timeoutOrVersion = 3;
    SetTooltip(tooltipText);
    m_enabled = enable;
    RefreshIcon();
    return m_lastError;
}

std::int32_t clsSystray::RemoveIconFromTray() {
    if (!m_inTray) {
        return m_lastError = kNotInTray;
    }
    if (!m_enabled) {
        return m_lastError = kDisabled;
    }
    m_balloonTimer.stop();
    m_balloonUp = false;
    m_icon.reset();
    m_inTray = false;
    return m_lastError = kSuccess;
}

void clsSystray::RefreshIcon() {
    m_record.header.flags |= kFlagsIconTip;
    if (!m_inTray || !m_icon) {
        return;
    }
    // Only what changed is sent: the window refreshes its tooltip every few
    // seconds, and each change is a message to the tray host.
    if (m_icon->icon().cacheKey() != m_iconPicture.cacheKey()) {
        m_icon->setIcon(m_iconPicture);
    }
    const QString tip = wide(m_record.tip);
    if (m_icon->toolTip() != tip) {
        m_icon->setToolTip(tip);
    }
    if ((m_record.header.flags & kFlagBalloon) == 0) {
        return;
    }
    if (m_record.balloonText.empty()) {
        if (m_balloonUp) {
            // A notification already on screen stays until its own time-out:
            // it cannot be withdrawn through the tray icon.
            m_balloonTimer.stop();
            m_balloonUp = false;
            notify(1027);
        }
        return;
    }
    const int shownMs = m_record.timeoutOrVersion > 0 && m_record.timeoutOrVersion < 0x7fffffffU
                            ? static_cast<int>(m_record.timeoutOrVersion)
                            : kDefaultBalloonMs;
    m_icon->showMessage(wide(m_record.balloonTitle), wide(m_record.balloonText),
                        balloonIcon(m_record.balloonFlags), shownMs);
    m_balloonUp = true;
    notify(1026);
    m_balloonTimer.start(shownMs);
}

std::int32_t clsSystray::ShowBalloon(const std::string& message, const std::string& title, std::int32_t style,
                                     std::int32_t timeoutMs) {
    if (!m_inTray) {
        return m_lastError = kNotInTray;
    }
    if (!m_enabled) {
        return m_lastError = kDisabled;
    }
    const auto kind = static_cast<std::uint32_t>(style) & ~kNoSoundFlag;
    if (kind > 3) {
        return m_lastError = kBadBalloonStyle;
    }
    m_record.header.flags = kFlagBalloon;
    if (!message.empty()) {
        m_record.balloonText = WideTextCut(message, kBalloonTextChars);
        m_record.balloonTitle = WideTextCut(title, kBalloonTitleChars);
        m_record.balloonFlags = static_cast<std::uint32_t>(style);
        m_record.timeoutOrVersion = static_cast<std::uint32_t>(timeoutMs);
    } else {
        m_record.balloonText.clear();
        m_record.balloonTitle.clear();
        m_record.balloonFlags = 0;
    }
    RefreshIcon();
    return m_lastError = kSuccess;
}

std::int32_t clsSystray::HideBalloon() {
    if (!m_inTray) {
        return m_lastError = kNotInTray;
    }
    if (!m_enabled) {
        return m_lastError = kDisabled;
    }
    m_record.header.flags = kFlagBalloon;
    m_record.balloonText.clear();
    m_record.balloonTitle.clear();
    m_record.balloonFlags = 0;
    RefreshIcon();
    return m_lastError = kSuccess;
}

void clsSystray::SetEnabled(bool value) {
    if (!value) {
        m_enabled = true;
        HideBalloon();
    }
    m_enabled = value;
    m_lastError = kSuccess;
}

void clsSystray::SetIcon(const QIcon& icon) {
    m_iconPicture = icon;
    RefreshIcon();
    m_lastError = kSuccess;
}

void clsSystray::SetTooltip(const std::string& text) {
    if (text.find_first_not_of(" \t") == std::string::npos) {
        m_lastError = kTextMissing;
        return;
    }
    m_tooltip = text;
    m_record.tip = WideTextCut(text, kTipChars);
    m_lastError = kSuccess;
}

void clsSystray::notify(int message) {
    if (OwnerMessage) {
        OwnerMessage(message);
    }
    myForm_MouseMove(message);
}

void clsSystray::myForm_MouseMove(int message, std::int16_t button) {
    if (!m_enabled) {
        return;
    }
    auto raise = [](const std::function<void(std::int16_t&)>& event, std::int16_t value) {
        if (event) {
            event(value);
        }
    };
    auto raise0 = [](const std::function<void()>& event) {
        if (event) {
            event();
        }
    };
    switch (message) {
    case 512:
        raise(MouseMove, button);
        break;
    case 513:
        raise(MouseDown, 1);
        break;
    case 514:
        raise(MouseUp, 1);
        break;
    case 515:
        raise(DoubleClick, 1);
        break;
    case 516:
        raise(MouseDown, 2);
        break;
    case 517:
        raise(MouseUp, 2);
        popupTrayMenu();
        break;
    case 518:
        raise(DoubleClick, 2);
        break;
    case 1026:
        raise0(BalloonShow);
        break;
    case 1027:
        raise0(BalloonHide);
        break;
    case 1028:
        raise0(BalloonTimeout);
        break;
    case 1029:
        raise0(BalloonClicked);
        break;
    default:
        break;
    }
}

void clsSystray::popupTrayMenu() {
    if (!m_owner) {
        return;
    }
    auto* menu = m_owner->findChild<QMenu*>(QStringLiteral("mnuTray"));
    if (menu == nullptr || menu->isVisible()) {
        return;
    }
    if (auto* item = m_owner->findChild<QAction*>(QStringLiteral("mnuDefault"))) {
        menu->setDefaultAction(item); // shown bold
    }
    menu->popup(QCursor::pos());
}

#pragma once
// One notification-area icon of an owner window, with its tooltip and
// balloon messages. Every operation leaves a status code, readable with its
// text afterwards; the functions return it too. The icon's mouse and balloon
// notifications reach the owner as message numbers (OwnerMessage) and are
// decoded into the events below. A right button release opens the owner's
// menu named "mnuTray", its item "mnuDefault" in bold, when it has them.
//
// On Linux the icon is a QSystemTrayIcon. Tray hosts report a click, a
// double click and a context request, not raw button presses: a click gives
// 513 then 514, a context request 516 then 517, a double click 515; pointer
// moves (512) and right double clicks (518) never arrive. Balloons are
// desktop notifications; the shown (1026), hidden (1027) and timed-out (1028)
// messages are raised here, the click (1029) comes from the host.
#include "display/NotifyIconRecords.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QSystemTrayIcon>
#include <vector>

class QWidget;

// The mouse messages a tray icon's activation stands for on Linux (see above);
// none for the middle button.
std::vector<int> TrayActivationMessages(QSystemTrayIcon::ActivationReason reason);

class clsSystray {
public:
    // The status codes.
    enum : std::int32_t {
        kSuccess = 0,
        kNotAForm = -1,
        kNoOwner = -2,
        kNoIcon = -3,
        kNoMenu = 4,
        kMenuVisible = 5,
        kNoDefaultItem = 6,
        kNotInTray = -7,
        kDisabled = -8,
        kAlreadyInTray = -9,
        kBadBalloonStyle = -10,
        kTextMissing = -11,
    };
    // The record's flags: message, icon, tip, balloon.
    static constexpr std::uint32_t kFlagsIconTip = 7;
    static constexpr std::uint32_t kFlagBalloon = 16;

    clsSystray();
    // Takes the icon out of the notification area, enabled or not, so no
    // icon is left behind without an owner.
    ~clsSystray();
    clsSystray(const clsSystray&) = delete;
    clsSystray& operator=(const clsSystray&) = delete;

    std::int32_t SetOwner(QWidget* frm);
    std::int32_t AddIconToTray(const QIcon& icon, const std::string& tooltipText = {}, bool enable = false);
    std::int32_t RemoveIconFromTray();
    // Sends icon, tip and (while the balloon flag is set) the balloon again.
    void RefreshIcon();
    // style: 0 none, 1 information, 2 warning, 3 error, plus 16 for no sound.
    // An empty message takes the balloon away.
    std::int32_t ShowBalloon(const std::string& message, const std::string& title = {},
                             std::int32_t style = 0, std::int32_t timeoutMs = 0);
    std::int32_t HideBalloon();

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    void SetIcon(const QIcon& icon);
    const std::string& Tooltip() const { return m_tooltip; }
    void SetTooltip(const std::string& text);
    bool IsIconInTray() const { return m_inTray; }
    std::int32_t LastErrorNumber() const { return m_lastError; }
    std::string LastErrorText() const { return SystrayStatusText(m_lastError); }

    // A notification of the icon, as the message number the owner hears.
    void myForm_MouseMove(int message, std::int16_t button = 0);

    // The owner's own handler of the icon's messages.
    std::function<void(int message)> OwnerMessage;
    // Events; Button 1 left, 2 right.
    std::function<void(std::int16_t&)> MouseMove, DoubleClick, MouseDown, MouseUp;
    std::function<void()> BalloonTimeout, BalloonClicked, BalloonShow, BalloonHide;

    // What a Windows layer would send: the record as it stands.
    const WideIconRecord& Record() const { return m_record; }
    QSystemTrayIcon* Icon() const { return m_icon.get(); }
    // How long a balloon without a time-out of its own stays.
    static constexpr int kDefaultBalloonMs = 10000;

private:
    void notify(int message);
    void popupTrayMenu();
    std::int32_t classifyMenu() const;

    QPointer<QWidget> m_owner;
    QIcon m_ownerIcon;
    QIcon m_iconPicture;
    WideIconRecord m_record;
    std::string m_tooltip;
    bool m_inTray = false;
    bool m_enabled = false;
    std::int32_t m_lastError = kSuccess;
    bool m_balloonUp = false;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QTimer m_balloonTimer;
    QObject m_context;
};

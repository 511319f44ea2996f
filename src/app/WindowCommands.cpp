#include "app/WindowCommands.h"

#include "core/Registry.h"
#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "display/WindowPlace.h"
#include "platform/Platform.h"

#include <QMessageBox>
#include <QWidget>
#include <algorithm>
#include <iterator>

WindowCommands::WindowCommands(Platform& platform, WindowHost& host, QWidget& window,
                               std::function<Keys()> keyState, std::string appFolder)
    : m_platform(platform), m_host(host), m_window(window), m_keyState(std::move(keyState)),
      m_appFolder(std::move(appFolder)) {}

void WindowCommands::start(const StartupSettings& settings) {
    // Both options start off and are turned on by their commands, which
    // apply them to the window as well.
    Options& o = m_host.options();
    o.alwaysOnTop = false;
    o.transparent = false;
    if (settings.options.alwaysOnTop) {
        mnuPopupAlwaysOnTop_Click();
    }
    if (settings.options.transparent) {
        mnuPopupTransparent_Click();
    }
    m_host.setDisplayMode(settings.smallUI);
}

void WindowCommands::addMenuItems(MenuBuilder& menu) {
    const Options& o = m_host.options();
    const bool v = m_host.windowVisible();
    static const char* const kModes[] = {"&Normal - Traffic and Statistics", "&Small - Traffic and IP",
                                         "&Tiny - Traffic Only"};
    for (std::int16_t mode = 0; mode < 3; ++mode) {
        MenuNode type = MenuToggle("mnuWindowType", kModes[mode], m_host.displayMode() == mode,
                                   [this](std::int16_t index) { m_host.setDisplayMode(index); });
        type.index = mode;
        menu.add(std::move(type));
    }
    menu.add(MenuToggle(
        "mnuPopupTransparent", "Transparent", o.transparent,
        [this](std::int16_t) { mnuPopupTransparent_Click(); }, v));
    menu.add(MenuToggle(
        "mnuPopupAlwaysOnTop", "Always on top", o.alwaysOnTop,
        [this](std::int16_t) { mnuPopupAlwaysOnTop_Click(); }, v));
    menu.add(MenuToggle(
        "mnuPopupStartWithWindows", "Start with Windows", o.startWithWindows,
        [this](std::int16_t) { mnuPopupStartWithWindows_Click(); }, v));
    menu.add(MenuItem("mnuPopupAbout", "About Trafalo", [this](std::int16_t) { mnuPopupAbout_Click(); }));
    menu.add(MenuItem("mnuPopupExit", "Exit", [this](std::int16_t) { m_host.endProgram(); }));
}

bool WindowCommands::takeGesture(Gesture gesture) {
    if (gesture != Gesture::NextDisplayMode) {
        return false;
    }
    const std::int32_t mode = m_host.displayMode();
    m_host.setDisplayMode(mode == 0 ? 1 : mode == 1 ? 2 : 0);
    return true;
}

void WindowCommands::addSettings(SettingsList& keys) const {
    const Options& o = m_host.options();
    keys.emplace_back(kKeyAlwaysOnTop, BoolText(o.alwaysOnTop));
    keys.emplace_back(kKeyTransparent, BoolText(o.transparent));
    keys.emplace_back(kKeySmallUI, std::to_string(m_host.displayMode()));
}

void WindowCommands::mnuPopupTransparent_Click() {
    Options& o = m_host.options();
    o.transparent = !o.transparent;
    SetWindowAlpha(&m_window, o.transparent ? 120 : 255);
}

std::int32_t WindowCommands::SetWindowAlpha(QWidget* window, std::int16_t alpha) {
    if (alpha < 0 || alpha > 255) {
        return 1;
    }
    if (!window) {
        return 2;
    }
    window->setWindowOpacity(alpha / 255.0);
    return 0;
}

void WindowCommands::mnuPopupAlwaysOnTop_Click() {
    Options& o = m_host.options();
    const Keys keys = m_keyState();
    // Shift or Ctrl only ever turns it on, which re-applies the placement.
    o.alwaysOnTop = (keys.shift || keys.ctrl) ? true : !o.alwaysOnTop;
    SetTopMost(m_window, o.alwaysOnTop);
}

void WindowCommands::mnuPopupStartWithWindows_Click() {
    Options& o = m_host.options();
    o.startWithWindows = !o.startWithWindows;
    if (m_platform.autostart) {
        if (o.startWithWindows) {
            std::string program = m_appFolder + programBaseName() + executableSuffix();
            SaveRegistryString(*m_platform.autostart, kHkeyCurrentUser, kRunKeyPath, kAppName, program);
        } else {
            DeleteRegistryValue(*m_platform.autostart, kHkeyCurrentUser, kRunKeyPath, kAppName);
        }
    }
    m_platform.settings->set(kAppName, kAppSection, kKeyStartWithWindows, BoolText(o.startWithWindows));
}

void WindowCommands::mnuPopupAbout_Click() {
    if (m_aboutBox) {
        m_aboutBox->raise();
        m_aboutBox->activateWindow();
        return;
    }
    const std::string about = AboutText(TRAFALO_VERSION_MAJOR, TRAFALO_VERSION_MINOR);
    QString text = QString::fromStdString(about);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); // a bare CR would show as a glyph
    m_aboutBox = new QMessageBox(QMessageBox::Information, QStringLiteral("Trafalo"), text,
                                 QMessageBox::Ok | QMessageBox::Cancel);
    m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    m_aboutBox->setWindowFlag(Qt::WindowStaysOnTopHint);
    QObject::connect(m_aboutBox, &QMessageBox::finished, &m_context, [this](int result) {
        m_aboutBox = nullptr;
        if (result == QMessageBox::Ok) {
            m_platform.shell->openUrl(std::string(kMakerAddress));
        }
    });
    m_aboutBox->show();
}

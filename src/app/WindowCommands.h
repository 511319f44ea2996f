#pragma once
// The window's own commands: the display modes, Transparent, Always on top,
// Start with Windows, About and Exit, and the options whose tools read them.
#include "core/Feature.h"

#include <QObject>
#include <functional>

class QMessageBox;
class QWidget;
struct Platform;

class WindowCommands : public Feature {
public:
    WindowCommands(Platform& platform, WindowHost& host, QWidget& window, std::function<Keys()> keyState,
                   std::string appFolder);

    void start(const StartupSettings& settings) override;
    void addMenuItems(MenuBuilder& menu) override;
    bool takeGesture(Gesture gesture) override;
    void addSettings(SettingsList& keys) const override;

    void mnuPopupTransparent_Click();
    void mnuPopupAlwaysOnTop_Click();
    void mnuPopupStartWithWindows_Click();
    void mnuPopupAbout_Click();
    // Window opacity 0..255: 0 on success, 1 for an alpha out of range, 2
    // when there is no window.
    static std::int32_t SetWindowAlpha(QWidget* window, std::int16_t alpha);

    // The About box while it is open, else nullptr.
    QMessageBox* AboutBox() const { return m_aboutBox; }

private:
    Platform& m_platform;
    WindowHost& m_host;
    QWidget& m_window;
    std::function<Keys()> m_keyState;
    std::string m_appFolder;
    QMessageBox* m_aboutBox = nullptr;
    QObject m_context;
};

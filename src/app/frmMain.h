#pragma once
// The main window: the program's composition root. It owns the controls and
// the features, lays the window out for each display mode, assembles the
// popup menu from the features and routes commands, clicks and gestures to
// the feature that owns them.
#include "app/Features.h"
#include "core/Feature.h"
#include "display/WindowControls.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QMenu;
class TrafficMonitor;
class TrayIcon;
class Placement;
class WindowCommands;
struct Platform;

class frmMain : public QWidget, private WindowHost {
public:
    explicit frmMain(Platform& platform);
    ~frmMain() override;

    // Start-up; false when another instance runs and this one must end.
    bool Form_Load();
    // Shutdown: every feature stops and the settings are saved, once.
    void Form_Unload();

    // Switches to display mode 0 Normal, 1 Small or 2 Tiny and lays the window out.
    void SetDisplayMode(std::int32_t mode);
    std::int32_t DisplayMode = 0;
    // Prepares the popup menu anew and shows it; opens nothing while Ctrl or
    // Shift is held, or once after a gesture set SuppressNextMenu.
    void picTray_Click();
    bool SuppressNextMenu = false;
    // Runs the command of the menu item with that name (and index, for the
    // indexed groups), as choosing it does. False when the menu has no such
    // item: a programming error.
    bool RunMenuCommand(std::string_view name, std::int16_t index = -1);
    // Items the features added that have no place in the menu or no command.
    std::vector<std::string> MenuProblems();

    // Button down on the graph at (x, y) in graph pixels with the modifier
    // keys, the pointer then at pressedAt on the screen.
    void picGraph_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y,
                            QPoint pressedAt = {});
    void picGraph_DblClick();

    // How long after a change the settings are saved: changes within it are
    // saved together, and a program that ends uncleanly loses no more.
    int SaveDelayMs = 3000;

    // The modifier keys held now; tests replace it.
    std::function<Qt::KeyboardModifiers()> KeyState;

    const Options& CurrentOptions() const { return m_options; }
    QLabel* Label(std::string_view name) const { return m_controls.Label(name); }
    WindowControls& Controls() { return m_controls; }
    TrafficMonitor& Monitor() { return *m_features.monitor; }
    TrayIcon& Tray() { return *m_features.tray; }
    Placement& Place() { return *m_features.placement; }
    WindowCommands& Commands() { return *m_features.commands; }
    // The menu shown last (nullptr before any).
    QMenu* PopupMenu() const { return m_mnuPopup; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // WindowHost
    Options& options() override { return m_options; }
    std::int32_t displayMode() const override { return DisplayMode; }
    void setDisplayMode(std::int32_t mode) override { SetDisplayMode(mode); }
    bool windowVisible() const override { return isVisible(); }
    ScreenPoint windowPlace() override;
    void resizeWindow(int width, int height) override;
    void openPopupMenu() override { picTray_Click(); }
    void endProgram() override { close(); }
    void settingsChanged() override;

    Keys keys() const;
    SettingsList currentSettings() const;
    void saveIfChanged();
    MenuNode prepareMenu(std::vector<std::string>* misplaced);
    void showPopupMenu(const MenuNode& menu);
    void offer(Gesture gesture);
    void bindGraph();
    bool routeLabelEvent(QObject* watched, QEvent* event);

    Platform& m_platform;
    std::string m_appFolder;
    Options m_options;
    WindowControls m_controls;
    FeatureSet m_features;
    QMenu* m_mnuPopup = nullptr;
    bool m_releaseEndsDoubleClick = false;
    QTimer m_saveTimer;
    SettingsList m_saved; // as last written
    bool m_unloaded = false;
    bool m_loaded = false;
};

#pragma once
// The main window: owns every object of the program for its whole life,
// binds the labels and the interface list to the sampler and the selection.
#include "app/AppSettings.h"
#include "app/Main.h"
#include "app/PopupMenu.h"
#include "display/TrafficDisplay.h"
#include "metrics/CPULoad.h"
#include "net/CIpHelper.h"
#include "net/InterfaceSelection.h"
#include "net/TrafficSampler.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

class GraphView;
class QComboBox;
class QLabel;
class QMenu;
class QMessageBox;
class QSystemTrayIcon;
struct Platform;

class frmMain : public QWidget, private TrafficSampler::Host, private InterfaceSelection::Host {
public:
    explicit frmMain(Platform& platform);
    ~frmMain() override;

    // Start-up; false when another instance runs and this one must end.
    bool Form_Load();
    // Shutdown: releases the CPU sampler and saves the settings.
    void Form_Unload();

    TrafficSampler& Sampler() { return *m_sampler; }
    InterfaceSelection& Selection() { return *m_selection; }
    const Options& CurrentOptions() const { return m_options; }
    QLabel* Label(const std::string& name) const;
    QComboBox* ConnectionList() const { return m_cboConnectionType; }
    std::int32_t DisplayMode = 0;

    // The per-sample display entry point.
    void RefreshTrafficDisplay(std::int32_t& download, std::int32_t& upload);
    // Switches to display mode 0 Normal, 1 Small or 2 Tiny and lays the window out.
    void SetDisplayMode(std::int32_t& mode);
    void ShowStatisticsLabels(bool visible);
    // The notification-area icon, present while the window is hidden.
    void AddTrayIcon();
    void UpdateTrayIcon(bool& idle);
    void RemoveTrayIcon();
    // The mouse message the icon reports (513 left down, 516 right down).
    void picTray_MouseMove(int message);
    // Hide to the notification area, or show the window again.
    void mnuPopupHide_Click();
    // Prepares the popup menu anew and shows it; opens nothing while Ctrl or
    // Shift is held, or once after a gesture set SuppressNextMenu.
    void picTray_Click();
    // The menu shown last (nullptr before any).
    QMenu* PopupMenu() const { return m_mnuPopup; }
    // Runs the command of the menu item with that name (and index, for the
    // indexed groups), as choosing it does.
    void RunMenuCommand(const std::string& name, std::int16_t index = -1);

    // The menu commands.
    void mnuWindowType_Click(std::int16_t index);
    void mnuPopupTransparent_Click();
    void mnuPopupSound_Click();
    void mnuShowExtendedButton_Click();
    void mnuShowBandwidth_Click();
    void mnuBattery_Click();
    void mnuShowRealIP_Click();
    void mnuSystemTrayIconTypeAnalog_Click();
    void mnuSystemTrayIconTypeDigital_Click();
    void mnuNetCard_Click(std::int16_t index);
    void mnuNetworkConnections_Click();
    void mnuPopupAlwaysOnTop_Click();
    void mnuPopupStartWithWindows_Click();
    void mnuPopupAbout_Click();
    void mnuPopupExit_Click();
    // The About box while it is open, else nullptr.
    QMessageBox* AboutBox() const { return m_aboutBox; }

    // Label and picture handlers of the window.
    void lblCredit_Click();
    void lblTitle_DblClick(std::int16_t index);
    void lblSpeed_DblClick(std::int16_t index);
    void imgBottom_DblClick();
    // A button went down on a drag area: left drags the window, right opens
    // the menu, any other does nothing.
    void DragOrMenu(Qt::MouseButton button);
    // Window opacity 0..255: 0 on success, 1 for an alpha out of range, 2
    // when the window has no native window yet.
    std::int32_t SetWindowAlpha(QWidget* window, std::int16_t alpha);
    // The snapping tick: pulls the window flush to an edge within 16 pixels.
    void tmrFormMove_Timer();
    bool FormMoveTimerActive() const { return m_tmrFormMove.isActive(); }
    // Milliseconds until the sampler's next tick, -1 while it is stopped.
    int UpdateTimerRemainingMs() const { return m_tmrUpdate.isActive() ? m_tmrUpdate.remainingTime() : -1; }

    // The modifier keys held now; tests replace it.
    std::function<Qt::KeyboardModifiers()> KeyState;

    void picGraph_DblClick();
    // Button down on the graph at (x, y) in graph pixels with the modifier keys.
    void picGraph_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y);
    void mnuTaskManager_Click();

    TrafficDisplay& Display() { return m_display; }
    QSystemTrayIcon* TrayIcon() const { return m_trayIcon; }
    QWidget* Graph() const;
    // Window-type check marks (exactly one after SetDisplayMode with 0..2).
    bool WindowTypeChecked(int mode) const { return mode >= 0 && mode < 3 && m_windowTypeChecked[mode]; }
    void SetOptions(const Options& options) { m_options = options; }
    // True when start-up put the window into the notification area.
    bool StartsHidden() const { return m_startHidden; }
    bool SuppressNextMenu = false;
    bool VolumeButtonRequested = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // TrafficSampler::Host
    void setUpdateTimerEnabled(bool enabled) override;
    void restartResetTimer() override;
    void lockDrawing(bool locked) override;
    void setCaption(TrafficSampler::Label label, const std::string& text) override;
    void setToolTip(TrafficSampler::Label label, const std::string& text) override;
    void setLinkSpeedToolTip(const std::string& text) override;
    bool soundOnError() override;
    void refreshIpAddresses() override;
    void refreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) override;
    // InterfaceSelection::Host
    void clearHistories() override;
    void resetTopSpeeds() override;
    std::string linkSpeedToolTip() override;
    void selectionViewsChanged() override;

    void buildControls();
    void showPopupMenu(const MenuNode& menu);
    void armFormMoveTimer();
    MenuState menuState(Qt::KeyboardModifiers keys) const;
    QLabel* samplerLabel(TrafficSampler::Label label) const;

    Platform& m_platform;
    NumberSeparators m_separators;
    std::string m_appFolder;
    Options m_options;
    std::unique_ptr<CPULoad> m_cpuLoad;
    std::unique_ptr<CIpHelper> m_ipHelper;
    std::unique_ptr<InterfaceSelection> m_selection;
    std::unique_ptr<TrafficSampler> m_sampler;
    TrafficDisplay m_display;
    bool m_windowTypeChecked[3] = {false, false, false};
    QSystemTrayIcon* m_trayIcon = nullptr;
    std::string m_trayToolTip;
    std::string m_excludedDriveLetters;
    std::int32_t m_autoFreeMemMB = 10;
    bool m_unloaded = false;
    bool m_startHidden = false; // hidden in the notification area since start-up
    bool m_fillingList = false;

    QMenu* m_mnuPopup = nullptr;
    QMessageBox* m_aboutBox = nullptr;
    bool m_killProcessesVisible = false;
    bool m_movedSinceTick = false;
    bool m_releaseEndsDoubleClick = false;
    bool m_updateTimerEnabled = false;

    QTimer m_tmrUpdate;
    QTimer m_tmrReset;
    QTimer m_tmrFormMove;
    std::map<std::string, QLabel*> m_labels;
    GraphView* m_picGraph = nullptr;
    QLabel* m_picTray = nullptr;
    QComboBox* m_cboConnectionType = nullptr;
};

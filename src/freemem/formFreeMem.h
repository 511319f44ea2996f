#pragma once
// The Free Memory window: free RAM as a bar, a meter graph of memory use,
// freeing on demand (the button, Escape to stop) and automatically at a
// peak level of use while the window sits in the notification area, with
// an icon of its own there.
#include "display/clsSystray.h"
#include "freemem/FreeMemLogic.h"
#include "freemem/FreeMemServices.h"
#include "freemem/MeterGraph.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QShortcut;
class formFreeMemSetup;

class formFreeMem : public QWidget {
public:
    // arguments: the command line without the program's own path.
    formFreeMem(FreeMemServices system, std::vector<std::string> arguments, int versionMajor,
                int versionMinor);
    ~formFreeMem() override;

    // Loads the window: the icon's owner, the settings, the meters, tray
    // mode. Called once, before it is first shown.
    void Form_Load();

    void btnFree_Click();
    void CheckMemory();
    std::int64_t AvailablePhysicalMemory();
    void UpdateStatus();
    void Timer2_Timer();
    void HScroll1_Change();
    void mnuShow_Click();
    void mnuMemSetup_Click();
    void mnuAutoFree_Click();
    void ShowTray();
    void HideTray();
    // Every second: a window hidden in the notification area shows when the
    // area goes away (it could not be reached again) and goes back in when
    // the area returns (a panel restart).
    void CheckNotificationArea();
    // A notification of the tray icon, as its mouse message.
    void TrayMessage(int message);

    std::int32_t AutoFreePeak = 95;
    std::int32_t AutoFreeMB = 10;
    bool StopRequested = true;
    bool Freeing() const { return m_freeing; }

    // Whether a notification area can show the icon now; tests replace it.
    std::function<bool()> TrayAvailable;

    QScrollBar* HScroll1() const { return m_hscroll; }
    QPushButton* btnFree() const { return m_btnFree; }
    QLabel* lblStatus() const { return m_lblStatus; }
    QLabel* lblFreeMem() const { return m_lblFreeMem; }
    QLabel* picStat() const { return m_picStat; }
    QFrame* Picture2() const { return m_picture2; }
    QMenu* mnuMain() const { return m_mnuMain; }
    QAction* Item(const char* name) const;
    clsSystray& TrayIcon() { return m_trayIcon; }
    QTimer& Timer1() { return m_timer1; }
    const MeterGraph& Meter() const { return m_meter; }
    formFreeMemSetup* Setup() const;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void armTimer2();
    void vbPopupMenu(QAction* defaultItem);
    void moveBar(double share);
    bool trayAvailable() const { return TrayAvailable && TrayAvailable(); }
    // Shown only because the notification area went away.
    bool m_returnToArea = false;
    int m_areaMissing = 0; // checks in a row that found no notification area

    FreeMemServices m_system;
    std::vector<std::string> m_arguments;
    int m_major;
    int m_minor;
    clsSystray m_trayIcon;
    MeterGraph m_meter;
    AutoFreeTrigger m_autoFree;
    QTimer m_timer1;
    QTimer m_timer2;
    QTimer m_toTray; // minimised: into the notification area once the change is done
    QFrame* m_picture1 = nullptr;
    QFrame* m_picture2 = nullptr;
    QLabel* m_lblFreeMem = nullptr;
    QScrollBar* m_hscroll = nullptr;
    QPushButton* m_btnFree = nullptr;
    QLabel* m_picStat = nullptr;
    QLabel* m_lblStatus = nullptr;
    QLabel* m_lblCredits = nullptr;
    QMenu* m_mnuMain = nullptr;
    QShortcut* m_escape = nullptr;
    QPointer<formFreeMemSetup> m_setup;
    bool m_freeing = false;
    bool m_loaded = false;
    bool m_unloaded = false;
};

#pragma once
// The drive tools of the main window: "Eject All USB devices" (the menu and
// the Tiny layout's Shift gesture), the letters excluded from it, and in the
// Tiny layout the extended button: an eject button while a USB drive is
// present, else a speaker button, polled every 5 s, with the drive list that
// drops down when the pointer rests on either.
#include "core/Feature.h"
#include "drives/UsbDrives.h"

#include <QObject>
#include <QTimer>
#include <functional>

class IAlert;
class QMenu;
class QPushButton;
class QWidget;
class IClock;
class IDrives;
class IShell;
class ISettingsStore;
class ISpeakers;
class WindowHost;

// The parts of the system the drive tools use.
struct DriveServices {
    IDrives& drives;
    IClock& clock;
    ISettingsStore& settings;
    IShell& shell;
    ISpeakers& speakers; // the extended button's speaker
};

class RemovableDrives : public Feature, public QObject {
public:
    RemovableDrives(DriveServices services, WindowHost& host, QWidget& window, QWidget& graph, IAlert& alert,
                    std::function<Keys()> keyState);
    ~RemovableDrives() override;

    void start(const StartupSettings& settings) override;
    void started() override;
    void modeChanged(std::int32_t mode) override;
    void graphPointerMoved(int x, int y) override;
    void windowDeactivated() override;
    void sampled() override;
    void addMenuItems(MenuBuilder& menu) override;
    bool takeGesture(Gesture gesture) override;
    void addSettings(SettingsList& keys) const override;

    // Ejects every USB drive, one after the other; ignored while one runs.
    void mnuEjectAllUSB_Click();
    void mnuExcludeDrive_Click(std::int16_t Index);
    void mnuShowExtendedButton_Click();
    void tmrPollUSB_Timer();
    void tmrDropDown_Timer();

    UsbDrives& usbDrives() { return m_usb; }
    QPushButton* btnEjectUSB() const { return m_btnEjectUSB; }
    QPushButton* btnVolume() const { return m_btnVolume; }
    QMenu* Drives() const { return m_Drives; }
    // The main window unloads: nothing polls or resizes it after.
    void stop() override;

    QTimer& PollTimer() { return m_tmrPollUSB; }
    QTimer& DropDownTimer() { return m_tmrDropDown; }

    // The button column's width, and where it stands.
    static constexpr int kButtonColumn = 28;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openDrive(const std::string& name);
    void reassertWindow();
    // Draws the speaker button for that mute state, when it shows another.
    void drawSpeaker(std::int32_t muted);

    DriveServices m_system;
    WindowHost& m_host;
    QWidget& m_window;
    QWidget& m_graph;
    IAlert& m_alert;
    std::function<Keys()> m_keyState;
    UsbDrives m_usb;
    QPushButton* m_btnEjectUSB = nullptr;
    QPushButton* m_btnVolume = nullptr;
    QMenu* m_Drives = nullptr;
    QTimer m_tmrPollUSB;
    QTimer m_tmrDropDown;
    bool VolumeButtonRequested = false;
    std::int32_t PollTickCount = 0;
    int m_samplesSincePoll = 0;
    std::int32_t m_speakerMuted = -1; // the state the speaker button shows, -1 none yet
    bool m_started = false;
};

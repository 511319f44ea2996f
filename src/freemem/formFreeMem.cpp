#include "freemem/formFreeMem.h"

#include "core/LongOperation.h"
#include "core/NumberFormat.h"
#include "core/PopupMenu.h"
#include "core/ProgramWindows.h"
#include "core/SecondTick.h"
#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "freemem/FreeOperation.h"
#include "freemem/formFreeMemSetup.h"
#include "platform/IClock.h"
#include "platform/IMemoryClaim.h"
#include "platform/ISettingsStore.h"
#include "platform/IShell.h"
#include "platform/ISystemInfo.h"
#include "resources/Pictures.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSystemTrayIcon>

namespace {

constexpr int kTimer1Ms = 3000;
constexpr int kWidth = 312;
constexpr int kHeight = 116;
const QRect kPicture1(5, 4, 186, 28);
const QRect kHScroll1(5, 38, 186, 20);
const QRect kBtnFree(198, 34, 109, 31);
const QRect kPicStat(198, 2, 108, 30);
const QRect kLblStatus(4, 68, 304, 28);
const QRect kLblCredits(4, 96, 304, 16);

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::int32_t storedInt(ISettingsStore& store, const char* key, std::int32_t design) {
    // A value that is not a number keeps the design value: read as 0, a
    // peak of 0 % would start an automatic free every three seconds.
    return ParseInt32(store.get(kFreeMemAppName, kFreeMemSection, key, std::to_string(design)))
        .value_or(design);
}

} // namespace

formFreeMem::formFreeMem(FreeMemServices system, std::vector<std::string> arguments, int versionMajor,
                         int versionMinor)
    : QWidget(nullptr, Qt::Window), m_system(system), m_arguments(std::move(arguments)),
      m_major(versionMajor), m_minor(versionMinor),
      m_meter(kPicStat.width(), kPicStat.height(), devicePixelRatioF()) {
    TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("formFreeMem"));
    setWindowTitle(QStringLiteral("Free Memory"));
    setWindowIcon(MemoryIcon());
    setFixedSize(kWidth, kHeight);
    buildControls();
    m_timer1.setInterval(kTimer1Ms);
    // The graph's second is the main window's: both wake just after the
    // wall clock's second turns, in one wake-up of the program.
    m_timer2.setSingleShot(true);
    m_timer2.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, [this] { CheckMemory(); });
    connect(&m_timer2, &QTimer::timeout, this, [this] {
        Timer2_Timer();
        CheckNotificationArea();
        armTimer2();
    });
    m_trayIcon.OwnerMessage = [this](int message) { TrayMessage(message); };
    m_toTray.setSingleShot(true);
    m_toTray.setInterval(0);
    connect(&m_toTray, &QTimer::timeout, this, [this] {
        m_trayIcon.AddIconToTray(windowIcon(), windowTitle().toStdString(), true);
        // Back to the normal state first: leaving the minimised state maps
        // the window again, so it is hidden after.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        hide();
    });
}

formFreeMem::~formFreeMem() = default;

formFreeMemSetup* formFreeMem::Setup() const {
    return m_setup;
}

void formFreeMem::buildControls() {
    m_picture1 = new QFrame(this);
    m_picture1->setGeometry(kPicture1);
    m_picture1->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_picture1->setAutoFillBackground(true);
    m_picture1->setPalette(QPalette(Qt::black, Qt::white));
    m_picture2 = new QFrame(m_picture1);
    m_picture2->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_picture2->setAutoFillBackground(true);
    QPalette bar;
    bar.setColor(QPalette::Window, QColor(192, 192, 255));
    m_picture2->setPalette(bar);
    m_picture2->setGeometry(-2, -2, 0, kPicture1.height() + 4);
    m_lblFreeMem = new QLabel(QStringLiteral("0%"), m_picture2);
    m_lblFreeMem->setAlignment(Qt::AlignCenter);
    m_lblFreeMem->setGeometry(0, 2, 0, kPicture1.height());

    m_hscroll = new QScrollBar(Qt::Horizontal, this);
    m_hscroll->setObjectName(QStringLiteral("HScroll1"));
    m_hscroll->setGeometry(kHScroll1);
    m_hscroll->setRange(0, 32767);
    m_hscroll->setPageStep(10);
    m_hscroll->setFocusPolicy(Qt::StrongFocus);
    connect(m_hscroll, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });

    m_btnFree = new QPushButton(QStringLiteral("Free"), this);
    m_btnFree->setObjectName(QStringLiteral("btnFree"));
    m_btnFree->setGeometry(kBtnFree);
    connect(m_btnFree, &QPushButton::clicked, this, [this] { btnFree_Click(); });
    // The cancel button while a free runs: Escape stops it.
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, [this] { btnFree_Click(); });

    m_picStat = new QLabel(this);
    m_picStat->setObjectName(QStringLiteral("picStat"));
    m_picStat->setGeometry(kPicStat);
    m_picStat->setPixmap(QPixmap::fromImage(m_meter.Picture()));

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setGeometry(kLblStatus);
    m_lblCredits = new QLabel(QStringLiteral("Free Memory, a Trafalo tool"), this);
    m_lblCredits->setGeometry(kLblCredits);
    m_lblCredits->setStyleSheet(QStringLiteral("color: blue"));
    m_lblCredits->setToolTip(
        QString::fromUtf8(kMakerAddress.data(), static_cast<qsizetype>(kMakerAddress.size())));
    m_lblCredits->setCursor(Qt::PointingHandCursor);
    // Clicks on the bar and the status line check the memory at once (and
    // stop a running free); a click on the credit opens its address.
    for (QWidget* w : {static_cast<QWidget*>(m_picture1), static_cast<QWidget*>(m_picture2),
                       static_cast<QWidget*>(m_lblFreeMem), static_cast<QWidget*>(m_lblStatus),
                       static_cast<QWidget*>(m_lblCredits)}) {
        w->installEventFilter(this);
    }

    m_mnuMain = new QMenu(this);
    m_mnuMain->setObjectName(QStringLiteral("mnuMain"));
    auto item = [this](const char* name, const char* caption) {
        QAction* a = m_mnuMain->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    connect(item("mnuShow", "&Show Free Memory"), &QAction::triggered, this, [this] { mnuShow_Click(); });
    m_mnuMain->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    connect(item("mnuMemSetup", "Auto Free Memory Setup"), &QAction::triggered, this,
            [this] { mnuMemSetup_Click(); });
    QAction* autoFree = item("mnuAutoFree", "Auto Free Memory");
    autoFree->setCheckable(true);
    autoFree->setChecked(true);
    connect(autoFree, &QAction::triggered, this, [this] { mnuAutoFree_Click(); });
    m_mnuMain->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));
    connect(item("mnuExit", "E&xit"), &QAction::triggered, this, [this] { close(); });
}

QAction* formFreeMem::Item(const char* name) const {
    return m_mnuMain->findChild<QAction*>(QString::fromLatin1(name));
}

void formFreeMem::Form_Load() {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    // The other-instance check was made by the program's start-up: this
    // window is opened only by a main window that passed it.
    m_trayIcon.SetOwner(this);
    m_trayIcon.SetEnabled(true);
    m_trayIcon.SetTooltip(windowTitle().toStdString());
    ISettingsStore& store = m_system.settings;
    AutoFreePeak = storedInt(store, kKeyAutoFreeMemPeak, 95);
    AutoFreeMB = storedInt(store, kKeyAutoFreeMemMB, 10);
    m_meter.DrawMeterGrid();
    m_picStat->setPixmap(QPixmap::fromImage(m_meter.Picture()));
    ProgramWindows::Loaded(this, [this] { close(); });
    m_timer1.start();
    armTimer2();
    CheckMemory();
    m_hscroll->setValue(m_hscroll->maximum());
    HScroll1_Change();
    if (TrayModeRequested(m_arguments, store.get(kFreeMemAppName, kFreeMemSection, kKeyFreeMemTray, "0"))) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
        ShowTray();
    }
}

void formFreeMem::UpdateStatus() {
    const MemoryStatus s = GetMemoryStatus(m_system.system);
    CurrentMemoryStatus = s;
    if (s.TotalPhys <= 0) {
        return; // nothing to show: the texts stay as they were
    }
    m_lblStatus->setText(q(FreeMemStatusLine(s)));
    m_lblStatus->setToolTip(q(FreeMemStatusTip(s)));
    const std::string title = FreeMemTitle(s, m_major, m_minor);
    setWindowTitle(q(title));
    m_trayIcon.SetTooltip(FreeMemTrayTip(title, s));
    m_trayIcon.RefreshIcon();
}

void formFreeMem::moveBar(double share) {
    const int width = static_cast<int>(share * m_picture1->width());
    m_picture2->setGeometry(-2, -2, width, m_picture1->height() + 4);
}

void formFreeMem::CheckMemory() {
    StopRequested = true;
    UpdateStatus();
    const MemoryStatus& s = CurrentMemoryStatus;
    if (const auto maximum = FreeSliderMaximum(s)) {
        m_hscroll->setMaximum(*maximum); // the value follows it down
    }
    if (s.TotalPhys > 0) {
        const double share = static_cast<double>(s.AvailPhys) / static_cast<double>(s.TotalPhys);
        moveBar(share);
        m_lblFreeMem->setGeometry(0, m_lblFreeMem->y(), m_picture2->width(), m_lblFreeMem->height());
        m_lblFreeMem->setText(q(FormatNumber(share, "#0.0%")));
        m_lblFreeMem->setToolTip(q(FormatNumber(static_cast<double>(s.AvailPhys) / 1024, "#,##0.0 KB RAM")));
    }
    if (m_freeing) {
        return; // the running free's own end checks again
    }
    const bool checked = Item("mnuAutoFree")->isChecked();
    if (m_autoFree.ShouldRun(checked, isVisible(), AutoFreePeak, s, m_system.clock.tickMs())) {
        HideTray();
        m_hscroll->setValue(AutoFreeMB);
        QPointer<formFreeMem> self(this);
        btnFree_Click();
        if (!self) {
            return;
        }
        ShowTray();
        m_autoFree.Ran(AtPeak(AutoFreePeak, CurrentMemoryStatus), m_system.clock.tickMs());
    }
}

std::int64_t formFreeMem::AvailablePhysicalMemory() {
    return GetMemoryStatus(m_system.system).AvailPhys;
}

void formFreeMem::btnFree_Click() {
    if (m_freeing) {
        CheckMemory(); // asks the running free to stop
        return;
    }
    auto operation = LongOperation::Begin(this, "free memory", this);
    if (!operation) {
        return;
    }
    m_freeing = true;
    m_btnFree->setText(QStringLiteral("&Stop"));
    m_escape->setEnabled(true);
    m_hscroll->setEnabled(false);
    m_timer1.stop();
    m_lblFreeMem->clear();
    UpdateStatus();
    StopRequested = false;
    const std::int32_t count = m_hscroll->value();
    QPointer<formFreeMem> self(this);
    const std::int64_t totalPhys = CurrentMemoryStatus.TotalPhys;
    if (m_system.memoryClaim) {
        RunFree(*m_system.memoryClaim, count, totalPhys, [&](std::int32_t step) {
            moveBar(static_cast<double>(step) / count);
            UpdateStatus();
            if (!operation->Yield() || !self) {
                return false; // the program ends, or this window is gone
            }
            return !StopRequested;
        });
    }
    if (!self) {
        return;
    }
    m_freeing = false;
    CheckMemory();
    m_timer1.start();
    m_escape->setEnabled(false);
    m_hscroll->setEnabled(true);
    HScroll1_Change();
}

void formFreeMem::armTimer2() {
    m_timer2.start(MsToNextTick(m_system.clock.wallMs()));
}

void formFreeMem::Timer2_Timer() {
    m_meter.Tick(CurrentMemoryStatus);
    if (CurrentMemoryStatus.TotalPhys > 0) {
        m_picStat->setToolTip(q(MeterToolTip(CurrentMemoryStatus)));
    }
    // Hidden in the tray the graph goes on, but is only turned into a
    // picture on the screen when it can be seen.
    if (isVisible()) {
        m_picStat->setPixmap(QPixmap::fromImage(m_meter.Picture()));
    }
}

void formFreeMem::showEvent(QShowEvent* event) {
    m_picStat->setPixmap(QPixmap::fromImage(m_meter.Picture()));
    QWidget::showEvent(event);
}

void formFreeMem::HScroll1_Change() {
    // The scroll bar keeps its value within its range itself.
    if (!m_freeing) {
        m_btnFree->setText(q(FreeButtonCaption(m_hscroll->value())));
    }
}

void formFreeMem::TrayMessage(int message) {
    if (message == 514) {
        mnuShow_Click();
    } else if (message == 517) {
        vbPopupMenu(Item("mnuShow"));
    }
}

void formFreeMem::vbPopupMenu(QAction* defaultItem) {
    activateWindow();
    m_mnuMain->setDefaultAction(defaultItem); // shown bold
    m_mnuMain->popup(QCursor::pos());
}

void formFreeMem::CheckNotificationArea() {
    if (m_trayIcon.IsIconInTray() && !isVisible() && !trayAvailable()) {
        // Gone for two checks running: one answer lost on a busy bus is no panel restart.
        if (++m_areaMissing < 2) {
            return;
        }
        m_areaMissing = 0;
        HideTray();
        m_returnToArea = true;
        return;
    }
    m_areaMissing = 0;
    if (m_returnToArea && trayAvailable()) {
        m_returnToArea = false;
        if (isVisible()) {
            ShowTray();
        }
    }
}

void formFreeMem::mnuShow_Click() {
    m_returnToArea = false; // the user decides now
    if (isVisible()) {
        ShowTray();
    } else {
        HideTray();
    }
}

void formFreeMem::ShowTray() {
    // Hidden behind an icon nobody can see, the window could not be reached
    // again: without a notification area it is minimised instead.
    if (!trayAvailable()) {
        showMinimized();
        return;
    }
    m_trayIcon.AddIconToTray(windowIcon(), windowTitle().toStdString(), true);
    m_trayIcon.SetTooltip(FreeMemTrayTip(windowTitle().toStdString(), CurrentMemoryStatus));
    m_trayIcon.RefreshIcon();
    hide();
}

void formFreeMem::HideTray() {
    showNormal();
    if (isVisible()) {
        m_trayIcon.RemoveIconFromTray();
        activateWindow();
        raise();
    }
}

void formFreeMem::mnuMemSetup_Click() {
    if (m_setup) {
        m_setup->raise();
        m_setup->activateWindow();
        return;
    }
    m_timer1.stop();
    // The setup is a child window: it closes before this window is gone.
    m_setup = new formFreeMemSetup(m_system.settings, this, [this](int peak, int amount) {
        AutoFreePeak = peak;
        AutoFreeMB = amount;
        // A free under way restarts the check when it ends: started now, the
        // check would stop the free at its next tick.
        if (!m_freeing && !m_unloaded) {
            m_timer1.start();
        }
    });
    m_setup->show();
}

void formFreeMem::mnuAutoFree_Click() {
    // The action has toggled its own check mark; it is not stored.
}

void formFreeMem::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized() || !trayAvailable()) {
        return;
    }
    // Minimising moves the window into the notification area, back in the
    // normal state for when it is shown again. Done after the window system
    // has finished the change.
    m_toTray.start();
}

void formFreeMem::closeEvent(QCloseEvent* event) {
    // A running free unwinds first (it stops at its next step); the close follows.
    if (m_freeing && LongOperation::DeferEnd(this, [self = QPointer<formFreeMem>(this)] {
            if (self) {
                self->close();
            }
        })) {
        event->ignore();
        return;
    }
    if (m_unloaded) {
        event->accept();
        return;
    }
    m_unloaded = true;
    if (m_setup) {
        m_setup->close(); // stores its values
    }
    m_timer1.stop();
    m_timer2.stop();
    const Qt::WindowStates state = windowState();
    const int number = (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0;
    m_system.settings.set(kFreeMemAppName, kFreeMemSection, kKeyFreeMemTray, std::to_string(number));
    m_trayIcon.RemoveIconFromTray();
    event->accept();
    ProgramWindows::Unloaded(this);
}

bool formFreeMem::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_lblCredits) {
            m_system.shell.openUrl(std::string(kMakerAddress));
        } else {
            CheckMemory();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

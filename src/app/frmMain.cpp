#include "frmMain.h"

#include "GraphView.h"
#include "TextLabel.h"
#include "WindowHelpers.h"
#include "app/SettingsKeys.h"
#include "display/Layout.h"
#include "metrics/MemoryStatus.h"
#include "platform/Platform.h"
#include "resources/Pictures.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>
#include <utility>

namespace {

QColor toColor(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

QFont fontOf(std::string_view family, double points, bool bold) {
    return DisplayFont(QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size())), points,
                       bold);
}

Qt::Alignment alignmentOf(Align align) {
    switch (align) {
    case Align::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

const char* labelName(TrafficSampler::Label label) {
    switch (label) {
    case TrafficSampler::Label::Recv:
        return "lblRecv";
    case TrafficSampler::Label::Sent:
        return "lblSent";
    case TrafficSampler::Label::DSpeed:
        return "lblDSpeed";
    case TrafficSampler::Label::USpeed:
        return "lblUSpeed";
    case TrafficSampler::Label::Speed0:
        return "lblSpeed(0)";
    case TrafficSampler::Label::Speed1:
        return "lblSpeed(1)";
    case TrafficSampler::Label::Speed2:
        return "lblSpeed(2)";
    case TrafficSampler::Label::Speed3:
        return "lblSpeed(3)";
    }
    return "";
}

NumberSeparators userSeparators() {
    const QLocale locale = QLocale::system();
    return NumberSeparators{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

} // namespace

frmMain::frmMain(Platform& platform)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), m_platform(platform),
      m_display(TrafficDisplay::Sources{
          [this] { return m_cpuLoad ? m_cpuLoad->GetAllCPUUsage() : 0; },
          [this] { return GetMemoryStatus(*m_platform.system); },
          [this] { return m_platform.power ? m_platform.power->read() : std::optional<PowerStatus>(); }}) {
    KeyState = [] { return QGuiApplication::queryKeyboardModifiers(); };
    // The sampler's timer wakes once a second, just after the second turns,
    // re-armed after every tick.
    m_tmrUpdate.setSingleShot(true);
    m_tmrUpdate.setTimerType(Qt::PreciseTimer);
    m_tmrReset.setInterval(20000);
    m_tmrFormMove.setInterval(50);
    connect(&m_tmrUpdate, &QTimer::timeout, this, [this] {
        m_sampler->tmrUpdate_Timer();
        // A tick that took no sample (the same second, no interface) left
        // the timer asleep.
        if (m_updateTimerEnabled && !m_tmrUpdate.isActive()) {
            setUpdateTimerEnabled(true);
        }
    });
    connect(&m_tmrReset, &QTimer::timeout, this, [this] { m_sampler->tmrReset_Timer(); });
    connect(&m_tmrFormMove, &QTimer::timeout, this, [this] { tmrFormMove_Timer(); });
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, [this] { armFormMoveTimer(); });
    }
    buildControls();
}

frmMain::~frmMain() = default;

void frmMain::buildControls() {
    setFixedSize(kNormalWidth, kNormalHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toColor(kPanelBlue));
    setPalette(palette);
    setAutoFillBackground(true);

    setWindowIcon(WindowIcon());
    // The strip's rows are of one colour each: scaled to the strip's height
    // once and tiled across, it looks the same as the picture stretched over
    // the whole width, which QLabel would keep as a 100 KB copy.
    auto* imgBottom = new QLabel(this);
    imgBottom->setGeometry(0, 0, kImgBottomWidth, kImgBottomHeight);
    QPalette stripPalette = imgBottom->palette();
    stripPalette.setBrush(QPalette::Window,
                          QBrush(DrawTitleStrip().scaled(4, kImgBottomHeight, Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation)));
    imgBottom->setPalette(stripPalette);
    imgBottom->setAutoFillBackground(true);
    m_labels["imgBottom"] = imgBottom;

    m_picTray = new QLabel(this);
    m_picTray->setGeometry(kPicTrayLeft, kPicTrayTop, kPicTraySize, kPicTraySize);
    m_picTray->setPixmap(QPixmap::fromImage(DrawGlobe(32)));

    m_picGraph = new GraphView(this);
    m_picGraph->setGeometry(kGraphLeft, kGraphTop, kGraphWidth, kGraphHeight);
    m_picGraph->setImage(&m_display.Graph());
    m_picGraph->onDoubleClick = [this](QMouseEvent*) {
        m_releaseEndsDoubleClick = true;
        picGraph_DblClick();
    };
    m_picGraph->onPress = [this](QMouseEvent* event) {
        picGraph_MouseDown(event->button(), KeyState(), static_cast<int>(event->position().x()),
                           static_cast<int>(event->position().y()));
    };
    m_picGraph->onRelease = [this](QMouseEvent*) {
        // The release that ends a double click belongs to it: the new layout
        // must not come up under a menu.
        if (std::exchange(m_releaseEndsDoubleClick, false)) {
            return;
        }
        picTray_Click();
    };

    m_cboConnectionType = new QComboBox(this);
    m_cboConnectionType->setGeometry(kComboLeft, kComboTop, kComboWidth, kComboHeight);
    m_cboConnectionType->setFont(fontOf("Tahoma", 9.75, false));
    // Colours through the palette: a style sheet would load Qt's style sheet
    // engine, some 600 KB of the process, for one control.
    QPalette listPalette = m_cboConnectionType->palette();
    for (QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window}) {
        listPalette.setColor(role, toColor(kPanelBlue));
    }
    for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
        listPalette.setColor(role, Qt::black);
    }
    m_cboConnectionType->setPalette(listPalette);
    connect(m_cboConnectionType, &QComboBox::activated, this, [this](int index) {
        if (!m_fillingList) {
            m_selection->SetListIndex(index);
        }
    });

    for (const ControlSpec& control : NormalLayoutLabels()) {
        const QString caption =
            QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size()));
        // The labels over the graph are repainted with it every second; the
        // others only when their own text changes, so a kept picture would
        // only cost memory.
        QLabel* label = control.inGraph ? new TextLabel(caption, m_picGraph) : new QLabel(caption, this);
        label->setGeometry(control.left, control.top, control.width, control.height);
        label->setFont(fontOf(control.font, control.points, control.bold));
        label->setAlignment(alignmentOf(control.align));
        QPalette labelPalette = label->palette();
        labelPalette.setColor(QPalette::WindowText, toColor(control.fore));
        labelPalette.setColor(QPalette::Window, toColor(control.back));
        label->setPalette(labelPalette);
        label->setAutoFillBackground(!control.transparent);
        label->setObjectName(
            QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size())));
        label->installEventFilter(this);
        m_labels[std::string(control.name)] = label;
    }
    Label("lblCredit")
        ->setToolTip(QString::fromLatin1(kMakerAddress.data(), static_cast<qsizetype>(kMakerAddress.size())));
    // The title label lies over the gradient strip; the list lies over " Net:".
    m_labels["lblTitle(0)"]->raise();
    m_picTray->raise();
    imgBottom->setObjectName(QStringLiteral("imgBottom"));
    imgBottom->installEventFilter(this);
    m_picTray->installEventFilter(this);
    m_cboConnectionType->raise();
}

QLabel* frmMain::Label(const std::string& name) const {
    const auto found = m_labels.find(name);
    return found == m_labels.end() ? nullptr : found->second;
}

QLabel* frmMain::samplerLabel(TrafficSampler::Label label) const {
    return Label(labelName(label));
}

bool frmMain::Form_Load() {
    if (!m_platform.instanceLock->acquire()) {
        return false;
    }
    m_appFolder = AppFolderFrom(programFolder());
    m_cpuLoad = std::make_unique<CPULoad>(*m_platform.system);
    const StartupSettings settings = ReadStartupSettings(*m_platform.settings, m_appFolder, "C");
    m_excludedDriveLetters = settings.excludedDriveLetters;
    m_separators = userSeparators();

    m_ipHelper = std::make_unique<CIpHelper>(*m_platform.network);
    m_selection = std::make_unique<InterfaceSelection>(*m_ipHelper, *m_platform.settings,
                                                       static_cast<InterfaceSelection::Host&>(*this));
    m_sampler = std::make_unique<TrafficSampler>(
        TrafficSampler::Services{*m_ipHelper, *m_selection, *m_platform.clock, *m_platform.sound,
                                 *m_platform.shell},
        static_cast<TrafficSampler::Host&>(*this));
    m_sampler->Start(m_appFolder, settings.notifyError, m_separators);
    m_autoFreeMemMB = settings.autoFreeMemMB;

    setWindowTitle(QStringLiteral("Trafalo"));
    m_selection->Build();
    m_selection->SelectSaved();
    m_options = settings.options;
    // Both options start off and are turned on by their commands, which
    // apply them to the window as well.
    m_options.alwaysOnTop = false;
    m_options.transparent = false;
    m_killProcessesVisible = FileExists(m_appFolder + "killlist.txt");
    if (settings.options.alwaysOnTop) {
        mnuPopupAlwaysOnTop_Click();
    }
    if (settings.options.transparent) {
        mnuPopupTransparent_Click();
    }
    std::int32_t mode = settings.smallUI;
    SetDisplayMode(mode);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    const WindowPlace place =
        PlaceAtStartup(settings.left, settings.top, screenWidth * kTwipsPerPixel, width() * kTwipsPerPixel);
    winId(); // the native window exists before it is placed, so its place is known to Qt
    move(place.left / kTwipsPerPixel, place.top / kTwipsPerPixel);

    if (settings.tray) {
        AddTrayIcon();
        m_startHidden = true;
    }
    m_tmrReset.start();
    armFormMoveTimer();
    setUpdateTimerEnabled(true);
    return true;
}

void frmMain::Form_Unload() {
    if (m_unloaded || !m_sampler) {
        return;
    }
    m_unloaded = true;
    setUpdateTimerEnabled(false);
    m_cpuLoad.reset();
    RemoveTrayIcon();
    ShutdownState state;
    state.connection = m_selection->ListIndex();
    state.left = x() * kTwipsPerPixel;
    state.top = y() * kTwipsPerPixel;
    state.hidden = isHidden() || m_startHidden;
    state.options = m_options;
    state.displayMode = DisplayMode;
    SaveShutdownSettings(*m_platform.settings, state);
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    // A tool window does not count as the last window for Qt: end here.
    QCoreApplication::quit();
}

void frmMain::RefreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) {
    if (m_sampler->SkipNextSample) {
        m_sampler->SkipNextSample = false;
        return;
    }
    DisplayInputs in;
    in.tinyChecked = m_windowTypeChecked[2];
    in.showBandwidth = m_options.showBandwidth;
    in.analogTray = m_options.analogTrayIcon;
    in.battery = m_options.battery;
    in.windowVisible = isVisible();
    in.linkDown = m_sampler->CurrentInterface && m_sampler->CurrentInterface->OperationalStatus <= 2;
    in.averageDownload = m_sampler->AverageDownload;
    in.averageUpload = m_sampler->AverageUpload;
    in.downloadCaption = Label("lblDSpeed")->text().toStdString();
    in.uploadCaption = Label("lblUSpeed")->text().toStdString();
    m_display.Refresh(download, upload, in);
    m_picGraph->setToolTip(QString::fromStdString(m_display.ToolTip()));
    m_picGraph->update();
    if (!in.windowVisible) {
        m_display.MakeBackgroundBlack();
        bool idle = m_sampler->AverageUpload < 1 && m_sampler->AverageDownload < 1;
        UpdateTrayIcon(idle);
    }
}

QWidget* frmMain::Graph() const {
    return m_picGraph;
}

void frmMain::ShowStatisticsLabels(bool visible) {
    for (const char* name : {"lblSpeed(0)", "lblSpeed(1)", "lblSpeed(2)", "lblSpeed(3)"}) {
        Label(name)->setVisible(visible);
    }
}

void frmMain::SetDisplayMode(std::int32_t& mode) {
    m_display.ClearGraph();
    for (bool& checked : m_windowTypeChecked) {
        checked = false;
    }
    if (mode >= 0 && mode <= 2) {
        m_windowTypeChecked[mode] = true;
    }
    VolumeButtonRequested = false;
    auto placeGraph = [this](int left, int top, int width, int height) {
        m_picGraph->setGeometry(left, top, width, height);
        m_display.SetGraphSize(width, height);
        m_picGraph->setImage(&m_display.Graph());
    };
    switch (mode) {
    case 0:
        placeGraph(kGraphLeft, kGraphTop, kGraphWidth, kGraphHeight);
        setFixedSize(kNormalWidth, kNormalHeight);
        ShowStatisticsLabels(true);
        break;
    case 1:
        placeGraph(0, 0, kGraphWidth, kGraphHeight);
        m_picGraph->raise(); // above every other control
        setFixedSize(kGraphWidth, kGraphHeight);
        ShowStatisticsLabels(true);
        break;
    case 2: {
        const int width = m_options.showBandwidth ? kTinyWidthBandwidth : kTinyWidth;
        placeGraph(0, 0, width, kTinyHeight);
        m_picGraph->raise();
        setFixedSize(width, kTinyHeight);
        ShowStatisticsLabels(false);
        break;
    }
    default:
        break;
    }
    DisplayMode = mode;
    m_picGraph->update();
}

void frmMain::picGraph_DblClick() {
    const Qt::KeyboardModifiers keys = KeyState();
    if (keys & Qt::ControlModifier) {
        mnuTaskManager_Click();
    } else if (keys & Qt::ShiftModifier) {
        // Free Memory: comes with the Free Memory tool.
    } else if (keys & Qt::AltModifier) {
        m_platform.shell->openFileManager();
    } else {
        std::int32_t next = DisplayMode == 0 ? 1 : DisplayMode == 1 ? 2 : 0;
        SetDisplayMode(next);
    }
}

void frmMain::picGraph_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y) {
    const bool ctrlAlone = keys == Qt::ControlModifier;
    if (DisplayMode == 2) {
        if (x <= 20 && y <= 10) {
            return; // Shift here ejects the USB drives: comes with the drive tools
        }
        if (x >= 120 && m_options.showBandwidth) {
            SuppressNextMenu = true;
            if (!ctrlAlone) {
                mnuTaskManager_Click(); // Ctrl here toggles the mute: comes with the volume tool
            }
            return;
        }
        if (x >= 100 && m_options.showBandwidth) {
            SuppressNextMenu = true; // Free Memory, or the mute with Ctrl: come with those tools
            return;
        }
    }
    // (Ctrl with "Show Bandwidth" in the Tiny mode also toggles the taskbar: comes with the taskbar tool.)
    DragOrMenu(button);
}

void frmMain::mnuTaskManager_Click() {
    m_platform.shell->openTaskManager();
}

namespace {

// "lblTitle(3)" -> {"lblTitle", 3}; a name without an index gives -1.
std::pair<QString, std::int16_t> splitControlName(const QString& name) {
    const qsizetype open = name.indexOf(QLatin1Char('('));
    if (open < 0 || !name.endsWith(QLatin1Char(')'))) {
        return {name, -1};
    }
    return {name.left(open), static_cast<std::int16_t>(name.mid(open + 1, name.size() - open - 2).toShort())};
}

bool isDragArea(const QString& group) {
    static const QStringList kAreas = {
        QStringLiteral("lblTitle"),  QStringLiteral("lblIP"),    QStringLiteral("lblIPShadow"),
        QStringLiteral("lblRecv"),   QStringLiteral("lblSent"),  QStringLiteral("lblDSpeed"),
        QStringLiteral("lblUSpeed"), QStringLiteral("lblSpeed"), QStringLiteral("imgBottom")};
    return kAreas.contains(group);
}

QString qText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_picTray) {
        if (type == QEvent::MouseButtonDblClick) {
            close(); // ends the program
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            picTray_Click();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto [group, index] = splitControlName(watched->objectName());
    if (type == QEvent::MouseButtonDblClick) {
        if (group == QLatin1String("lblTitle")) {
            lblTitle_DblClick(index);
        } else if (group == QLatin1String("lblSpeed")) {
            lblSpeed_DblClick(index);
        } else if (group == QLatin1String("imgBottom")) {
            imgBottom_DblClick();
        } else {
            return QWidget::eventFilter(watched, event);
        }
        return true;
    }
    if (group == QLatin1String("lblCredit")) {
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            lblCredit_Click();
        }
        return true;
    }
    if (!isDragArea(group)) {
        return QWidget::eventFilter(watched, event);
    }
    // The title reacts to the release as well; the other areas only to the
    // press, and their release must not reach the graph under them.
    if (type == QEvent::MouseButtonPress || group == QLatin1String("lblTitle")) {
        DragOrMenu(mouse->button());
    }
    return true;
}

void frmMain::DragOrMenu(Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        // A release of the left button must not start a move that would
        // follow the pointer with no button held.
        if (QGuiApplication::mouseButtons() & Qt::LeftButton) {
            DragWindow(*this);
        }
    } else if (button == Qt::RightButton) {
        picTray_Click();
    }
}

MenuState frmMain::menuState(Qt::KeyboardModifiers keys) const {
    MenuState state;
    state.windowVisible = isVisible();
    state.altHeld = keys.testFlag(Qt::AltModifier);
    for (std::size_t mode = 0; mode < 3; ++mode) {
        state.windowTypeChecked[mode] = m_windowTypeChecked[mode];
    }
    state.options = m_options;
    state.excludedDriveLetters = m_excludedDriveLetters;
    state.netCards = m_selection ? m_selection->MenuItems() : std::vector<InterfaceSelection::MenuItem>{};
    state.killProcessesVisible = m_killProcessesVisible;
    return state;
}

void frmMain::picTray_Click() {
    const Qt::KeyboardModifiers keys = KeyState();
    // Ctrl and Shift clicks belong to other mouse actions. A gesture's
    // suppression ends with this click either way, or it would eat the
    // next real one.
    if (!MenuBlockedByKeys(keys.testFlag(Qt::ControlModifier), keys.testFlag(Qt::ShiftModifier))) {
        const MenuNode menu = PreparePopupMenu(menuState(keys));
        if (!SuppressNextMenu) {
            showPopupMenu(menu);
        }
    }
    SuppressNextMenu = false;
}

void frmMain::showPopupMenu(const MenuNode& menu) {
    if (m_mnuPopup) {
        m_mnuPopup->close();
        m_mnuPopup->deleteLater();
    }
    m_mnuPopup = new QMenu(this);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    std::function<void(QMenu*, const MenuNode&)> fill = [&](QMenu* menu, const MenuNode& node) {
        for (const MenuNode& child : node.children) {
            QAction* action = nullptr;
            if (child.separator) {
                action = menu->addSeparator();
            } else if (!child.children.empty()) {
                QMenu* sub = menu->addMenu(qText(child.caption));
                sub->setObjectName(qText(child.name));
                fill(sub, child);
                action = sub->menuAction();
            } else {
                action = menu->addAction(qText(child.caption));
                action->setCheckable(child.checkable);
                action->setChecked(child.checked);
                const std::string name = child.name;
                const std::int16_t index = child.index;
                connect(action, &QAction::triggered, this,
                        [this, name, index] { RunMenuCommand(name, index); });
            }
            action->setObjectName(qText(child.name));
            action->setData(child.index);
            action->setVisible(child.visible);
            action->setEnabled(child.enabled);
            if (child.isDefault) {
                menu->setDefaultAction(action);
            }
        }
    };
    fill(m_mnuPopup, menu);
    // Tiny: under the window's lower left corner; otherwise at the pointer.
    // (From the window's own place: X11 maps points through a place that can be stale.)
    const QPoint at = DisplayMode == 2 ? QPoint(x(), y() + height()) : QCursor::pos();
    m_mnuPopup->popup(at);
}

void frmMain::RunMenuCommand(const std::string& name, std::int16_t index) {
    static const std::map<std::string, void (frmMain::*)()> kCommands = {
        {"mnuPopupHide", &frmMain::mnuPopupHide_Click},
        {"mnuPopupTransparent", &frmMain::mnuPopupTransparent_Click},
        {"mnuPopupSound", &frmMain::mnuPopupSound_Click},
        {"mnuShowExtendedButton", &frmMain::mnuShowExtendedButton_Click},
        {"mnuShowBandwidth", &frmMain::mnuShowBandwidth_Click},
        {"mnuBattery", &frmMain::mnuBattery_Click},
        {"mnuShowRealIP", &frmMain::mnuShowRealIP_Click},
        {"mnuSystemTrayIconTypeAnalog", &frmMain::mnuSystemTrayIconTypeAnalog_Click},
        {"mnuSystemTrayIconTypeDigital", &frmMain::mnuSystemTrayIconTypeDigital_Click},
        {"mnuNetworkConnections", &frmMain::mnuNetworkConnections_Click},
        {"mnuTaskManager", &frmMain::mnuTaskManager_Click},
        {"mnuPopupAlwaysOnTop", &frmMain::mnuPopupAlwaysOnTop_Click},
        {"mnuPopupStartWithWindows", &frmMain::mnuPopupStartWithWindows_Click},
        {"mnuPopupAbout", &frmMain::mnuPopupAbout_Click},
        {"mnuPopupExit", &frmMain::mnuPopupExit_Click},
    };
    if (name == "mnuWindowType") {
        mnuWindowType_Click(index);
    } else if (name == "mnuNetCard") {
        mnuNetCard_Click(index);
    } else if (const auto found = kCommands.find(name); found != kCommands.end()) {
        (this->*found->second)();
    }
    // The drive, volume, taskbar, memory and process items act through
    // their own tools.
}

void frmMain::mnuWindowType_Click(std::int16_t index) {
    std::int32_t mode = index;
    SetDisplayMode(mode);
}

void frmMain::mnuPopupTransparent_Click() {
    m_options.transparent = !m_options.transparent;
    SetWindowAlpha(this, m_options.transparent ? 120 : 255);
}

std::int32_t frmMain::SetWindowAlpha(QWidget* window, std::int16_t alpha) {
    if (alpha < 0 || alpha > 255) {
        return 1;
    }
    if (!window) {
        return 2;
    }
    window->setWindowOpacity(alpha / 255.0);
    return 0;
}

void frmMain::mnuPopupSound_Click() {
    m_options.soundOnError = !m_options.soundOnError;
}

void frmMain::mnuShowExtendedButton_Click() {
    m_options.showExtendedButton = !m_options.showExtendedButton;
}

void frmMain::mnuShowBandwidth_Click() {
    m_options.showBandwidth = !m_options.showBandwidth;
    m_display.History.ClearTraffic();
    std::int32_t tiny = 2;
    SetDisplayMode(tiny);
}

void frmMain::mnuBattery_Click() {
    m_options.battery = !m_options.battery;
}

void frmMain::mnuShowRealIP_Click() {
    m_options.showRealIP = !m_options.showRealIP;
    refreshIpAddresses();
}

void frmMain::mnuSystemTrayIconTypeAnalog_Click() {
    // The pair holds opposite marks: the other item takes the clicked one's
    // mark and the clicked one is inverted, which swaps them.
    m_options.analogTrayIcon = !m_options.analogTrayIcon;
}

void frmMain::mnuSystemTrayIconTypeDigital_Click() {
    mnuSystemTrayIconTypeAnalog_Click(); // the same swap
}

void frmMain::mnuNetCard_Click(std::int16_t index) {
    m_selection->mnuNetCard_Click(index);
}

void frmMain::mnuNetworkConnections_Click() {
    m_platform.shell->openNetworkConnections();
}

void frmMain::mnuPopupAlwaysOnTop_Click() {
    const Qt::KeyboardModifiers keys = KeyState();
    if (keys & (Qt::ShiftModifier | Qt::ControlModifier)) {
        m_options.alwaysOnTop = true; // re-applies the placement
    } else {
        m_options.alwaysOnTop = !m_options.alwaysOnTop;
    }
    SetTopMost(*this, m_options.alwaysOnTop);
}

void frmMain::mnuPopupStartWithWindows_Click() {
    m_options.startWithWindows = !m_options.startWithWindows;
    if (m_platform.autostart) {
        if (m_options.startWithWindows) {
            std::string program = m_appFolder + programBaseName() + executableSuffix();
            SaveRegistryString(*m_platform.autostart, kHkeyCurrentUser, kRunKeyPath, kAppName, program);
        } else {
            DeleteRegistryValue(*m_platform.autostart, kHkeyCurrentUser, kRunKeyPath, kAppName);
        }
    }
    m_platform.settings->set(kAppName, kAppSection, kKeyStartWithWindows,
                             BoolText(m_options.startWithWindows));
}

void frmMain::mnuPopupAbout_Click() {
    if (m_aboutBox) {
        m_aboutBox->raise();
        m_aboutBox->activateWindow();
        return;
    }
    QString text = qText(AboutText(TRAFALO_VERSION_MAJOR, TRAFALO_VERSION_MINOR));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); // a bare CR would show as a glyph
    m_aboutBox = new QMessageBox(QMessageBox::Information, QStringLiteral("Trafalo"), text,
                                 QMessageBox::Ok | QMessageBox::Cancel);
    m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
    m_aboutBox->setWindowFlag(Qt::WindowStaysOnTopHint);
    connect(m_aboutBox, &QMessageBox::finished, this, [this](int result) {
        m_aboutBox = nullptr;
        if (result == QMessageBox::Ok) {
            m_platform.shell->openUrl(std::string(kMakerAddress));
        }
    });
    m_aboutBox->show();
}

void frmMain::mnuPopupExit_Click() {
    close();
}

void frmMain::lblCredit_Click() {
    m_platform.shell->openUrl(Label("lblCredit")->toolTip().toStdString());
}

void frmMain::lblTitle_DblClick(std::int16_t index) {
    if (index == 0) {
        picGraph_DblClick();
    } else {
        m_platform.shell->openNetworkConnections();
    }
}

void frmMain::lblSpeed_DblClick(std::int16_t) {
    picGraph_DblClick();
}

void frmMain::imgBottom_DblClick() {
    picGraph_DblClick();
}

void frmMain::armFormMoveTimer() {
    m_movedSinceTick = true;
    if (!m_tmrFormMove.isActive()) {
        m_tmrFormMove.start();
    }
}

void frmMain::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    armFormMoveTimer();
}

void frmMain::tmrFormMove_Timer() {
    const bool moved = m_movedSinceTick;
    m_movedSinceTick = false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    SnapGeometry g;
    g.left = x() * kTwipsPerPixel;
    g.top = y() * kTwipsPerPixel;
    g.width = width() * kTwipsPerPixel;
    g.height = height() * kTwipsPerPixel;
    g.screenWidth = screen->geometry().width() * kTwipsPerPixel;
    g.screenHeight = screen->geometry().height() * kTwipsPerPixel;
    const WindowPlace place = SnapToScreenEdges(g);
    if (place.left != g.left || place.top != g.top) {
        move(place.left / kTwipsPerPixel, place.top / kTwipsPerPixel);
    } else if (!moved) {
        // The window stands still: the tick sleeps until it moves again
        // (a drag, a command, a change of the screen).
        m_tmrFormMove.stop();
    }
}

void frmMain::AddTrayIcon() {
    if (!m_trayIcon) {
        m_trayIcon = new QSystemTrayIcon(this);
        connect(m_trayIcon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    // The icon's activations as the mouse messages the handler knows.
                    switch (reason) {
                    case QSystemTrayIcon::Trigger:
                        picTray_MouseMove(513);
                        picTray_MouseMove(514);
                        break;
                    case QSystemTrayIcon::Context:
                        picTray_MouseMove(516);
                        picTray_MouseMove(517);
                        break;
                    case QSystemTrayIcon::DoubleClick:
                        picTray_MouseMove(515);
                        break;
                    default:
                        break;
                    }
                });
    }
    m_trayIcon->setIcon(windowIcon());
    m_trayIcon->setToolTip(QStringLiteral("Trafalo"));
    m_trayIcon->show();
}

void frmMain::UpdateTrayIcon(bool& idle) {
    if (!m_trayIcon) {
        return;
    }
    // The previous picture is released as the new icon replaces it.
    m_trayIcon->setIcon(idle ? windowIcon() : QIcon(QPixmap::fromImage(m_display.TrayPicture())));
    m_trayToolTip =
        TrayToolTip(Label("lblDSpeed")->text().toStdString(), Label("lblUSpeed")->text().toStdString());
    m_trayIcon->setToolTip(QString::fromStdString(m_trayToolTip));
}

void frmMain::RemoveTrayIcon() {
    if (m_trayIcon) {
        m_trayIcon->hide();
    }
}

void frmMain::picTray_MouseMove(int message) {
    if (isVisible()) {
        return;
    }
    if (message == 513) {
        mnuPopupHide_Click();
    } else if (message == 516) {
        picTray_Click();
    }
}

void frmMain::mnuPopupHide_Click() {
    if (isVisible()) {
        AddTrayIcon();
        hide();
    } else {
        m_startHidden = false;
        show();
        activateWindow();
        raise();
        RemoveTrayIcon();
    }
}

void frmMain::setUpdateTimerEnabled(bool enabled) {
    m_updateTimerEnabled = enabled;
    if (enabled) {
        m_tmrUpdate.start(TrafficSampler::MsToNextTick(m_platform.clock->wallMs()));
    } else {
        m_tmrUpdate.stop();
    }
}

void frmMain::restartResetTimer() {
    m_tmrReset.start();
}

void frmMain::lockDrawing(bool) {
    // Nothing to do: Qt paints only when the tick has returned to the event
    // loop, so every label changed in one tick appears at once. Turning the
    // window's updates off and on instead repaints the whole window on every
    // sample and grows the process by about 2 KB a sample.
}

void frmMain::setCaption(TrafficSampler::Label label, const std::string& text) {
    if (QLabel* target = samplerLabel(label)) {
        target->setText(QString::fromStdString(text));
        // The statistics lines inside the graph grow with their text.
        if (auto* line = dynamic_cast<TextLabel*>(target)) {
            line->fitToText();
        }
    }
}

void frmMain::setToolTip(TrafficSampler::Label label, const std::string& text) {
    if (QLabel* target = samplerLabel(label)) {
        target->setToolTip(QString::fromStdString(text));
    }
}

void frmMain::setLinkSpeedToolTip(const std::string& text) {
    Label("lblTitle(5)")->setToolTip(QString::fromStdString(text));
}

bool frmMain::soundOnError() {
    return m_options.soundOnError;
}

void frmMain::refreshIpAddresses() {
    // The address labels are filled by the IP address tool; nothing to
    // refresh until it is part of the window.
}

void frmMain::refreshTrafficDisplay(std::int32_t& download, std::int32_t& upload) {
    RefreshTrafficDisplay(download, upload);
}

void frmMain::clearHistories() {
    m_display.History.ClearTraffic();
}

void frmMain::resetTopSpeeds() {
    m_sampler->tmrReset_Timer();
}

std::string frmMain::linkSpeedToolTip() {
    return Label("lblTitle(5)")->toolTip().toStdString();
}

void frmMain::selectionViewsChanged() {
    m_fillingList = true;
    const auto& entries = m_selection->ListEntries();
    bool same = m_cboConnectionType->count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < m_cboConnectionType->count(); ++i) {
        same = m_cboConnectionType->itemText(i).toStdString() == entries[static_cast<std::size_t>(i)];
    }
    if (!same) {
        m_cboConnectionType->clear();
        for (const std::string& entry : entries) {
            m_cboConnectionType->addItem(QString::fromStdString(entry));
        }
    }
    m_cboConnectionType->setCurrentIndex(m_selection->ListIndex());
    m_cboConnectionType->setToolTip(QString::fromStdString(m_selection->ListToolTip()));
    m_fillingList = false;
}

#include "app/frmMain.h"

#include "app/WindowCommands.h"
#include "core/Files.h"
#include "core/LongOperation.h"
#include "core/ProgramWindows.h"
#include "display/GraphView.h"
#include "display/Layout.h"
#include "display/WindowPlace.h"
#include "monitor/TrafficMonitor.h"
#include "placement/Placement.h"
#include "platform/Platform.h"
#include "tray/TrayIcon.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

namespace {

Keys keysOf(Qt::KeyboardModifiers held) {
    return Keys{held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                held.testFlag(Qt::AltModifier)};
}

QString qText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

void collectLeaves(const MenuNode& node, std::vector<const MenuNode*>& leaves) {
    for (const MenuNode& child : node.children) {
        if (child.separator) {
            continue;
        }
        if (child.children.empty()) {
            leaves.push_back(&child);
        } else {
            collectLeaves(child, leaves);
        }
    }
}

} // namespace

frmMain::frmMain(Platform& platform)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), m_platform(platform),
      m_appFolder(AppFolderFrom(programFolder())), m_controls(*this) {
    KeyState = [] { return QGuiApplication::queryKeyboardModifiers(); };
    FeatureContext context{m_platform, *this, *this, m_controls, [this] { return keys(); }, m_appFolder};
    m_features = MakeFeatures(context);
    // One wake-up a second for the periodic work of every feature: the sample's.
    m_features.monitor->onSample([this] {
        for (const auto& feature : m_features.all) {
            feature->sampled();
        }
    });
    for (const auto& [name, label] : m_controls.Labels()) {
        label->installEventFilter(this);
    }
    m_controls.Globe()->installEventFilter(this);
    bindGraph();
    m_saveTimer.setSingleShot(true);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { saveIfChanged(); });
}

frmMain::~frmMain() {
    // Later features hold on to earlier ones (the tray icon to the monitor):
    // they go first.
    while (!m_features.all.empty()) {
        m_features.all.pop_back();
    }
}

Keys frmMain::keys() const {
    return keysOf(KeyState());
}

bool frmMain::Form_Load() {
    if (!m_platform.instanceLock->acquire()) {
        return false;
    }
    const StartupSettings settings =
        ReadStartupSettings(*m_platform.settings, m_appFolder, m_platform.drives->letterOf(m_appFolder));
    m_options = settings.options;
    setWindowTitle(QStringLiteral("Trafalo"));
    for (const auto& feature : m_features.all) {
        feature->start(settings);
    }
    for (const auto& feature : m_features.all) {
        feature->started();
    }
    m_saved = currentSettings();
    m_loaded = true;
    ProgramWindows::Loaded(this, [this] { close(); });
    return true;
}

SettingsList frmMain::currentSettings() const {
    SettingsList keys;
    for (const auto& feature : m_features.all) {
        feature->addSettings(keys);
    }
    return keys;
}

void frmMain::settingsChanged() {
    if (m_loaded && !m_unloaded && !m_saveTimer.isActive()) {
        m_saveTimer.start(SaveDelayMs);
    }
}

void frmMain::saveIfChanged() {
    SettingsList keys = currentSettings();
    if (keys != m_saved) {
        SaveShutdownSettings(*m_platform.settings, keys);
        m_saved = std::move(keys);
    }
}

void frmMain::Form_Unload() {
    if (m_unloaded || !m_loaded) {
        return;
    }
    m_unloaded = true;
    m_saveTimer.stop();
    SettingsList keys = currentSettings();
    for (const auto& feature : m_features.all) {
        feature->stop();
    }
    SaveShutdownSettings(*m_platform.settings, std::move(keys));
}

void frmMain::closeEvent(QCloseEvent* event) {
    // An operation of this window yielding to the event loop ends first; the
    // close follows. The Free Memory window's free runs on.
    if (LongOperation::DeferEnd(LongOperation::kMainWindow, [this] { close(); })) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    // Only Exit, the window's own close and the session's signals unload the
    // main window; a dialog closing never does (the application does not
    // quit when its last ordinary window closes). The program ends with it
    // unless the Free Memory window is still loaded.
    ProgramWindows::Unloaded(this);
}

void frmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        for (const auto& feature : m_features.all) {
            feature->windowDeactivated();
        }
    }
    QWidget::changeEvent(event);
}

ScreenPoint frmMain::windowPlace() {
    const QPoint place = SyncWindowPlace(*this, *m_platform.windows);
    return ScreenPoint{place.x(), place.y()};
}

void frmMain::resizeWindow(int width, int height) {
    ResizeInPlace(*this, *m_platform.windows, QSize(width, height));
}

void frmMain::SetDisplayMode(std::int32_t mode) {
    TrafficDisplay& display = m_features.monitor->Display();
    GraphView* graph = m_controls.Graph();
    display.ClearGraph();
    auto placeGraph = [&](int left, int top, int width, int height) {
        graph->setGeometry(left, top, width, height);
        display.SetGraphSize(width, height, devicePixelRatioF());
    };
    auto showStatistics = [this](bool visible) {
        for (const char* name : {"lblSpeed(0)", "lblSpeed(1)", "lblSpeed(2)", "lblSpeed(3)"}) {
            Label(name)->setVisible(visible);
        }
    };
    switch (mode) {
    case 0:
        placeGraph(kGraphLeft, kGraphTop, kGraphWidth, kGraphHeight);
        resizeWindow(kNormalWidth, kNormalHeight);
        showStatistics(true);
        break;
    case 1:
        placeGraph(0, 0, kGraphWidth, kGraphHeight);
        graph->raise(); // above every other control
        resizeWindow(kGraphWidth, kGraphHeight);
        showStatistics(true);
        break;
    case 2: {
        const int width = m_options.showBandwidth ? kTinyWidthBandwidth : kTinyWidth;
        placeGraph(0, 0, width, kTinyHeight);
        graph->raise();
        resizeWindow(width, kTinyHeight);
        showStatistics(false);
        break;
    }
    default:
        break;
    }
    DisplayMode = mode;
    graph->update();
    settingsChanged();
    for (const auto& feature : m_features.all) {
        feature->modeChanged(mode);
    }
}

MenuNode frmMain::prepareMenu(std::vector<std::string>* misplaced) {
    MenuBuilder builder;
    for (const auto& feature : m_features.all) {
        feature->addMenuItems(builder);
    }
    if (misplaced) {
        *misplaced = builder.Misplaced();
    }
    return builder.build(isVisible());
}

std::vector<std::string> frmMain::MenuProblems() {
    std::vector<std::string> problems;
    prepareMenu(&problems);
    return problems;
}

void frmMain::picTray_Click() {
    const Keys held = keys();
    // Ctrl and Shift clicks belong to other mouse actions. A gesture's
    // suppression ends with this click either way, or it would eat the
    // next real one.
    if (!held.ctrl && !held.shift && !SuppressNextMenu) {
        showPopupMenu(prepareMenu(nullptr));
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
    std::function<void(QMenu*, const MenuNode&)> fill = [&](QMenu* level, const MenuNode& node) {
        for (const MenuNode& child : node.children) {
            QAction* action = nullptr;
            if (child.separator) {
                action = level->addSeparator();
            } else if (!child.children.empty()) {
                QMenu* sub = level->addMenu(qText(child.caption));
                sub->setObjectName(qText(child.name));
                fill(sub, child);
                action = sub->menuAction();
            } else {
                action = level->addAction(qText(child.caption));
                action->setCheckable(child.checkable);
                action->setChecked(child.checked);
                connect(action, &QAction::triggered, this, [this, run = child.run, index = child.index] {
                    run(index);
                    settingsChanged();
                });
            }
            action->setObjectName(qText(child.name));
            action->setData(child.index);
            action->setVisible(child.visible);
            action->setEnabled(child.enabled);
            if (child.isDefault) {
                level->setDefaultAction(action);
            }
        }
    };
    fill(m_mnuPopup, menu);
    // Tiny: under the window's lower left corner; otherwise at the pointer.
    const ScreenPoint corner = DisplayMode == 2 ? windowPlace() : ScreenPoint{};
    const QPoint at = DisplayMode == 2 ? QPoint(corner.x, corner.y + height()) : QCursor::pos();
    m_mnuPopup->popup(at);
}

bool frmMain::RunMenuCommand(std::string_view name, std::int16_t index) {
    const MenuNode menu = prepareMenu(nullptr);
    std::vector<const MenuNode*> leaves;
    collectLeaves(menu, leaves);
    for (const MenuNode* leaf : leaves) {
        if (leaf->name == name && (index < 0 || leaf->index == index)) {
            leaf->run(index);
            settingsChanged();
            return true;
        }
    }
    qCritical("No menu item %.*s", static_cast<int>(name.size()), name.data());
    return false;
}

void frmMain::offer(Gesture gesture) {
    for (const auto& feature : m_features.all) {
        if (feature->takeGesture(gesture)) {
            return;
        }
    }
    // A gesture of a tool that is not part of the window does nothing.
}

void frmMain::picGraph_DblClick() {
    offer(PlanGraphDoubleClick(keys()));
}

void frmMain::picGraph_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers held, int x, int y,
                                 QPoint pressedAt) {
    GraphPress press;
    press.displayMode = DisplayMode;
    press.showBandwidth = m_options.showBandwidth;
    press.x = x;
    press.y = y;
    press.keys = keysOf(held);
    const PressPlan plan = PlanGraphPress(press);
    if (plan.suppressMenu) {
        SuppressNextMenu = true;
    }
    if (plan.gesture) {
        offer(*plan.gesture);
    }
    if (plan.drag) {
        m_features.placement->DragOrMenu(button, pressedAt);
    }
}

void frmMain::bindGraph() {
    GraphView* graph = m_controls.Graph();
    // Pointer moves without a button: the window comes to the foreground.
    graph->setMouseTracking(true);
    graph->onMove = [this](QMouseEvent* event) {
        if (isVisible() && !isActiveWindow()) {
            activateWindow();
        }
        for (const auto& feature : m_features.all) {
            feature->graphPointerMoved(static_cast<int>(event->position().x()),
                                       static_cast<int>(event->position().y()));
        }
    };
    graph->onDoubleClick = [this](QMouseEvent*) {
        m_releaseEndsDoubleClick = true;
        picGraph_DblClick();
    };
    graph->onPress = [this](QMouseEvent* event) {
        // A release that ended a double click somewhere else is no longer awaited.
        m_releaseEndsDoubleClick = false;
        picGraph_MouseDown(event->button(), KeyState(), static_cast<int>(event->position().x()),
                           static_cast<int>(event->position().y()), event->globalPosition().toPoint());
    };
    graph->onRelease = [this](QMouseEvent*) {
        // The release that ends a double click belongs to it: the new layout
        // must not come up under a menu. It still ends a suppression.
        if (std::exchange(m_releaseEndsDoubleClick, false)) {
            SuppressNextMenu = false;
            return;
        }
        picTray_Click();
    };
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_controls.Globe()) {
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
    return routeLabelEvent(watched, event) || QWidget::eventFilter(watched, event);
}

bool frmMain::routeLabelEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto [group, index] = splitControlName(watched->objectName());
    if (type == QEvent::MouseButtonDblClick) {
        if (group == QLatin1String("lblTitle") && index != 0) {
            RunMenuCommand("mnuNetworkConnections");
        } else if (group == QLatin1String("lblTitle") || group == QLatin1String("lblSpeed") ||
                   group == QLatin1String("imgBottom")) {
            picGraph_DblClick();
        } else {
            return false;
        }
        return true;
    }
    if (group == QLatin1String("lblCredit")) {
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            m_platform.shell->openUrl(Label("lblCredit")->toolTip().toStdString());
        }
        return true;
    }
    if (!isDragArea(group)) {
        return false;
    }
    // The title reacts to the release as well; the other areas only to the
    // press, and their release must not reach the graph under them.
    if (type == QEvent::MouseButtonPress || group == QLatin1String("lblTitle")) {
        m_features.placement->DragOrMenu(mouse->button(), mouse->globalPosition().toPoint());
    }
    return true;
}

#include "frmMain.h"

#include "app/SettingsKeys.h"
#include "display/Layout.h"
#include "metrics/MemoryStatus.h"
#include "platform/Platform.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>

namespace {

QColor toColor(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

QFont fontOf(std::string_view family, double points, bool bold) {
    QFont font(QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size())));
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    return font;
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
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), m_platform(platform) {
    m_tmrUpdate.setInterval(500);
    m_tmrReset.setInterval(20000);
    connect(&m_tmrUpdate, &QTimer::timeout, this, [this] { m_sampler->tmrUpdate_Timer(); });
    connect(&m_tmrReset, &QTimer::timeout, this, [this] { m_sampler->tmrReset_Timer(); });
    buildControls();
}

frmMain::~frmMain() = default;

void frmMain::buildControls() {
    setFixedSize(kNormalWidth, kNormalHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toColor(kPanelBlue));
    setPalette(palette);
    setAutoFillBackground(true);

    auto* imgBottom = new QLabel(this);
    imgBottom->setGeometry(0, 0, kImgBottomWidth, kImgBottomHeight);
    imgBottom->setStyleSheet(QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 "
                                            "#f4f4ff, stop:0.5 #c0c0ff, stop:1 #8080e0);"));
    m_labels["imgBottom"] = imgBottom;

    m_picGraph = new QWidget(this);
    m_picGraph->setGeometry(kGraphLeft, kGraphTop, kGraphWidth, kGraphHeight);
    QPalette graphPalette = m_picGraph->palette();
    graphPalette.setColor(QPalette::Window, Qt::black);
    m_picGraph->setPalette(graphPalette);
    m_picGraph->setAutoFillBackground(true);

    m_cboConnectionType = new QComboBox(this);
    m_cboConnectionType->setGeometry(kComboLeft, kComboTop, kComboWidth, kComboHeight);
    m_cboConnectionType->setFont(fontOf("Tahoma", 9.75, false));
    m_cboConnectionType->setStyleSheet(
        QStringLiteral("QComboBox { background: rgb(192,192,255); color: black; }"));
    connect(m_cboConnectionType, &QComboBox::activated, this, [this](int index) {
        if (!m_fillingList) {
            m_selection->SetListIndex(index);
        }
    });

    for (const ControlSpec& control : NormalLayoutLabels()) {
        QWidget* parent = control.inGraph ? m_picGraph : this;
        auto* label = new QLabel(
            QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size())),
            parent);
        label->setGeometry(control.left, control.top, control.width, control.height);
        label->setFont(fontOf(control.font, control.points, control.bold));
        label->setAlignment(alignmentOf(control.align));
        QPalette labelPalette = label->palette();
        labelPalette.setColor(QPalette::WindowText, toColor(control.fore));
        labelPalette.setColor(QPalette::Window, toColor(control.back));
        label->setPalette(labelPalette);
        label->setAutoFillBackground(!control.transparent);
        m_labels[std::string(control.name)] = label;
    }
    // The title label lies over the gradient strip; the list lies over " Net:".
    m_labels["lblTitle(0)"]->raise();
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
    DisplayMode = settings.smallUI;

    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    const WindowPlace place =
        PlaceAtStartup(settings.left, settings.top, screenWidth * kTwipsPerPixel, width() * kTwipsPerPixel);
    winId(); // the native window exists before it is placed, so its place is known to Qt
    move(place.left / kTwipsPerPixel, place.top / kTwipsPerPixel);

    m_tmrReset.start();
    m_tmrUpdate.start();
    return true;
}

void frmMain::Form_Unload() {
    if (m_unloaded || !m_sampler) {
        return;
    }
    m_unloaded = true;
    m_tmrUpdate.stop();
    m_cpuLoad.reset();
    ShutdownState state;
    state.connection = m_selection->ListIndex();
    state.left = x() * kTwipsPerPixel;
    state.top = y() * kTwipsPerPixel;
    state.hidden = isHidden();
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
    const std::int32_t cpu = m_cpuLoad ? m_cpuLoad->GetAllCPUUsage() : 0;
    bool skip = false;
    m_history.Push(download, upload, cpu, skip);
    CurrentMemoryStatus = GetMemoryStatus(*m_platform.system);
}

void frmMain::setUpdateTimerEnabled(bool enabled) {
    if (enabled) {
        m_tmrUpdate.start();
    } else {
        m_tmrUpdate.stop();
    }
}

void frmMain::restartResetTimer() {
    m_tmrReset.start();
}

void frmMain::lockDrawing(bool locked) {
    setUpdatesEnabled(!locked);
}

void frmMain::setCaption(TrafficSampler::Label label, const std::string& text) {
    if (QLabel* target = samplerLabel(label)) {
        target->setText(QString::fromStdString(text));
        // The statistics lines inside the graph grow with their text.
        if (target->parentWidget() == m_picGraph) {
            target->adjustSize();
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
    m_history.ClearTraffic();
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

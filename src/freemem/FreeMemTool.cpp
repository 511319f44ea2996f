#include "freemem/FreeMemTool.h"

#include "freemem/FreeMemLogic.h"
#include "freemem/formFreeMem.h"

#include <QCoreApplication>
#include <QScrollBar>

namespace {

void setWithinRange(QScrollBar& slider, std::int64_t value) {
    // A value outside the range is not applied; the slider keeps its own.
    if (value >= slider.minimum() && value <= slider.maximum()) {
        slider.setValue(static_cast<int>(value));
    }
}

} // namespace

FreeMemTool::FreeMemTool(FreeMemServices system, int versionMajor, int versionMinor)
    : m_system(system), m_major(versionMajor), m_minor(versionMinor) {}

FreeMemTool::~FreeMemTool() {
    delete m_window.data();
}

formFreeMem* FreeMemTool::Window() const {
    return m_window;
}

void FreeMemTool::start(const StartupSettings& settings) {
    m_autoFreeMemMB = settings.autoFreeMemMB;
}

void FreeMemTool::addMenuItems(MenuBuilder& menu) {
    menu.add(MenuItem("mnuFreeMem", "Free Memory", [this](std::int16_t) { mnuFreeMem_Click(); }));
}

bool FreeMemTool::takeGesture(Gesture gesture) {
    if (gesture != Gesture::FreeMemory) {
        return false;
    }
    mnuFreeMem_Click();
    return true;
}

formFreeMem& FreeMemTool::Load() {
    if (!m_window) {
        std::vector<std::string> arguments;
        const QStringList all = QCoreApplication::arguments();
        for (qsizetype i = 1; i < all.size(); ++i) {
            arguments.push_back(all[i].toStdString());
        }
        m_window = new formFreeMem(m_system, std::move(arguments), m_major, m_minor);
        m_window->Form_Load();
    }
    return *m_window;
}

void FreeMemTool::mnuFreeMem_Click() {
    QPointer<formFreeMem> window(&Load());
    // A plain show: a tray icon the window has stays while it is shown. A
    // window minimised where there is no notification area comes back too.
    window->show();
    if (window->isMinimized()) {
        window->showNormal();
    }
    window->raise();
    window->activateWindow();
    setWithinRange(*window->HScroll1(), m_autoFreeMemMB);
    window->btnFree_Click(); // returns once the free has ended
    if (window) {
        setWithinRange(*window->HScroll1(), window->AvailablePhysicalMemory() / kMiB);
    }
}

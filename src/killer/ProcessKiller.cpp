#include "killer/ProcessKiller.h"

#include "core/Files.h"
#include "core/LongOperation.h"
#include "killer/KillList.h"
#include "killer/ProcessKill.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kKillListName = "killlist.txt";
constexpr std::size_t kMaxListBytes = 1 << 20;

} // namespace

ProcessKiller::ProcessKiller(IProcesses& processes, IClock& clock, std::string appFolder)
    : m_processes(processes), m_clock(clock), m_appFolder(std::move(appFolder)) {}

std::string ProcessKiller::listPath() const {
    return m_appFolder + kKillListName;
}

void ProcessKiller::start(const StartupSettings&) {
    // The caption is read once, at start-up.
    m_visible = FileExists(listPath());
    if (m_visible) {
        m_caption = KillMenuCaption(ReadTextFile(listPath(), kMaxListBytes));
    }
}

void ProcessKiller::addMenuItems(MenuBuilder& menu) {
    menu.add(MenuItem(
        "mnuKillProcesses", MenuCaptionOf(m_caption), [this](std::int16_t) { mnuKillProcesses_Click(); },
        m_visible));
}

void ProcessKiller::mnuKillProcesses_Click() {
    auto operation = LongOperation::Begin(&m_context, "kill");
    if (!operation || !FileExists(listPath())) {
        return;
    }
    KillListedProcesses(ReadTextFile(listPath(), kMaxListBytes), m_processes, m_clock, executableSuffix(),
                        [&operation](int maxMs) { return operation->Wait(maxMs); });
}

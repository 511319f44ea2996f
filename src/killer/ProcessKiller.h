#pragma once
// "Kill <first entry>": ends the processes named in "killlist.txt" beside
// the program. The item shows only when the file holds something at start-up.
#include "core/Feature.h"

#include <QObject>
#include <string>

class IClock;
class IProcesses;

class ProcessKiller : public Feature {
public:
    ProcessKiller(IProcesses& processes, IClock& clock, std::string appFolder);

    void start(const StartupSettings& settings) override;
    void addMenuItems(MenuBuilder& menu) override;

    void mnuKillProcesses_Click();

private:
    std::string listPath() const;

    IProcesses& m_processes;
    IClock& m_clock;
    std::string m_appFolder;
    std::string m_caption = "Kill Processes";
    bool m_visible = false;
    QObject m_context; // guards the command across the window's end
};

#pragma once
// Opening files and programs the way the desktop does.
#include <string>

class IShell {
public:
    virtual ~IShell() = default;
    // Runs a user's batch file hidden and detached (no terminal, no window).
    // Returns false when it could not be started.
    virtual bool runHidden(const std::string& path) = 0;
    // Opens the desktop's system monitor (the task manager). False when none
    // could be started.
    virtual bool openTaskManager() = 0;
    // Opens the file manager on the user's home folder.
    virtual bool openFileManager() = 0;
    // Opens the desktop's network connection settings. False when none could
    // be started.
    virtual bool openNetworkConnections() = 0;
    // Opens an address (a web page, a folder, a file) with the desktop's
    // default handler. False when nothing handles it.
    virtual bool openUrl(const std::string& address) = 0;
};

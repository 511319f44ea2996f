#pragma once
// Starting the user's files the way a Linux desktop does.
#include "platform/IShell.h"

class LinuxShell : public IShell {
public:
    // Runs the file with /bin/sh as its own argument (never pasted into a
    // command line), detached, with no terminal and no inherited output.
    bool runHidden(const std::string& path) override;
    // The first system monitor found on PATH, else a terminal running top.
    bool openTaskManager() override;
    // The desktop's handler for the home folder (xdg-open).
    bool openFileManager() override;
    // nm-connection-editor, else the desktop's own network settings.
    bool openNetworkConnections() override;
    // xdg-open, through Qt.
    bool openUrl(const std::string& address) override;
};

#pragma once
// Records what the program asked the shell to run.
#include "platform/IShell.h"

#include <vector>

class FakeShell : public IShell {
public:
    bool runHidden(const std::string& path) override {
        hidden.push_back(path);
        return true;
    }
    bool openTaskManager() override {
        ++taskManagers;
        return true;
    }
    bool openFileManager() override {
        ++fileManagers;
        return true;
    }
    bool openNetworkConnections() override {
        ++networkConnections;
        return true;
    }
    bool openUrl(const std::string& address) override {
        urls.push_back(address);
        return true;
    }
    std::vector<std::string> hidden;
    std::vector<std::string> urls;
    int networkConnections = 0;
    int taskManagers = 0;
    int fileManagers = 0;
};

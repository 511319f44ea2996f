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
    std::vector<std::string> hidden;
    int taskManagers = 0;
    int fileManagers = 0;
};

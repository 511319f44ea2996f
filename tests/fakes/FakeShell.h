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
    std::vector<std::string> hidden;
};

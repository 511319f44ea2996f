#pragma once
// A taskbar whose state the test sets; records each call.
#include "platform/ITaskbar.h"

#include <string>
#include <vector>

class FakeTaskbar : public ITaskbar {
public:
    std::uint32_t getState() override { return state; }
    void setState(std::uint32_t s) override {
        calls.push_back("set " + std::to_string(s));
        state = (s & 1U) ? 1 : 0;
    }
    void showWindow(bool visible) override { calls.push_back(visible ? "show" : "hide"); }
    std::uint32_t state = 0;
    std::vector<std::string> calls;
};

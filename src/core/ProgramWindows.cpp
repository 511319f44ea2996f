#include "core/ProgramWindows.h"

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

struct Entry {
    QObject* window;
    std::function<void()> close;
};

std::vector<Entry>& loaded() {
    static std::vector<Entry> windows;
    return windows;
}

bool forget(QObject* window) {
    auto& windows = loaded();
    const auto it =
        std::find_if(windows.begin(), windows.end(), [window](const Entry& e) { return e.window == window; });
    if (it == windows.end()) {
        return false;
    }
    windows.erase(it);
    return true;
}

} // namespace

void ProgramWindows::Loaded(QObject* window, std::function<void()> close) {
    forget(window); // loaded again: still one entry
    loaded().push_back({window, std::move(close)});
}

void ProgramWindows::Unloaded(QObject* window) {
    if (forget(window) && loaded().empty()) {
        QCoreApplication::quit();
    }
}

void ProgramWindows::CloseAll() {
    // A copy: each close takes its own entry out.
    const std::vector<Entry> windows = loaded();
    for (const Entry& e : windows) {
        e.close();
    }
}

int ProgramWindows::Count() {
    return static_cast<int>(loaded().size());
}

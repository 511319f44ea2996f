#include "core/LongOperation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

// Operations running now, by name with the window whose end stops them, and
// the ends waiting for them. All on the window's thread.
struct Running {
    std::string name;
    const QObject* window;
};
std::vector<Running>& running() {
    static std::vector<Running> operations;
    return operations;
}

struct DeferredEnd {
    const QObject* window;
    std::function<void()> end;
};
std::vector<DeferredEnd>& deferredEnds() {
    static std::vector<DeferredEnd> ends;
    return ends;
}

bool runsFor(const QObject* window) {
    return std::any_of(running().begin(), running().end(),
                       [window](const Running& r) { return r.window == window; });
}

bool endAsked(const QObject* window) {
    return std::any_of(deferredEnds().begin(), deferredEnds().end(),
                       [window](const DeferredEnd& d) { return d.window == window; });
}

} // namespace

std::optional<LongOperation> LongOperation::Begin(QObject* owner, std::string name, const QObject* window) {
    if (std::any_of(running().begin(), running().end(),
                    [&name](const Running& r) { return r.name == name; })) {
        return std::nullopt;
    }
    return LongOperation(owner, std::move(name), window);
}

LongOperation::LongOperation(QObject* owner, std::string name, const QObject* window)
    : m_owner(owner), m_name(std::move(name)), m_window(window) {
    running().push_back({m_name, m_window});
}

LongOperation::LongOperation(LongOperation&& other) noexcept
    : m_owner(other.m_owner.data()), m_name(std::move(other.m_name)), m_window(other.m_window),
      m_active(std::exchange(other.m_active, false)) {}

LongOperation::~LongOperation() {
    if (!m_active) {
        return;
    }
    auto& operations = running();
    operations.erase(std::find_if(operations.begin(), operations.end(),
                                  [this](const Running& r) { return r.name == m_name; }));
    if (runsFor(m_window)) {
        return;
    }
    // The ends asked for this window while its operations ran: carried out
    // from the event loop, after the operation's own stack has unwound.
    std::vector<std::function<void()>> ends;
    auto& deferred = deferredEnds();
    for (auto it = deferred.begin(); it != deferred.end();) {
        if (it->window == m_window) {
            ends.push_back(std::move(it->end));
            it = deferred.erase(it);
        } else {
            ++it;
        }
    }
    if (!ends.empty()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [ends = std::move(ends)] {
                for (const auto& end : ends) {
                    end();
                }
            },
            Qt::QueuedConnection);
    }
}

bool LongOperation::Yield() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return Alive();
}

bool LongOperation::Wait(int maxMs) {
    if (maxMs <= 0) {
        return Yield();
    }
    // The wake-up bounds the sleep when no other event comes.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(maxMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return Alive();
}

bool LongOperation::Alive() const {
    return m_owner && !endAsked(m_window);
}

bool LongOperation::AnyRunning() {
    return !running().empty();
}

bool LongOperation::DeferEnd(const QObject* window, std::function<void()> end) {
    if (!runsFor(window)) {
        return false;
    }
    deferredEnds().push_back({window, std::move(end)});
    return true;
}

#include "core/LongOperation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

// Operations running now, by name, and the end waiting for them. All on the
// window's thread.
std::vector<std::string>& running() {
    static std::vector<std::string> names;
    return names;
}

// Every window that asked to end meanwhile keeps its own end.
std::vector<std::function<void()>>& deferredEnds() {
    static std::vector<std::function<void()>> ends;
    return ends;
}

} // namespace

std::optional<LongOperation> LongOperation::Begin(QObject* owner, std::string name) {
    if (std::find(running().begin(), running().end(), name) != running().end()) {
        return std::nullopt;
    }
    return LongOperation(owner, std::move(name));
}

LongOperation::LongOperation(QObject* owner, std::string name) : m_owner(owner), m_name(std::move(name)) {
    running().push_back(m_name);
}

LongOperation::LongOperation(LongOperation&& other) noexcept
    : m_owner(other.m_owner.data()), m_name(std::move(other.m_name)),
      m_active(std::exchange(other.m_active, false)) {}

LongOperation::~LongOperation() {
    if (!m_active) {
        return;
    }
    auto& names = running();
    names.erase(std::find(names.begin(), names.end(), m_name));
    if (names.empty() && !deferredEnds().empty()) {
        // The end the user asked for while this ran: carried out from the
        // event loop, after the operation's own stack has unwound.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                for (auto& end : std::exchange(deferredEnds(), {})) {
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
    return m_owner && deferredEnds().empty();
}

bool LongOperation::AnyRunning() {
    return !running().empty();
}

bool LongOperation::DeferEnd(std::function<void()> end) {
    if (running().empty()) {
        return false;
    }
    deferredEnds().push_back(std::move(end));
    return true;
}

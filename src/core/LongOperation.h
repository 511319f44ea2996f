#pragma once
// How a long operation lets the window's events run while it works
// (ejecting drives, sliding an alert in, freeing memory, killing processes):
// it runs on the window's thread and yields to the event loop between its
// steps. Three rules keep that safe, and this class is the one place they
// live:
// - one start at a time: a second start of a running operation is refused;
// - objects touched after a yield are guarded: yield() says false once the
//   operation's owner is gone, and the operation returns at once;
// - a window's end waits for its own operations only: closing a window
//   during one of them stops them and is deferred until they have unwound,
//   while the operations of another window run on.
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QObject;

class LongOperation {
public:
    // The window of the main window's tools, alerts and drives.
    static constexpr const QObject* kMainWindow = nullptr;

    // Starts the operation `name` of owner (a tool, or its window), which
    // the end of `window` stops; std::nullopt when one of that name runs
    // already.
    static std::optional<LongOperation> Begin(QObject* owner, std::string name,
                                              const QObject* window = kMainWindow);
    LongOperation(LongOperation&& other) noexcept;
    LongOperation& operator=(LongOperation&&) = delete;
    LongOperation(const LongOperation&) = delete;
    ~LongOperation();

    // Runs the pending events. False when the owner was destroyed meanwhile
    // or its window is to end: the operation must stop without touching the
    // owner again.
    bool Yield();
    // Like Yield, but sleeps until an event comes or maxMs have passed, for
    // an operation that waits on an answer or a timer.
    bool Wait(int maxMs);
    // The same test without running events.
    bool Alive() const;

    // Whether any operation runs now.
    static bool AnyRunning();
    // For the end of `window`: while one of its operations runs, keeps `end`
    // to run once the last of them has unwound and returns true; otherwise
    // returns false and the caller ends at once.
    static bool DeferEnd(const QObject* window, std::function<void()> end);

private:
    LongOperation(QObject* owner, std::string name, const QObject* window);

    QPointer<QObject> m_owner;
    std::string m_name;
    const QObject* m_window;
    bool m_active = true;
};

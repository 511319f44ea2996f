#pragma once
// How a long operation lets the window's events run while it works
// (ejecting drives, sliding an alert in, freeing memory, killing processes):
// it runs on the window's thread and yields to the event loop between its
// steps. Three rules keep that safe, and this class is the one place they
// live:
// - one start at a time: a second start of a running operation is refused;
// - objects touched after a yield are guarded: yield() says false once the
//   operation's owner is gone, and the operation returns at once;
// - the program's end waits: Exit, or closing the main window, during an
//   operation is deferred until the last operation has unwound.
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QObject;

class LongOperation {
public:
    // Starts the operation `name` of owner (its window or tool); std::nullopt
    // when one of that name runs already.
    static std::optional<LongOperation> Begin(QObject* owner, std::string name);
    LongOperation(LongOperation&& other) noexcept;
    LongOperation& operator=(LongOperation&&) = delete;
    LongOperation(const LongOperation&) = delete;
    ~LongOperation();

    // Runs the pending events. False when the owner was destroyed meanwhile
    // or the program is to end: the operation must stop without touching
    // the owner again.
    bool Yield();
    // Like Yield, but sleeps until an event comes or maxMs have passed, for
    // an operation that waits on an answer or a timer.
    bool Wait(int maxMs);
    // The same test without running events.
    bool Alive() const;

    // Whether any operation runs now.
    static bool AnyRunning();
    // For a window's end: while an operation runs, keeps `end` to run once
    // the last one has unwound and returns true; otherwise returns false and
    // the caller ends at once. Each window that asks keeps its own end.
    static bool DeferEnd(std::function<void()> end);

private:
    LongOperation(QObject* owner, std::string name);

    QPointer<QObject> m_owner;
    std::string m_name;
    bool m_active = true;
};

#pragma once
// One thread that runs jobs in the order they were handed in, so that work
// which may wait on another process (a desktop service, the sound server)
// never holds up the window's thread. The thread starts with the first job
// and ends with stop() or the destructor.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class SerialWorker {
public:
    SerialWorker() = default;
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Queues a job; nothing once stopped.
    void post(std::function<void()> job);
    // Drops the jobs not yet begun, waits for the one under way (each job
    // bounds its own waits) and ends the thread. Further posts are dropped.
    void stop();
    // Waits until every job handed in so far has run.
    void drain();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_busy = false;
    bool m_stopped = false;
    std::thread m_thread;
};

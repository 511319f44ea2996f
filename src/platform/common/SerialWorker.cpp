#include "SerialWorker.h"

#include <utility>

SerialWorker::~SerialWorker() {
    stop();
}

void SerialWorker::post(std::function<void()> job) {
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (m_stopped) {
            return;
        }
        m_jobs.push_back(std::move(job));
        if (!m_thread.joinable()) {
            m_thread = std::thread([this] { run(); });
        }
    }
    m_wake.notify_one();
}

void SerialWorker::stop() {
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_stopped = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_idle.notify_all();
}

void SerialWorker::drain() {
    std::unique_lock<std::mutex> guard(m_mutex);
    m_idle.wait(guard, [this] { return m_jobs.empty() && !m_busy; });
}

void SerialWorker::run() {
    std::unique_lock<std::mutex> guard(m_mutex);
    for (;;) {
        m_wake.wait(guard, [this] { return m_stopped || !m_jobs.empty(); });
        if (m_stopped) {
            return;
        }
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        guard.unlock();
        job();
        guard.lock();
        m_busy = false;
        if (m_jobs.empty()) {
            m_idle.notify_all();
        }
    }
}

#pragma once
// The default sink of the PulseAudio server (or PipeWire's pulse server):
// one connection, made when first needed and kept, whose mute state follows
// the server's sink events, so reading it costs no round trip. libpulse is
// loaded with the first use. Everything that talks to the server runs on one
// worker thread of its own, in the order asked: the caller never waits, and
// every wait of the worker is bounded, so a server that stalls costs a job
// about a second and holds up nothing else.
#include "platform/ISpeakers.h"
#include "platform/common/SerialWorker.h"

#include <atomic>
#include <chrono>
#include <memory>

class PulseSpeakers : public ISpeakers {
public:
    PulseSpeakers();
    ~PulseSpeakers() override;
    PulseSpeakers(const PulseSpeakers&) = delete;
    PulseSpeakers& operator=(const PulseSpeakers&) = delete;

    std::int32_t getMute() override;
    void setMute(bool mute) override;
    void beep(std::int32_t frequency, std::int32_t ms) override;

    // How long one wait on the server may take.
    static constexpr std::chrono::milliseconds kAnswerTime{1000};
    // How long a sink that answered may take to start playing (one asleep
    // wakes at its own pace).
    static constexpr std::chrono::milliseconds kStartTime{3000};
    // The pause before a server that failed is tried again.
    static constexpr std::chrono::seconds kRetryPause{10};

    struct Api;
    struct Connection;

private:
    // On the worker: the connection, made anew when it is gone.
    bool connected();
    void connectJob();
    void applyMute(bool mute);
    void play(std::int32_t frequency, std::int32_t ms);

    // The worker's own.
    std::unique_ptr<Api> m_api; // the library's functions, once loaded
    std::unique_ptr<Connection> m_connection;
    std::chrono::steady_clock::time_point m_retryAfter{};

    // Shared with the caller's thread and the library's.
    std::atomic<std::int32_t> m_muted{0}; // the last known state
    std::atomic<bool> m_up{false};        // a connection is ready
    std::atomic<bool> m_connectQueued{false};

    SerialWorker m_worker; // last member: stopped before the rest goes
};

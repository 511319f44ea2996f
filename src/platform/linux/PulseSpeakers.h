#pragma once
// The default sink of the PulseAudio server (or PipeWire's pulse server):
// one connection, made when first needed and kept, whose mute state follows
// the server's sink events, so reading it costs no round trip. libpulse is
// loaded with the first use. Every wait on the server is bounded: a server
// that never answers costs about a second, and is tried again only after a
// pause.
#include "platform/ISpeakers.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class PulseSpeakers : public ISpeakers {
public:
    PulseSpeakers();
    ~PulseSpeakers() override;
    PulseSpeakers(const PulseSpeakers&) = delete;
    PulseSpeakers& operator=(const PulseSpeakers&) = delete;

    std::int32_t getMute() override;
    void setMute(bool mute) override;
    void beep(std::int32_t frequency, std::int32_t ms) override;

    // How long a wait on the server may take.
    static constexpr std::chrono::milliseconds kAnswerTime{1000};
    // The pause before a server that failed is tried again.
    static constexpr std::chrono::seconds kRetryPause{10};

    struct Api;
    struct Connection;

private:
    bool connected();

    std::unique_ptr<Api> m_api; // the library's functions, once loaded
    std::unique_ptr<Connection> m_connection;
    std::chrono::steady_clock::time_point m_retryAfter{};
};

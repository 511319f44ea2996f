#include "PulseSpeakers.h"

#include "DynamicLibrary.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>
#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/stream.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>
#include <vector>

// The functions of libpulse the program uses.
struct PulseSpeakers::Api {
    // The library keeps threads and state of its own: never unloaded.
    DynamicLibrary pulse{"libpulse.so.0", DynamicLibrary::Unload::Never};
    decltype(&pa_threaded_mainloop_new) mainloopNew = nullptr;
    decltype(&pa_threaded_mainloop_free) mainloopFree = nullptr;
    decltype(&pa_threaded_mainloop_start) mainloopStart = nullptr;
    decltype(&pa_threaded_mainloop_stop) mainloopStop = nullptr;
    decltype(&pa_threaded_mainloop_lock) lock = nullptr;
    decltype(&pa_threaded_mainloop_unlock) unlock = nullptr;
    decltype(&pa_threaded_mainloop_get_api) mainloopApi = nullptr;
    decltype(&pa_context_new) contextNew = nullptr;
    decltype(&pa_context_unref) contextUnref = nullptr;
    decltype(&pa_context_connect) connect = nullptr;
    decltype(&pa_context_disconnect) disconnect = nullptr;
    decltype(&pa_context_get_state) state = nullptr;
    decltype(&pa_context_set_state_callback) onState = nullptr;
    decltype(&pa_context_set_subscribe_callback) onEvent = nullptr;
    decltype(&pa_context_subscribe) subscribe = nullptr;
    decltype(&pa_context_get_server_info) serverInfo = nullptr;
    decltype(&pa_context_get_sink_info_by_name) sinkInfo = nullptr;
    decltype(&pa_context_set_sink_mute_by_name) setSinkMute = nullptr;
    decltype(&pa_operation_unref) operationUnref = nullptr;
    decltype(&pa_stream_new) streamNew = nullptr;
    decltype(&pa_stream_unref) streamUnref = nullptr;
    decltype(&pa_stream_set_state_callback) onStreamState = nullptr;
    decltype(&pa_stream_get_state) streamState = nullptr;
    decltype(&pa_stream_connect_playback) connectPlayback = nullptr;
    decltype(&pa_stream_disconnect) streamDisconnect = nullptr;
    decltype(&pa_stream_write) streamWrite = nullptr;
    decltype(&pa_stream_writable_size) writableSize = nullptr;
    decltype(&pa_stream_set_write_callback) onWritable = nullptr;
    decltype(&pa_stream_drain) streamDrain = nullptr;

    bool bind() {
        return pulse.bind("pa_threaded_mainloop_new", mainloopNew) &&
               pulse.bind("pa_threaded_mainloop_free", mainloopFree) &&
               pulse.bind("pa_threaded_mainloop_start", mainloopStart) &&
               pulse.bind("pa_threaded_mainloop_stop", mainloopStop) &&
               pulse.bind("pa_threaded_mainloop_lock", lock) &&
               pulse.bind("pa_threaded_mainloop_unlock", unlock) &&
               pulse.bind("pa_threaded_mainloop_get_api", mainloopApi) &&
               pulse.bind("pa_context_new", contextNew) && pulse.bind("pa_context_unref", contextUnref) &&
               pulse.bind("pa_context_connect", connect) && pulse.bind("pa_context_disconnect", disconnect) &&
               pulse.bind("pa_context_get_state", state) &&
               pulse.bind("pa_context_set_state_callback", onState) &&
               pulse.bind("pa_context_set_subscribe_callback", onEvent) &&
               pulse.bind("pa_context_subscribe", subscribe) &&
               pulse.bind("pa_context_get_server_info", serverInfo) &&
               pulse.bind("pa_context_get_sink_info_by_name", sinkInfo) &&
               pulse.bind("pa_context_set_sink_mute_by_name", setSinkMute) &&
               pulse.bind("pa_operation_unref", operationUnref) && pulse.bind("pa_stream_new", streamNew) &&
               pulse.bind("pa_stream_unref", streamUnref) &&
               pulse.bind("pa_stream_set_state_callback", onStreamState) &&
               pulse.bind("pa_stream_get_state", streamState) &&
               pulse.bind("pa_stream_connect_playback", connectPlayback) &&
               pulse.bind("pa_stream_disconnect", streamDisconnect) &&
               pulse.bind("pa_stream_write", streamWrite) &&
               pulse.bind("pa_stream_writable_size", writableSize) &&
               pulse.bind("pa_stream_set_write_callback", onWritable) &&
               pulse.bind("pa_stream_drain", streamDrain);
    }
};

// One connection with its own thread. The callbacks run on that thread with
// the loop locked; the worker waits for them on cv, each wait bounded.
struct PulseSpeakers::Connection {
    Connection(Api& a, std::atomic<std::int32_t>& m, std::atomic<bool>& u) : api(a), muted(m), up(u) {}
    ~Connection() {
        if (!loop) {
            return;
        }
        api.lock(loop);
        if (context) {
            api.disconnect(context);
            api.contextUnref(context);
        }
        api.unlock(loop);
        api.mainloopStop(loop);
        api.mainloopFree(loop);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void wake() {
        { const std::lock_guard<std::mutex> guard(mutex); }
        cv.notify_all();
    }
    template <typename Done> bool waitFor(Done done, std::chrono::milliseconds most = kAnswerTime) {
        std::unique_lock<std::mutex> guard(mutex);
        return cv.wait_for(guard, most, done);
    }
    bool ready() const { return state == PA_CONTEXT_READY; }
    bool over() const { return state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED; }

    // Asks for the default sink's state; the answer lands in muted.
    void query() {
        if (pa_operation* op = api.serverInfo(context, &Connection::onServer, this)) {
            api.operationUnref(op);
        }
    }

    static void onState(pa_context* context, void* self) {
        auto* c = static_cast<Connection*>(self);
        c->state = c->api.state(context);
        c->up = c->ready();
        c->wake();
    }
    static void onEvent(pa_context*, pa_subscription_event_type_t, std::uint32_t, void* self) {
        static_cast<Connection*>(self)->query(); // a sink changed, or the default sink did
    }
    static void onServer(pa_context* context, const pa_server_info* info, void* self) {
        auto* c = static_cast<Connection*>(self);
        if (!info || !info->default_sink_name) {
            c->known = true; // no output: not muted
            c->muted = 0;
            c->wake();
            return;
        }
        if (pa_operation* op = c->api.sinkInfo(context, info->default_sink_name, &Connection::onSink, self)) {
            c->api.operationUnref(op);
        }
    }
    static void onSink(pa_context*, const pa_sink_info* info, int last, void* self) {
        auto* c = static_cast<Connection*>(self);
        if (info) {
            c->muted = info->mute ? 1 : 0;
        }
        if (last) {
            c->known = true;
            c->wake();
        }
    }
    static void onDone(pa_context*, int, void* self) {
        auto* c = static_cast<Connection*>(self);
        ++c->answers;
        c->wake();
    }
    static void onStream(pa_stream* stream, void* self) {
        auto* c = static_cast<Connection*>(self);
        c->streamState = c->api.streamState(stream);
        c->wake();
    }
    static void onRequest(pa_stream*, std::size_t, void* self) {
        auto* c = static_cast<Connection*>(self);
        ++c->requests;
        c->wake();
    }
    static void onDrained(pa_stream*, int, void* self) {
        auto* c = static_cast<Connection*>(self);
        ++c->drains;
        c->wake();
    }

    Api& api;
    std::atomic<std::int32_t>& muted;
    std::atomic<bool>& up;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    std::atomic<int> state{PA_CONTEXT_UNCONNECTED};
    std::atomic<int> streamState{PA_STREAM_UNCONNECTED};
    std::atomic<int> drains{0};
    std::atomic<int> requests{0};
    std::atomic<bool> known{false};
    std::atomic<int> answers{0};
    std::mutex mutex;
    std::condition_variable cv;
};

PulseSpeakers::PulseSpeakers() = default;

PulseSpeakers::~PulseSpeakers() {
    m_worker.stop(); // before the connection its jobs use
    m_connection.reset();
}

std::int32_t PulseSpeakers::getMute() {
    // The first question starts the connection; its answer comes with the
    // server's events. Asked again while a connection is on its way: nothing.
    if (!m_up && !m_connectQueued.exchange(true)) {
        m_worker.post([this] { connectJob(); });
    }
    return m_muted;
}

void PulseSpeakers::setMute(bool mute) {
    m_muted = mute ? 1 : 0; // a toggle right after reads the state asked for
    m_worker.post([this, mute] { applyMute(mute); });
}

void PulseSpeakers::beep(std::int32_t frequency, std::int32_t ms) {
    if (frequency <= 0 || ms <= 0) {
        return;
    }
    m_worker.post([this, frequency, ms] { play(frequency, ms); });
}

void PulseSpeakers::connectJob() {
    connected();
    m_connectQueued = false;
}

bool PulseSpeakers::connected() {
    if (m_connection && m_connection->ready()) {
        return true;
    }
    m_connection.reset(); // gone since (the server restarted): made anew
    m_up = false;
    const auto now = std::chrono::steady_clock::now();
    if (now < m_retryAfter) {
        return false;
    }
    if (!m_api) {
        m_api = std::make_unique<Api>();
        if (!m_api->bind()) {
            m_retryAfter = std::chrono::steady_clock::time_point::max(); // no library: silent for good
            return false;
        }
    }
    auto c = std::make_unique<Connection>(*m_api, m_muted, m_up);
    Api& api = *m_api;
    c->loop = api.mainloopNew();
    if (!c->loop) {
        m_retryAfter = now + kRetryPause;
        return false;
    }
    c->context = api.contextNew(api.mainloopApi(c->loop), "Trafalo");
    bool ok = c->context != nullptr;
    if (ok) {
        api.onState(c->context, &Connection::onState, c.get());
        ok = api.connect(c->context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
             api.mainloopStart(c->loop) >= 0;
    }
    ok = ok && c->waitFor([&] { return c->ready() || c->over(); }) && c->ready();
    if (ok) {
        api.lock(c->loop);
        api.onEvent(c->context, &Connection::onEvent, c.get());
        if (pa_operation* op = api.subscribe(
                c->context,
                static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER),
                nullptr, nullptr)) {
            api.operationUnref(op);
        }
        c->query();
        api.unlock(c->loop);
        c->waitFor([&] { return c->known.load(); });
    }
    if (!ok) {
        c.reset();
        m_up = false;
        m_retryAfter = now + kRetryPause;
        return false;
    }
    m_connection = std::move(c);
    return true;
}

void PulseSpeakers::applyMute(bool mute) {
    if (!connected()) {
        return;
    }
    Connection& c = *m_connection;
    const int before = c.answers;
    m_api->lock(c.loop);
    pa_operation* op = m_api->setSinkMute(c.context, "@DEFAULT_SINK@", mute ? 1 : 0, &Connection::onDone, &c);
    if (op) {
        m_api->operationUnref(op);
    }
    m_api->unlock(c.loop);
    // Waited for so that a beep asked next follows the change; the sink's
    // event brings the state itself.
    if (op) {
        c.waitFor([&] { return c.answers != before; });
    }
}

void PulseSpeakers::play(std::int32_t frequency, std::int32_t ms) {
    if (!connected()) {
        return; // only a server that answers is asked to play
    }
    constexpr std::uint32_t kRate = 44100;
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
    const std::size_t count = static_cast<std::size_t>(kRate) * static_cast<std::size_t>(ms) / 1000;
    std::vector<std::int16_t> samples(count);
    const std::size_t ramp = std::min<std::size_t>(count / 2, kRate / 400); // 2.5 ms against clicks
    for (std::size_t i = 0; i < count; ++i) {
        const double edge = ramp == 0
                                ? 1.0
                                : std::min({1.0, static_cast<double>(i) / static_cast<double>(ramp),
                                            static_cast<double>(count - 1 - i) / static_cast<double>(ramp)});
        samples[i] = static_cast<std::int16_t>(
            8000.0 * edge * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(i) / kRate));
    }
    // Small buffers: with the defaults a short tone takes seconds to drain.
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = kRate * 2 / 50; // 20 ms
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);

    Connection& c = *m_connection;
    Api& api = *m_api;
    api.lock(c.loop);
    pa_stream* stream = api.streamNew(c.context, "Beep", &format, nullptr);
    if (!stream) {
        api.unlock(c.loop);
        return;
    }
    c.streamState = PA_STREAM_UNCONNECTED;
    api.onStreamState(stream, &Connection::onStream, &c);
    api.onWritable(stream, &Connection::onRequest, &c);
    // The latency asked for is the whole way to the speaker: otherwise the
    // sink holds the tone in a buffer of its own, the drain reports it played
    // while it still waits there, and the disconnect throws it away.
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE);
    const bool asked = api.connectPlayback(stream, nullptr, &attr, flags, nullptr, nullptr) >= 0;
    api.unlock(c.loop);

    const auto settled = [&] {
        const int state = c.streamState;
        return state == PA_STREAM_READY || state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED;
    };
    if (asked && c.waitFor(settled) && c.streamState == PA_STREAM_READY) {
        // Written as the server asks for it: a tone handed over whole sits
        // in the server until the sink next wakes, and is cut off by the
        // disconnect. A sink asleep may take a second or more to ask first.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples.data());
        std::size_t left = samples.size() * sizeof(std::int16_t);
        bool sent = true;
        while (sent && left > 0) {
            const int asked = c.requests;
            api.lock(c.loop);
            const std::size_t room = std::min(left, api.writableSize(stream));
            sent = room == 0 || api.streamWrite(stream, bytes, room, nullptr, 0, PA_SEEK_RELATIVE) == 0;
            api.unlock(c.loop);
            bytes += room;
            left -= room;
            sent = sent && (left == 0 || c.waitFor([&] { return c.requests != asked; }, kStartTime));
        }
        const int before = c.drains;
        api.lock(c.loop);
        pa_operation* drain = sent ? api.streamDrain(stream, &Connection::onDrained, &c) : nullptr;
        if (drain) {
            api.operationUnref(drain);
        }
        api.unlock(c.loop);
        if (drain) {
            // Returns once the tone has been heard, or a server that stopped
            // answering has had a second more than the tone's length.
            c.waitFor([&] { return c.drains != before; }, std::chrono::milliseconds(ms) + kAnswerTime);
        }
    }
    api.lock(c.loop);
    api.onStreamState(stream, nullptr, nullptr);
    api.onWritable(stream, nullptr, nullptr);
    api.streamDisconnect(stream);
    api.streamUnref(stream);
    api.unlock(c.loop);
}

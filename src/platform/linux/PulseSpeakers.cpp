#include "PulseSpeakers.h"

#include "DynamicLibrary.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/simple.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>
#include <vector>

// The functions of libpulse and libpulse-simple the program uses.
struct PulseSpeakers::Api {
    // Both libraries keep threads and state of their own: never unloaded.
    DynamicLibrary pulse{"libpulse.so.0", DynamicLibrary::Unload::Never};
    DynamicLibrary simple{"libpulse-simple.so.0", DynamicLibrary::Unload::Never};
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
    decltype(&pa_simple_new) simpleNew = nullptr;
    decltype(&pa_simple_write) simpleWrite = nullptr;
    decltype(&pa_simple_drain) simpleDrain = nullptr;
    decltype(&pa_simple_free) simpleFree = nullptr;

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
               pulse.bind("pa_operation_unref", operationUnref) && simple.bind("pa_simple_new", simpleNew) &&
               simple.bind("pa_simple_write", simpleWrite) && simple.bind("pa_simple_drain", simpleDrain) &&
               simple.bind("pa_simple_free", simpleFree);
    }
};

// One connection with its own thread. The callbacks run on that thread with
// the loop locked; the window's thread waits for them on cv.
struct PulseSpeakers::Connection {
    explicit Connection(Api& a) : api(a) {}
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
    template <typename Done> bool waitFor(Done done) {
        std::unique_lock<std::mutex> guard(mutex);
        return cv.wait_for(guard, kAnswerTime, done);
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

    Api& api;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    std::atomic<int> state{PA_CONTEXT_UNCONNECTED};
    std::atomic<std::int32_t> muted{0};
    std::atomic<bool> known{false};
    std::atomic<int> answers{0};
    std::mutex mutex;
    std::condition_variable cv;
};

PulseSpeakers::PulseSpeakers() = default;

PulseSpeakers::~PulseSpeakers() {
    m_connection.reset();
}

bool PulseSpeakers::connected() {
    if (m_connection && m_connection->ready()) {
        return true;
    }
    m_connection.reset(); // gone since (the server restarted): made anew
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
    auto c = std::make_unique<Connection>(*m_api);
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
        m_retryAfter = now + kRetryPause;
        return false;
    }
    m_connection = std::move(c);
    return true;
}

std::int32_t PulseSpeakers::getMute() {
    return connected() ? m_connection->muted.load() : 0;
}

void PulseSpeakers::setMute(bool mute) {
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
    if (op && c.waitFor([&] { return c.answers != before; })) {
        c.muted = mute ? 1 : 0; // the sink's event confirms it shortly
    }
}

void PulseSpeakers::beep(std::int32_t frequency, std::int32_t ms) {
    if (frequency <= 0 || ms <= 0 || !connected()) {
        return; // only a server that answers is asked to play
    }
    constexpr std::uint32_t kRate = 44100;
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
    // Small buffers: with the defaults a short tone takes seconds to drain.
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = kRate * 2 / 50; // 20 ms
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    pa_simple* stream = m_api->simpleNew(nullptr, "Trafalo", PA_STREAM_PLAYBACK, nullptr, "Beep", &format,
                                         nullptr, &attr, &error);
    if (!stream) {
        return;
    }
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
    if (m_api->simpleWrite(stream, samples.data(), samples.size() * sizeof(std::int16_t), &error) == 0) {
        m_api->simpleDrain(stream, &error); // returns once the tone has been heard
    }
    m_api->simpleFree(stream);
}

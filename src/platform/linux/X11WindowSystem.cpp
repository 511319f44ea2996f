#include "X11WindowSystem.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <sys/socket.h>
#include <xcb/xcb.h>

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); } // NOLINT: xcb replies are malloc'ed
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

} // namespace

std::optional<ScreenPoint> X11WindowSystem::placeOf(std::uintptr_t nativeWindow) const {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || nativeWindow == 0) {
        return std::nullopt;
    }
    const auto window = static_cast<xcb_window_t>(nativeWindow);
    // The window manager puts the window into a frame of its own, so the
    // window's place relative to its parent says nothing: ask where its
    // corner lies on the root window.
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry) {
        return std::nullopt;
    }
    const Reply<xcb_translate_coordinates_reply_t> place(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, geometry->root, 0, 0), nullptr));
    if (!place) {
        return std::nullopt;
    }
    return ScreenPoint{place->dst_x, place->dst_y};
}

void X11WindowSystem::fitFramesInTheSendBuffer() {
    // The socket counts as writable only while at most a quarter of its
    // buffer is in use, and a 110 KB picture takes about 140 KB of it.
    constexpr int kWanted = 1 << 20;
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection) {
        ::setsockopt(xcb_get_file_descriptor(connection), SOL_SOCKET, SO_SNDBUF, &kWanted, sizeof kWanted);
    }
}

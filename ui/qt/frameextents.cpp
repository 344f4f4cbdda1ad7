#include "frameextents.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace velmora {

namespace {

constexpr auto kWaitForWindowManager = std::chrono::milliseconds(500);

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *connection, const char *name) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

/** Whether the window manager lists the request among what it supports. */
bool supported(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t request) {
    const xcb_atom_t list = atom(connection, "_NET_SUPPORTED");
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, root, list, XCB_ATOM_ATOM, 0, 4096),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32) {
        return false;
    }
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, request) != atoms + count;
}

}  // namespace

QMargins expectedFrameMargins(QWidget *window) {
    if (window->isVisible() && window->windowHandle() != nullptr) {
        return window->windowHandle()->frameMargins();
    }
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr ||
        x11->connection() == nullptr) {
        return {};
    }
    xcb_connection_t *connection = x11->connection();
    const auto handle = static_cast<xcb_window_t>(window->winId());  // made now, not yet mapped
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    if (request == XCB_ATOM_NONE || !supported(connection, root, request)) {
        return {};
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = handle;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);

    const auto deadline = std::chrono::steady_clock::now() + kWaitForWindowManager;
    do {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(
                connection,
                xcb_get_property(connection, 0, handle, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr),
            &std::free);
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 16) {
            const auto *sides = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
            return QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                            static_cast<int>(sides[1]), static_cast<int>(sides[3]));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
    return {};
}

}  // namespace velmora

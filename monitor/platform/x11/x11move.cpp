#include "monitor/platform/x11/x11move.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace monitor::x11 {
namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

bool supportedByWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_atom_t wanted) {
    const xcb_atom_t supported = atom(c, "_NET_SUPPORTED");
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr);
    if (!reply)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int n = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
    bool found = false;
    for (int i = 0; i < n && !found; ++i)
        found = atoms[i] == wanted;
    std::free(reply);
    return found;
}

} // namespace

bool startMove(QWindow* window, QPoint globalPointer) {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || !window->handle())
        return false;
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t moveResize = atom(c, "_NET_WM_MOVERESIZE");
    if (moveResize == XCB_ATOM_NONE || !supportedByWindowManager(c, root, moveResize))
        return false;
    const qreal scale = window->devicePixelRatio();
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(window->winId());
    ev.type = moveResize;
    ev.data.data32[0] = std::uint32_t(qRound(globalPointer.x() * scale));
    ev.data.data32[1] = std::uint32_t(qRound(globalPointer.y() * scale));
    ev.data.data32[2] = 8; // _NET_WM_MOVERESIZE_MOVE
    ev.data.data32[3] = XCB_BUTTON_INDEX_1;
    ev.data.data32[4] = 1; // a normal application asks
    // The window manager can only take the pointer once we let it go.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    return true;
}

} // namespace monitor::x11

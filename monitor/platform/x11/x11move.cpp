#include "monitor/platform/x11/x11move.h"

#include <QGuiApplication>
#include <QMouseEvent>
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

constexpr std::uint32_t MoveResizeMove = 8;
constexpr std::uint32_t MoveResizeCancel = 11;

void sendMoveResize(xcb_connection_t* c, xcb_window_t window, xcb_atom_t moveResize,
                    QPoint rootPointer, std::uint32_t action) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = window;
    ev.type = moveResize;
    ev.data.data32[0] = std::uint32_t(rootPointer.x());
    ev.data.data32[1] = std::uint32_t(rootPointer.y());
    ev.data.data32[2] = action;
    ev.data.data32[3] = XCB_BUTTON_INDEX_1;
    ev.data.data32[4] = 1; // a normal application asks
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
}

// A button released before the window manager took the pointer comes to us,
// not to it, and it would go on moving the window until the next click: on
// seeing that release, the move is called off. A release the window manager
// gets never reaches us; the next press disarms the watch.
class UnfinishedMoveWatch final : public QObject {
public:
    static constexpr const char* Name = "unfinishedMoveWatch";

    explicit UnfinishedMoveWatch(xcb_connection_t* c) : connection_(c) {}

    void arm(xcb_window_t window, xcb_atom_t moveResize, QPoint rootPointer) {
        window_ = window;
        moveResize_ = moveResize;
        pointer_ = rootPointer;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (window_ == XCB_WINDOW_NONE)
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            window_ = XCB_WINDOW_NONE;
        } else if (event->type() == QEvent::MouseButtonRelease && event->spontaneous() &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                   // A touch stays ours after the window manager took the
                   // pointer: its lift comes here even from a real drag.
                   static_cast<QMouseEvent*>(event)->source() == Qt::MouseEventNotSynthesized) {
            sendMoveResize(connection_, window_, moveResize_, pointer_, MoveResizeCancel);
            window_ = XCB_WINDOW_NONE;
        }
        return false; // the application sees every event as before
    }

private:
    xcb_connection_t* connection_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
    xcb_atom_t moveResize_ = XCB_ATOM_NONE;
    QPoint pointer_;
};

// One per application, and gone with it.
UnfinishedMoveWatch& unfinishedMoveWatch(xcb_connection_t* c) {
    QObject* found =
        qGuiApp->findChild<QObject*>(UnfinishedMoveWatch::Name, Qt::FindDirectChildrenOnly);
    if (found)
        return *static_cast<UnfinishedMoveWatch*>(found);
    auto* watch = new UnfinishedMoveWatch(c);
    watch->setObjectName(UnfinishedMoveWatch::Name);
    watch->setParent(qGuiApp);
    qGuiApp->installEventFilter(watch);
    return *watch;
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
    const QPoint rootPointer(qRound(globalPointer.x() * scale), qRound(globalPointer.y() * scale));
    const auto id = xcb_window_t(window->winId());
    unfinishedMoveWatch(c).arm(id, moveResize, rootPointer);
    // The window manager can only take the pointer once we let it go.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    sendMoveResize(c, id, moveResize, rootPointer, MoveResizeMove);
    return true;
}

} // namespace monitor::x11

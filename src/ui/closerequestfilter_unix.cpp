#include "ui/closerequestfilter.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

namespace velk {

namespace {

// The atom X11 window managers send in a WM_PROTOCOLS message to ask a window to close.
xcb_atom_t deleteWindowAtom() {
    static const xcb_atom_t atom = [] {
        const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            return xcb_atom_t(XCB_ATOM_NONE);
        static const char kName[] = "WM_DELETE_WINDOW";
        xcb_connection_t* connection = x11->connection();
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, true, sizeof kName - 1, kName), nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return found;
    }();
    return atom;
}

} // namespace

bool CloseRequestFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* request = static_cast<const xcb_client_message_event_t*>(message);
    if (request->format != 32 || request->window != xcb_window_t(m_window.effectiveWinId()))
        return false;
    const xcb_atom_t closeAsked = deleteWindowAtom();
    if (closeAsked == XCB_ATOM_NONE || request->data.data32[0] != closeAsked)
        return false;
    m_window.close();
    return true;
}

} // namespace velk

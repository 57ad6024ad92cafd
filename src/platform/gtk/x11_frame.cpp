#include "platform/gtk/x11_frame.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace tessaryn::gtk {

std::optional<FrameExtents> frame_extents(GdkWindow* window) {
    if (!GDK_IS_X11_WINDOW(window)) return std::nullopt;
    Display* display = GDK_WINDOW_XDISPLAY(window);
    const Atom property = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, GDK_WINDOW_XID(window), property, 0, 4, False, XA_CARDINAL,
                                          &type, &format, &count, &remaining, &data);
    std::optional<FrameExtents> extents;
    if (status == Success && type == XA_CARDINAL && format == 32 && count == 4) {
        const auto* values = reinterpret_cast<const long*>(data);
        extents = FrameExtents{static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]),
                               static_cast<int>(values[3])};
    }
    if (data != nullptr) XFree(data);
    return extents;
}

FrameExtents request_frame_extents(GdkWindow* window, int timeout_ms) {
    if (!GDK_IS_X11_WINDOW(window)) return {};
    Display* display = GDK_WINDOW_XDISPLAY(window);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = GDK_WINDOW_XID(window);
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    XFlush(display);

    // The answer is a property change on the window, which wakes the main context.
    bool timed_out = false;
    const guint timeout = g_timeout_add(
        static_cast<guint>(timeout_ms),
        [](gpointer flag) {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &timed_out);
    std::optional<FrameExtents> extents = frame_extents(window);
    while (!extents && !timed_out) {
        g_main_context_iteration(nullptr, TRUE);
        extents = frame_extents(window);
    }
    if (!timed_out) g_source_remove(timeout);
    return extents.value_or(FrameExtents{});
}

}  // namespace tessaryn::gtk

// The window manager's frame around the main window, needed to give the window an exact outer
// size: GTK sizes only the client area.
#pragma once

#include <gdk/gdk.h>

#include <optional>

namespace tessaryn::gtk {

struct FrameExtents {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    friend bool operator==(const FrameExtents&, const FrameExtents&) = default;
};

// Asks the window manager for the frame it will give this realised, unmapped window and waits
// up to `timeout_ms` for the answer. Without an answer (no window manager, or not an X11
// display) the frame counts as none.
FrameExtents request_frame_extents(GdkWindow* window, int timeout_ms);

// The frame the window manager has put around the window, if it says.
std::optional<FrameExtents> frame_extents(GdkWindow* window);

}  // namespace tessaryn::gtk

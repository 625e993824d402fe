// The display connection that the program's toolkit holds, shared with the program's own GL
// queries so that they run on the window's connection rather than on one of their own. Set by
// the toolkit once its display is open; a program without a window (the command line, the card
// helper) has none.
#pragma once

struct _XDisplay;
struct wl_display;

namespace Graphics {

struct HostDisplay {
    bool wayland = false;              // else X11
    bool waylandSession = false;       // X11 in a session that a Wayland compositor runs
    _XDisplay* x11 = nullptr;          // the toolkit's Xlib connection on X11
    wl_display* compositor = nullptr;  // the toolkit's compositor connection on Wayland
};

void ShareHostDisplay(const HostDisplay& display);
// The toolkit's connection, or null where none was shared.
const HostDisplay* SharedHostDisplay();

}  // namespace Graphics

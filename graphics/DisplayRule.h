// The one rule that picks the display, for ProbeKit and the program alike: a Wayland compositor
// that answers at WAYLAND_DISPLAY, else an X server that answers at DISPLAY, else none (drawing
// then goes to a device). Wayland first, as GTK orders its own backends. A server that accepts and
// does not answer within the bound of ServerWait.h counts as absent.
#pragma once

#include <X11/Xlib.h>

struct wl_display;

namespace Graphics {

enum class RuleDisplay { Wayland, X11, NoDisplay };

// What the rule found, with the connection that answered; the caller owns it.
struct RuleConnection {
    RuleDisplay display = RuleDisplay::NoDisplay;
    wl_display* compositor = nullptr;  // on Wayland: a compositor that has answered a round trip
    Display* server = nullptr;         // on X11
};

// Connects by the rule now. NOTE: connects by itself, never through WAYLAND_SOCKET, which may be
// the host's own connection.
RuleConnection ConnectByRule();

// The display the rule picks for this process: decided on the first call, whose connection to a
// compositor is closed again and to an X server kept; the same answer after.
RuleDisplay DisplayByRule();

// Whether a Wayland compositor answers where libwayland looks for one (WAYLAND_DISPLAY, else
// wayland-0): an X display beside it is then served by XWayland. A variable left over from
// elsewhere (XDG_SESSION_TYPE, a WAYLAND_DISPLAY naming nothing) makes no Wayland session.
bool InWaylandSession();

}  // namespace Graphics

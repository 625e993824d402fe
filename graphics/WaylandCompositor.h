// The Wayland compositor that WAYLAND_DISPLAY names, found the same way by ProbeKit and the
// program, so that both take the same display for the same environment. Every wait for its answer
// is bounded (ServerWait.h): a compositor that accepts and never answers counts as none.
#pragma once

#include "ServerWait.h"

struct wl_display;

namespace Graphics {

// A connection to the compositor at WAYLAND_DISPLAY (a socket path, or a name inside
// XDG_RUNTIME_DIR) that has answered a round trip; null when none answers. The caller
// disconnects it.
wl_display* ConnectToWaylandCompositor();

// The socket that libwayland, and GTK through it, connects to: WAYLAND_DISPLAY where it is set,
// even empty (then nothing), else wayland-0.
const char* LibwaylandSocket();

// Whether a compositor answers a round trip at the socket so named.
bool CompositorAnswersAt(const char* socket);

// A round trip on the connection's default queue, dispatching what comes meanwhile; false when the
// connection fails, the deadline passes or a termination signal is waiting.
bool RoundTripBy(wl_display* display, ServerDeadline deadline);

}  // namespace Graphics

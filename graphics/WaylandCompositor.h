// The Wayland compositor that WAYLAND_DISPLAY names, found the same way by ProbeKit and the
// program, so that both take the same display for the same environment.
#pragma once

struct wl_display;

namespace Graphics {

// A connection to the compositor at WAYLAND_DISPLAY (a socket path, or a name inside
// XDG_RUNTIME_DIR) that has answered a round trip; null when none answers. The caller
// disconnects it.
wl_display* ConnectToWaylandCompositor();

}  // namespace Graphics

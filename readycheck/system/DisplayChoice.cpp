#include "DisplayChoice.h"

#include <X11/Xlib.h>
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

#include "HostDisplay.h"
#include "WaylandCompositor.h"

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

bool InWaylandSession() {
    const char* session = std::getenv("XDG_SESSION_TYPE");
    return IsSet("WAYLAND_DISPLAY") || (session != nullptr && std::strcmp(session, "wayland") == 0);
}

// ProbeKit's rule, for a program without a window.
DisplaySystem FindByRule() {
    if (wl_display* compositor = Graphics::ConnectToWaylandCompositor()) {
        wl_display_disconnect(compositor);
        return DisplaySystem::Wayland;
    }
    if (Display* server = XOpenDisplay(nullptr)) {
        XCloseDisplay(server);
        return InWaylandSession() ? DisplaySystem::X11UnderWayland : DisplaySystem::X11;
    }
    return DisplaySystem::NoDisplay;
}

// Decided once, as ProbeKit decides it once.
DisplaySystem DisplayByRule() {
    static const DisplaySystem sSystem = FindByRule();
    return sSystem;
}

}  // namespace

DisplaySystem CurrentDisplaySystem() {
    if (const Graphics::HostDisplay* host = Graphics::SharedHostDisplay()) {
        if (host->wayland) {
            return DisplaySystem::Wayland;
        }
        return host->waylandSession ? DisplaySystem::X11UnderWayland : DisplaySystem::X11;
    }
    return DisplayByRule();
}

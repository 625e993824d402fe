#include "DisplayRule.h"

#include <wayland-client.h>

#include "WaylandCompositor.h"
#include "XServerConnection.h"

namespace Graphics {

namespace {

RuleDisplay DecideAndDisconnect() {
    const RuleConnection found = ConnectByRule();
    if (found.compositor != nullptr) {
        wl_display_disconnect(found.compositor);
    }
    if (found.server != nullptr) {
        XCloseDisplay(found.server);
    }
    return found.display;
}

}  // namespace

RuleConnection ConnectByRule() {
    if (wl_display* compositor = ConnectToWaylandCompositor()) {
        return {RuleDisplay::Wayland, compositor, nullptr};
    }
    if (TerminationSignalWaiting()) {
        return {};
    }
    if (Display* server = OpenXDisplay(nullptr)) {
        return {RuleDisplay::X11, nullptr, server};
    }
    return {};
}

RuleDisplay DisplayByRule() {
    static const RuleDisplay sDisplay = DecideAndDisconnect();
    return sDisplay;
}

bool InWaylandSession() {
    return CompositorAnswersAt(LibwaylandSocket());
}

}  // namespace Graphics

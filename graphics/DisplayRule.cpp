#include "DisplayRule.h"

#include <wayland-client.h>

#include "WaylandCompositor.h"
#include "XServerConnection.h"

namespace Graphics {

namespace {

Display* sKeptServer = nullptr;

// NOTE: the X connection stays open while the process lives. An X server with no client left
// resets, and would drop the connections that the probes and the profiler make next.
RuleDisplay DecideAndKeepTheServer() {
    const RuleConnection found = ConnectByRule();
    if (found.compositor != nullptr) {
        wl_display_disconnect(found.compositor);
    }
    sKeptServer = found.server;
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
    static const RuleDisplay sDisplay = DecideAndKeepTheServer();
    return sDisplay;
}

bool InWaylandSession() {
    return CompositorAnswersAt(LibwaylandSocket());
}

}  // namespace Graphics

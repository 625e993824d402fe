#include "DisplayChoice.h"

#include <cstdlib>
#include <cstring>

#include "DisplayRule.h"
#include "HostDisplay.h"

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

bool InWaylandSession() {
    const char* session = std::getenv("XDG_SESSION_TYPE");
    return IsSet("WAYLAND_DISPLAY") || (session != nullptr && std::strcmp(session, "wayland") == 0);
}

// The rule's answer, for a program without a window: decided once, as ProbeKit decides it once.
DisplaySystem DisplayByRule() {
    switch (Graphics::DisplayByRule()) {
        case Graphics::RuleDisplay::Wayland:
            return DisplaySystem::Wayland;
        case Graphics::RuleDisplay::X11:
            return InWaylandSession() ? DisplaySystem::X11UnderWayland : DisplaySystem::X11;
        case Graphics::RuleDisplay::NoDisplay:
            break;
    }
    return DisplaySystem::NoDisplay;
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

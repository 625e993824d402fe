#include "DisplayChoice.h"

#include "DisplayRule.h"
#include "HostDisplay.h"

namespace {

// The rule's answer, for a program without a window: decided once, as ProbeKit decides it once.
DisplaySystem DisplayByRule() {
    switch (Graphics::DisplayByRule()) {
        case Graphics::RuleDisplay::Wayland:
            return DisplaySystem::Wayland;
        case Graphics::RuleDisplay::X11:
            return Graphics::InWaylandSession() ? DisplaySystem::X11UnderWayland
                                                : DisplaySystem::X11;
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

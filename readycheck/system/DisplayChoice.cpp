#include "DisplayChoice.h"

#include <cstdlib>

#include "DisplayRule.h"
#include "HostDisplay.h"

namespace {

// Empty rather than unset: libwayland would then take wayland-0.
void NameNone(const char* variable) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
        setenv(variable, "", 1);
    }
}

DisplaySystem DecideAndPoint() {
    switch (Graphics::DisplayByRule()) {
        case Graphics::RuleDisplay::Wayland:
            return DisplaySystem::Wayland;
        case Graphics::RuleDisplay::X11: {
            // Where WAYLAND_DISPLAY names a socket, the rule has just found no compositor there;
            // else one may answer at libwayland's own. Asked before WAYLAND_DISPLAY goes.
            const char* named = std::getenv("WAYLAND_DISPLAY");
            const bool underWayland =
                (named == nullptr || *named == '\0') && Graphics::InWaylandSession();
            NameNone("WAYLAND_DISPLAY");
            return underWayland ? DisplaySystem::X11UnderWayland : DisplaySystem::X11;
        }
        case Graphics::RuleDisplay::NoDisplay:
            break;
    }
    NameNone("WAYLAND_DISPLAY");
    NameNone("DISPLAY");
    return DisplaySystem::NoDisplay;
}

}  // namespace

DisplaySystem ChooseDisplayByRule() {
    static const DisplaySystem sChosen = DecideAndPoint();
    return sChosen;
}

DisplaySystem CurrentDisplaySystem() {
    if (const Graphics::HostDisplay* host = Graphics::SharedHostDisplay()) {
        if (host->wayland) {
            return DisplaySystem::Wayland;
        }
        return host->waylandSession ? DisplaySystem::X11UnderWayland : DisplaySystem::X11;
    }
    return ChooseDisplayByRule();
}

// The one place where the backend is chosen.
#include "BackendConnect.h"

namespace GLPlatform {

namespace {

NativeCalls Select() {
    const Graphics::RuleConnection found = Graphics::ConnectByRule();
    switch (found.display) {
        case Graphics::RuleDisplay::Wayland:
            return ConnectWaylandEGL(found.compositor);
        case Graphics::RuleDisplay::X11:
            return ConnectGLX(found.server);
        case Graphics::RuleDisplay::NoDisplay:
            break;
    }
    return ConnectDeviceEGL();
}

}  // namespace

const NativeCalls& Native() {
    static const NativeCalls sCalls = Select();
    return sCalls;
}

}  // namespace GLPlatform

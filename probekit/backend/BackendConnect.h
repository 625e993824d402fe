// The backends' connect functions, one for each display the display rule may pick. Each takes the
// connection that the rule made and keeps it.
#pragma once

#include "DisplayRule.h"
#include "NativeCalls.h"

namespace GLPlatform {

// EGL on the compositor that answered at WAYLAND_DISPLAY.
NativeCalls ConnectWaylandEGL(wl_display* compositor);
// GLX on the X server that answered at DISPLAY.
NativeCalls ConnectGLX(Display* server);
// EGL on a device with no display: a hardware one, Mesa's software device last. When none
// initialises, its operations fail.
NativeCalls ConnectDeviceEGL();

}  // namespace GLPlatform

// The display the program's window and probes use, as a report names it.
#pragma once

#include "DisplaySystem.h"

// The toolkit's display once it has one, else the one the probes' rule picks
// (ChooseDisplayByRule). X11 counts as XWayland where a Wayland compositor answers beside it.
DisplaySystem CurrentDisplaySystem();

// For a program without a window: decides the display by the rule, once, and points the probes and
// every child at it through the environment, as the toolkit's display does for the window.
// WAYLAND_DISPLAY names none where the rule took the X server, DISPLAY neither where it took none,
// so that none of them waits again for a server that did not answer.
DisplaySystem ChooseDisplayByRule();

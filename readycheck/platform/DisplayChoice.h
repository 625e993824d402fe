// One rule picks the display, for the window and the probes alike, as ProbeKit picks it
// (graphics/DisplayRule.h): a Wayland compositor that answers at WAYLAND_DISPLAY, else the X
// server at DISPLAY, else none (the probes then draw on a GPU with no display). The program tells
// ProbeKit the toolkit's choice through those two variables.
#pragma once

#include "SystemDescription.h"

// Opens the toolkit's display, Wayland before X11 as GTK itself orders them; --display, parsed
// already with the toolkit's options, forces X11. Then points the probes at the same display:
// WAYLAND_DISPLAY on Wayland; on X11 DISPLAY, with WAYLAND_DISPLAY removed, since ProbeKit would
// take a compositor first. False when no display opens.
bool OpenToolkitDisplay(int* argc, char*** argv);

// The display the probes use: the toolkit's once it has one, else the one the rule picks, decided
// once. X11 counts as XWayland when the program was started in a Wayland session.
DisplaySystem CurrentDisplaySystem();

// The display the program's window and probes use, as a report names it.
#pragma once

#include "DisplaySystem.h"

// The toolkit's display once it has one, else the one the probes' rule picks, decided once. X11
// counts as XWayland when the program was started in a Wayland session.
DisplaySystem CurrentDisplaySystem();

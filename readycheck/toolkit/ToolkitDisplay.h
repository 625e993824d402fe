// The toolkit's display, which the window and the probes share.
#pragma once

// Opens the toolkit's display, Wayland before X11 as GTK itself orders them; --display, parsed
// already with the toolkit's options, forces X11. Then points the probes at the same display:
// WAYLAND_DISPLAY on Wayland; on X11 DISPLAY, with WAYLAND_DISPLAY removed, since ProbeKit would
// take a compositor first. The connection is shared with the program's own GL queries
// (HostDisplay.h). False when no display opens.
bool OpenToolkitDisplay(int* argc, char*** argv);

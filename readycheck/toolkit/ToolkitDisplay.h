// The toolkit's display, which the window and the probes share.
#pragma once

enum class ToolkitDisplay { Opened, NoDisplay, Interrupted };

// Opens the toolkit's display, Wayland before X11 as GTK itself orders them; --display, parsed
// already with the toolkit's options, forces X11. A server that does not answer within the bound
// of ServerWait.h counts as absent, and a termination signal during that wait ends it:
// Interrupted. Then points the probes at the same display: WAYLAND_DISPLAY on Wayland; on X11
// DISPLAY, with WAYLAND_DISPLAY removed, since ProbeKit would take a compositor first. The
// connection is shared with the program's own GL queries (HostDisplay.h). The termination signals,
// held while it waits, are unblocked before the toolkit starts.
ToolkitDisplay OpenToolkitDisplay(int* argc, char*** argv);

// The toolkit's connection to a Wayland compositor, watched for the compositor's going away.
#pragma once

struct wl_display;

// Calls lost once, from the main loop, when the compositor closes the connection. GTK would end
// the process itself, with status 1 and from inside its own event handling, on its next read or
// write there; the watch is looked at before GTK's events on every turn of the loop, and once the
// connection is gone it keeps GTK from touching it again.
void WatchCompositor(wl_display* display, void (*lost)());

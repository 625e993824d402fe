// Which display system the window and the probes use.
#pragma once

// X11, X11 served by a Wayland compositor (XWayland), Wayland, none (the probes draw on a GPU with
// no display), or something else.
enum class DisplaySystem { X11, X11UnderWayland, Wayland, NoDisplay, Other };

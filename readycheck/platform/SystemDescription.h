// What a report tells of the system the program runs on.
#pragma once

#include <string>

// The display the window and the probes use (DisplayChoice.h): X11, X11 served by a Wayland
// compositor, Wayland, none (the probes draw on a GPU with no display), or something else.
enum class DisplaySystem { X11, X11UnderWayland, Wayland, NoDisplay, Other };

// The text of /etc/os-release, else of /usr/lib/os-release; empty when neither can be read.
std::string OsReleaseText();

// The running kernel's release, "6.1.0-18-amd64"; empty when unknown.
std::string RunningKernelRelease();

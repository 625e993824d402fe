// What the renderer information holds, and the two queries that fill it, through graphics/ on the
// connection they choose (RendererConnection.cpp): GLX on an X display, EGL on a Wayland display or
// a device. RendererInfo.cpp picks one by the display the probes use.
#pragma once

#include <cstdint>
#include <vector>

struct RendererInfoRec {
    struct Renderer {
        int64_t videoMemory;  // bytes
        int64_t accelerated;
        int64_t window;
    };
    std::vector<Renderer> renderers;
};

// The main screen's renderers on the toolkit's X connection, or without a window on one of its
// own to DISPLAY; false when there is no X display.
bool QueryGLXRenderers(RendererInfoRec& info);

// The renderer of the EGL display the probes use: on the toolkit's Wayland connection, or without
// a window on one of its own to WAYLAND_DISPLAY; else on the device ProbeKit draws with. False
// when EGL initialises on neither.
bool QueryEGLRenderers(bool wayland, RendererInfoRec& info);

// What the renderer information holds, and the two layers that fill it: GLX on an X display, EGL
// on a Wayland display or a device. RendererInfo.cpp picks one by the display the probes use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DisplayDevices.h"

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

// The dedicated memory that GL_NVX_gpu_memory_info gives in the current context, in bytes: NVIDIA's
// driver, which has neither GLX_MESA_query_renderer nor a kernel driver that tells it. None where
// the context lists no such extension.
std::optional<int64_t> NvidiaDedicatedMemory();

// The video memory of the display controller in the sysfs tree that owns a DRM node, from its
// kernel driver's figures as the profiler reads them (ask: DriverQueries.h): its dedicated memory,
// or systemMemory where the memory is shared with the system, as Mesa's own query answers for it.
// None where no controller owns the node or the kernel does not tell the size.
std::optional<int64_t> KernelVideoMemory(const std::string& sysfsRoot, const std::string& node,
                                         AskDriverFunction ask, int64_t systemMemory);

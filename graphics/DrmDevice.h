// The display controller behind a DRM device node, such as the one EGL names for a device
// (EGL_EXT_device_drm, EGL_EXT_device_drm_render_node).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DisplayDevices.h"

// The PCI display controller in the sysfs tree under sysfsRoot that owns node, a path such as
// "/dev/dri/renderD128" or "/dev/dri/card0"; none when no display controller owns it.
std::optional<DisplayDevice> DisplayDeviceOfNode(const std::string& sysfsRoot,
                                                 const std::string& node);

// The video memory of the display controller that owns node, from its kernel driver's figures as
// the profiler reads them (ask: DriverQueries.h): its dedicated memory, or systemMemory where the
// memory is shared with the system, as Mesa's own query answers for it. None where no controller
// owns the node or the kernel does not tell the size.
std::optional<int64_t> KernelVideoMemory(const std::string& sysfsRoot, const std::string& node,
                                         AskDriverFunction ask, int64_t systemMemory);

// A device to draw with when there is no display: a GPU or a software renderer, and its DRM node
// (empty where none is known).
struct RenderDevice {
    bool hardware;
    std::string node;
};

// The positions of devices in the order to try them: hardware first, and among GPUs the one that
// would drive the main display by the profiler's rule (it shows a picture, else it is the
// firmware's boot display) before the others; otherwise as given. sysfs is read only when there
// are GPUs to choose between.
std::vector<std::size_t> OrderWithoutDisplay(const std::string& sysfsRoot,
                                             const std::vector<RenderDevice>& devices);

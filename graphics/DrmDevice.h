// The display controller behind a DRM device node, such as the one EGL names for a device
// (EGL_EXT_device_drm, EGL_EXT_device_drm_render_node).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "DisplayDevices.h"

// The PCI display controller in the sysfs tree under sysfsRoot that owns node, a path such as
// "/dev/dri/renderD128" or "/dev/dri/card0"; none when no display controller owns it.
std::optional<DisplayDevice> DisplayDeviceOfNode(const std::string& sysfsRoot,
                                                 const std::string& node);

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

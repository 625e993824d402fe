// The renderer of an EGL display with its video memory, for a Wayland display or a device: the
// memory that the kernel driver of the DRM device behind the display reports, as the profiler reads
// it, or for NVIDIA's driver, whose kernel driver tells none, GL_NVX_gpu_memory_info. EGL errors
// make the memory unknown, never end the process.
#pragma once

#include <EGL/egl.h>

#include "GLRenderer.h"

namespace Graphics {

// An initialised display's renderer: not accelerated, with no memory, where it draws on the
// processor (EGLRendersInSoftware).
GLRenderer EGLRendererOf(EGLDisplay display);

}  // namespace Graphics

// The renderers of an X screen through GLX, on whichever connection the caller uses: the
// toolkit's, or ProbeKit's own. X errors are trapped: they make a renderer unknown, never end the
// process.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "GLRenderer.h"

namespace Graphics {

// Every renderer that GLX_MESA_query_renderer lists for the screen, or, for a driver without it
// (NVIDIA's), the one that GL_NVX_gpu_memory_info describes in a throw-away context; none where
// neither answers.
std::vector<GLRenderer> GLXRenderers(Display* display, int screen);

// Whether the screen's renderer draws in hardware: GLX_MESA_query_renderer's accelerated flag, or,
// without that extension, a GL_RENDERER (read in a throw-away context) that names no known
// software renderer. lost, when given, tells that the connection has gone: nothing is sent then.
bool GLXRendersInHardware(Display* display, int screen, const bool* lost = nullptr);

}  // namespace Graphics

// What the GLX backend keeps behind the platform's opaque handles.
#pragma once

#include <GL/glx.h>

#include "X11Connection.h"

namespace GLPlatform {

struct PixelFormatRec {
    ConnectionRef connection;
    GLXFBConfig config;
};

struct GrafPort {
    WindowRec* window;
};

// The X window is made when a context is attached, for that context's visual.
struct WindowRec {
    ConnectionRef connection;
    Rect bounds;
    GrafPort port{this};
    Window xWindow = 0;
    Colormap colormap = 0;
    GLXWindow glxWindow = 0;
    VisualID visual = 0;
};

struct ContextRec {
    ConnectionRef connection;
    GLXFBConfig config;
    GLXContext context;
    WindowRec* drawable = nullptr;
};

// Whether the renderer is a hardware one: GLX_MESA_query_renderer's accelerated flag, or, without
// that extension, not a known software renderer. Asked once per connection.
bool HasHardwareRenderer(X11Connection& connection);

// Gives the window an X window and GLX drawable that fit the config; false on failure.
bool PrepareDrawable(WindowRec& window, GLXFBConfig config);

}  // namespace GLPlatform

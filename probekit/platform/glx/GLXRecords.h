// What the GLX backend keeps behind the platform's opaque handles.
#pragma once

#include <GL/glx.h>

#include "X11Connection.h"

namespace GLPlatform {

struct PixelFormatRec {
    X11Connection* connection;
    GLXFBConfig config;
};

struct GrafPort {
    WindowRec* window;
};

// The X window is made when a context is attached, for that context's visual.
struct WindowRec {
    X11Connection* connection;
    Rect bounds;
    GrafPort port{this};
    Window xWindow = 0;
    Colormap colormap = 0;
    GLXWindow glxWindow = 0;
    VisualID visual = 0;
};

struct ContextRec {
    X11Connection* connection;
    GLXFBConfig config;
    GLXContext context;
    WindowRec* drawable = nullptr;
};

// Gives the window an X window and GLX drawable that fit the config; false on failure.
bool PrepareDrawable(WindowRec& window, GLXFBConfig config);

}  // namespace GLPlatform

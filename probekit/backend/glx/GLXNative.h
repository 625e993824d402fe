// The GLX backend's native calls, by area, and what it keeps for a hidden window.
#pragma once

#include <GL/glx.h>

#include "NativeCalls.h"
#include "X11Connection.h"

namespace GLPlatform::GLX {

// The X window is made when a context is attached, for that context's visual.
struct HiddenWindow : WindowRec {
    using WindowRec::WindowRec;

    Window xWindow = 0;
    Colormap colormap = 0;
    GLXWindow glxWindow = 0;
    VisualID visual = 0;
};

inline GLXFBConfig ConfigOf(NativeHandle config) {
    return static_cast<GLXFBConfig>(config);
}

inline GLXContext ContextOf(NativeHandle context) {
    return static_cast<GLXContext>(context);
}

extern const AttributeTable kAttributes;
extern const ConfigCalls kConfigCalls;
extern const ContextCalls kContextCalls;
extern const WindowCalls kWindowCalls;

}  // namespace GLPlatform::GLX

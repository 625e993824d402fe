// Contexts: GLX contexts on the hidden window's GLX window.
#include "GLXNative.h"

namespace GLPlatform::GLX {

namespace {

NativeHandle Create(Connection& on, NativeHandle config, NativeHandle share) {
    X11Connection& connection = X11(on);
    X11ErrorTrap trap(connection);
    GLXContext context = glXCreateNewContext(connection.display, ConfigOf(config), GLX_RGBA_TYPE,
                                             ContextOf(share), True);
    if (context != nullptr && trap.failed()) {
        glXDestroyContext(connection.display, context);
        return nullptr;
    }
    return context;
}

bool MakeCurrent(Connection& on, WindowRec& window, NativeHandle context) {
    X11Connection& connection = X11(on);
    X11ErrorTrap trap(connection);
    const GLXDrawable drawable = Downcast<HiddenWindow>(window).glxWindow;
    // NOTE: the call can answer True although the server rejected it; the trap tells.
    return glXMakeContextCurrent(connection.display, drawable, drawable, ContextOf(context)) !=
               False &&
           !trap.failed();
}

bool IsCurrent(NativeHandle context) {
    return glXGetCurrentContext() == ContextOf(context);
}

void ReleaseCurrent() {
    if (glXGetCurrentContext() != nullptr) {
        Display* display = glXGetCurrentDisplay();
        const X11IOGuard guard(display);
        glXMakeContextCurrent(display, None, None, nullptr);
    }
}

// NOTE: destroying a context can raise BadGC during its clean-up; the trap stays through it.
void Destroy(Connection& on, NativeHandle context) {
    X11Connection& connection = X11(on);
    const X11ErrorTrap trap(connection);
    glXDestroyContext(connection.display, ContextOf(context));
}

}  // namespace

const ContextCalls kContextCalls = {Create, MakeCurrent, IsCurrent, ReleaseCurrent, Destroy};

}  // namespace GLPlatform::GLX

// Contexts: GLX contexts attached to the hidden window.
#include "GLXRecords.h"

namespace GLPlatform {

namespace {

void ReleaseCurrent() {
    if (glXGetCurrentContext() != nullptr) {
        glXMakeContextCurrent(glXGetCurrentDisplay(), None, None, nullptr);
    }
}

}  // namespace

AGLContext aglCreateContext(AGLPixelFormat format, AGLContext share) {
    if (format == nullptr) {
        SetLastError(kAGLBadPixelFormat);
        return nullptr;
    }
    Display* display = format->connection->display;
    X11ErrorTrap trap(display);
    GLXContext context = glXCreateNewContext(display, format->config, GLX_RGBA_TYPE,
                                             share != nullptr ? share->context : nullptr, True);
    if (trap.failed() || context == nullptr) {
        if (context != nullptr) {
            glXDestroyContext(display, context);
        }
        SetLastError(kAGLBadContext);
        return nullptr;
    }
    return new ContextRec{format->connection, format->config, context};
}

GLboolean aglSetDrawable(AGLContext context, CGrafPtr port) {
    if (context == nullptr) {
        SetLastError(kAGLBadContext);
        return GL_FALSE;
    }
    if (port == nullptr) {
        if (glXGetCurrentContext() == context->context) {
            ReleaseCurrent();
        }
        context->drawable = nullptr;
        return GL_TRUE;
    }
    if (!PrepareDrawable(*port->window, context->config)) {
        SetLastError(kAGLBadDrawable);
        return GL_FALSE;
    }
    context->drawable = port->window;
    return GL_TRUE;
}

GLboolean aglSetCurrentContext(AGLContext context) {
    if (context == nullptr) {
        ReleaseCurrent();
        return GL_TRUE;
    }
    if (context->drawable == nullptr) {
        SetLastError(kAGLBadDrawable);
        return GL_FALSE;
    }
    Display* display = context->connection->display;
    X11ErrorTrap trap(display);
    const GLXDrawable drawable = context->drawable->glxWindow;
    // NOTE: the call can answer True although the server rejected it; the trap tells.
    if (glXMakeContextCurrent(display, drawable, drawable, context->context) == False ||
        trap.failed()) {
        ReleaseCurrent();
        SetLastError(kAGLBadContext);
        return GL_FALSE;
    }
    return GL_TRUE;
}

GLboolean aglDestroyContext(AGLContext context) {
    if (context == nullptr) {
        SetLastError(kAGLBadContext);
        return GL_FALSE;
    }
    {
        // Destroying a context can raise BadGC during its clean-up; keep the trap through it.
        X11ErrorTrap trap(context->connection->display);
        if (glXGetCurrentContext() == context->context) {
            ReleaseCurrent();
        }
        glXDestroyContext(context->connection->display, context->context);
    }
    delete context;
    return GL_TRUE;
}

}  // namespace GLPlatform

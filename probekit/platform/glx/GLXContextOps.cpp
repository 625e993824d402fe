// Contexts: GLX contexts attached to the hidden window.
#include "GLXRecords.h"

namespace GLPlatform::GLX {

namespace {

// Makes no context current, whichever connection the current one belongs to.
void ReleaseCurrent() {
    if (glXGetCurrentContext() != nullptr) {
        Display* display = glXGetCurrentDisplay();
        const X11IOGuard guard(display);
        glXMakeContextCurrent(display, None, None, nullptr);
    }
}

GLboolean Fail(GLenum code) {
    SetLastError(code);
    return GL_FALSE;
}

}  // namespace

AGLContext CreateContext(AGLPixelFormat handle, AGLContext share) {
    const PixelFormat* format = Downcast<PixelFormat>(handle);
    if (format == nullptr || format->connection->lost) {
        SetLastError(kAGLBadPixelFormat);
        return nullptr;
    }
    Display* display = format->connection->display;
    X11ErrorTrap trap(*format->connection);
    GLXContext context =
        glXCreateNewContext(display, format->config, GLX_RGBA_TYPE,
                            share != nullptr ? Downcast<Context>(share)->context : nullptr, True);
    if (trap.failed() || context == nullptr) {
        if (context != nullptr) {
            glXDestroyContext(display, context);
        }
        SetLastError(kAGLBadContext);
        return nullptr;
    }
    return new Context(format->connection, format->config, context);
}

GLboolean SetDrawable(AGLContext handle, CGrafPtr port) {
    Context* context = Downcast<Context>(handle);
    if (context == nullptr) {
        return Fail(kAGLBadContext);
    }
    if (port == nullptr) {
        if (glXGetCurrentContext() == context->context) {
            ReleaseCurrent();
        }
        context->drawable = nullptr;
        return GL_TRUE;
    }
    HiddenWindow* window = Downcast<HiddenWindow>(port->window);
    if (window->connection != context->connection || !PrepareDrawable(*window, context->config)) {
        return Fail(kAGLBadDrawable);
    }
    context->drawable = window;
    return GL_TRUE;
}

// On failure nothing is current, so that no query reaches a context the caller had current.
GLboolean SetCurrentContext(AGLContext handle) {
    const Context* context = Downcast<Context>(handle);
    if (context == nullptr) {
        ReleaseCurrent();
        return GL_TRUE;
    }
    if (context->drawable == nullptr) {
        ReleaseCurrent();
        return Fail(kAGLBadDrawable);
    }
    Display* display = context->connection->display;
    X11ErrorTrap trap(*context->connection);
    const GLXDrawable drawable = context->drawable->glxWindow;
    // NOTE: the call can answer True although the server rejected it; the trap tells.
    if (glXMakeContextCurrent(display, drawable, drawable, context->context) == False ||
        trap.failed()) {
        ReleaseCurrent();
        return Fail(kAGLBadContext);
    }
    return GL_TRUE;
}

GLboolean DestroyContext(AGLContext handle) {
    Context* context = Downcast<Context>(handle);
    if (context == nullptr) {
        return Fail(kAGLBadContext);
    }
    {
        // Destroying a context can raise BadGC during its clean-up; keep the trap through it.
        X11ErrorTrap trap(*context->connection);
        if (glXGetCurrentContext() == context->context) {
            ReleaseCurrent();
        }
        glXDestroyContext(context->connection->display, context->context);
    }
    delete context;
    return GL_TRUE;
}

}  // namespace GLPlatform::GLX

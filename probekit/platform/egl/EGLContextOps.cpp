// Contexts: desktop OpenGL contexts through EGL, attached to the hidden window's surface.
#include "EGLRecords.h"

namespace GLPlatform::EGL {

namespace {

// A legacy context: the highest compatibility-profile version the driver offers, as GLX's
// glXCreateNewContext gives. The probes use OpenGL 1.x and 2.0 calls.
constexpr EGLint kCompatibilityContext[] = {EGL_NONE};

// Makes no OpenGL context current, whichever display the current one belongs to.
void ReleaseCurrent() {
    const OpenGLAPI api;
    if (eglGetCurrentContext() != EGL_NO_CONTEXT) {
        eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
}

bool IsCurrent(const Context& context) {
    const OpenGLAPI api;
    return eglGetCurrentContext() == context.context;
}

GLboolean Fail(GLenum code) {
    SetLastError(code);
    return GL_FALSE;
}

}  // namespace

AGLContext CreateContext(AGLPixelFormat handle, AGLContext share) {
    const PixelFormat* format = Downcast<PixelFormat>(handle);
    if (format == nullptr || format->connection->lost()) {
        SetLastError(kAGLBadPixelFormat);
        return nullptr;
    }
    const OpenGLAPI api;
    EGLContext context =
        eglCreateContext(format->connection->display, format->config,
                         share != nullptr ? Downcast<Context>(share)->context : EGL_NO_CONTEXT,
                         kCompatibilityContext);
    if (context == EGL_NO_CONTEXT) {
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
        if (IsCurrent(*context)) {
            ReleaseCurrent();
        }
        context->drawable = nullptr;
        return GL_TRUE;
    }
    HiddenWindow* window = Downcast<HiddenWindow>(port->window);
    if (window->connection != context->connection || !PrepareSurface(*window, context->config)) {
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
    const OpenGLAPI api;
    const EGLSurface surface = context->drawable->drawable;
    if (context->connection->lost() || eglMakeCurrent(context->connection->display, surface,
                                                      surface, context->context) == EGL_FALSE) {
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
    if (IsCurrent(*context)) {
        ReleaseCurrent();
    }
    eglDestroyContext(context->connection->display, context->context);
    delete context;
    return GL_TRUE;
}

}  // namespace GLPlatform::EGL

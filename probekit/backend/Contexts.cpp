// The life cycle of a context: made for a format, attached to a hidden window, made current,
// destroyed; whatever fails leaves nothing current.
#include "BackendError.h"
#include "NativeCalls.h"

namespace GLPlatform {

namespace {

const ContextCalls& Calls() {
    return *Native().contexts;
}

GLboolean Fail(GLenum code) {
    SetLastError(code);
    return GL_FALSE;
}

void ReleaseIfCurrent(const ContextRec& context) {
    if (Calls().isCurrent(context.context)) {
        Calls().releaseCurrent();
    }
}

}  // namespace

AGLContext aglCreateContext(AGLPixelFormat format, AGLContext share) {
    if (format == nullptr || format->connection->lost()) {
        SetLastError(kAGLBadPixelFormat);
        return nullptr;
    }
    const NativeHandle context = Calls().create(*format->connection, format->config,
                                                share != nullptr ? share->context : nullptr);
    if (context == nullptr) {
        SetLastError(kAGLBadContext);
        return nullptr;
    }
    return new ContextRec{format->connection, format->config, context};
}

GLboolean aglSetDrawable(AGLContext context, CGrafPtr port) {
    if (context == nullptr) {
        return Fail(kAGLBadContext);
    }
    if (port == nullptr) {
        ReleaseIfCurrent(*context);
        context->drawable = nullptr;
        return GL_TRUE;
    }
    WindowRec* window = port->window;
    if (window->connection != context->connection ||
        !Native().windows->prepare(*window, context->config)) {
        return Fail(kAGLBadDrawable);
    }
    context->drawable = window;
    return GL_TRUE;
}

// On failure nothing is current, so that no query reaches a context the caller had current.
GLboolean aglSetCurrentContext(AGLContext context) {
    if (context == nullptr) {
        Calls().releaseCurrent();
        return GL_TRUE;
    }
    if (context->drawable == nullptr) {
        Calls().releaseCurrent();
        return Fail(kAGLBadDrawable);
    }
    if (context->connection->lost() ||
        !Calls().makeCurrent(*context->connection, *context->drawable, context->context)) {
        Calls().releaseCurrent();
        return Fail(kAGLBadContext);
    }
    return GL_TRUE;
}

GLboolean aglDestroyContext(AGLContext context) {
    if (context == nullptr) {
        return Fail(kAGLBadContext);
    }
    ReleaseIfCurrent(*context);
    Calls().destroy(*context->connection, context->context);
    delete context;
    return GL_TRUE;
}

}  // namespace GLPlatform

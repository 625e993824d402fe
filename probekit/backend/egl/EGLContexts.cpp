// Contexts: desktop OpenGL contexts through EGL on the hidden window's surface. Each call binds
// desktop OpenGL for itself: the host may use OpenGL ES through EGL on the same thread.
#include "EGLNative.h"
#include "EGLOpenGL.h"

namespace GLPlatform::EGL {

namespace {

// A legacy context: the highest compatibility-profile version the driver offers, as GLX's
// glXCreateNewContext gives. The probes use OpenGL 1.x and 2.0 calls.
constexpr EGLint kCompatibilityContext[] = {EGL_NONE};

NativeHandle Create(Connection& connection, NativeHandle config, NativeHandle share) {
    const Graphics::BoundOpenGLAPI api;
    EGLContext context =
        eglCreateContext(Of(connection).display, config, share != nullptr ? share : EGL_NO_CONTEXT,
                         kCompatibilityContext);
    return context != EGL_NO_CONTEXT ? context : nullptr;
}

bool MakeCurrent(Connection& connection, WindowRec& window, NativeHandle context) {
    const Graphics::BoundOpenGLAPI api;
    const EGLSurface surface = Downcast<HiddenWindow>(window).drawable;
    return eglMakeCurrent(Of(connection).display, surface, surface, context) != EGL_FALSE;
}

bool IsCurrent(NativeHandle context) {
    const Graphics::BoundOpenGLAPI api;
    return eglGetCurrentContext() == context;
}

void ReleaseCurrent() {
    const Graphics::BoundOpenGLAPI api;
    if (eglGetCurrentContext() != EGL_NO_CONTEXT) {
        eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
}

void Destroy(Connection& connection, NativeHandle context) {
    eglDestroyContext(Of(connection).display, context);
}

}  // namespace

const ContextCalls kContextCalls = {Create, MakeCurrent, IsCurrent, ReleaseCurrent, Destroy};

}  // namespace GLPlatform::EGL

// The EGL backend's native calls, by area, and what it keeps for a hidden window.
#pragma once

#include "EGLConnection.h"
#include "NativeCalls.h"

namespace GLPlatform::EGL {

// On Wayland a role-less surface with an EGL window, made with the window; the EGL surface (a
// window surface there, a pbuffer on a device) is made when a context is attached, for its config.
struct HiddenWindow : WindowRec {
    using WindowRec::WindowRec;

    EGLint width() const { return bounds.right - bounds.left; }
    EGLint height() const { return bounds.bottom - bounds.top; }

    wl_surface* surface = nullptr;
    wl_egl_window* nativeWindow = nullptr;
    EGLSurface drawable = EGL_NO_SURFACE;
    EGLConfig config = nullptr;
};

// Where a window is a Wayland surface, and where it is a pbuffer.
extern const AttributeTable kWaylandAttributes;
extern const AttributeTable kDeviceAttributes;
extern const ConfigCalls kConfigCalls;
extern const ContextCalls kContextCalls;
extern const WindowCalls kWindowCalls;

}  // namespace GLPlatform::EGL

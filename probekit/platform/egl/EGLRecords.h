// What the EGL backend keeps behind the platform's opaque handles, and its operations.
#pragma once

#include <utility>

#include "EGLConnection.h"
#include "PlatformError.h"
#include "PlatformRecords.h"

namespace GLPlatform::EGL {

struct PixelFormat : PixelFormatRec {
    PixelFormat(ConnectionRef from, EGLConfig chosen)
        : connection(std::move(from)), config(chosen) {}

    ConnectionRef connection;
    EGLConfig config;
};

// On Wayland a role-less surface with an EGL window, made with the window; the EGL surface (a
// window surface there, a pbuffer on a device) is made when a context is attached, for its config.
struct HiddenWindow : WindowRec {
    HiddenWindow(ConnectionRef on, const Rect& area) : connection(std::move(on)), bounds(area) {}

    EGLint width() const { return bounds.right - bounds.left; }
    EGLint height() const { return bounds.bottom - bounds.top; }

    ConnectionRef connection;
    Rect bounds;
    wl_surface* surface = nullptr;
    wl_egl_window* nativeWindow = nullptr;
    EGLSurface drawable = EGL_NO_SURFACE;
    EGLConfig config = nullptr;
};

struct Context : ContextRec {
    Context(ConnectionRef on, EGLConfig chosen, EGLContext made)
        : connection(std::move(on)), config(chosen), context(made) {}

    ConnectionRef connection;
    EGLConfig config;
    EGLContext context;
    HiddenWindow* drawable = nullptr;
};

// Whether the renderer is a hardware one: not Mesa's software device, and not a driver that names
// a software renderer. Asked once per connection.
bool HasHardwareRenderer(Connection& connection);

// Gives the window an EGL surface for the config; false on failure.
bool PrepareSurface(HiddenWindow& window, EGLConfig config);

AGLPixelFormat ChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                 const GLint* attributes);
GLboolean DescribePixelFormat(AGLPixelFormat handle, GLint attribute, GLint* value);
void DestroyPixelFormat(AGLPixelFormat format);
AGLContext CreateContext(AGLPixelFormat handle, AGLContext share);
GLboolean SetDrawable(AGLContext handle, CGrafPtr port);
GLboolean SetCurrentContext(AGLContext handle);
GLboolean DestroyContext(AGLContext handle);
OSStatus CreateHiddenWindow(WindowClass windowClass, WindowAttributes attributes,
                            const Rect* bounds, WindowRef* window);
void DisposeHiddenWindow(WindowRef handle);

}  // namespace GLPlatform::EGL

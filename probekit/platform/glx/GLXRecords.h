// What the GLX backend keeps behind the platform's opaque handles, and its operations.
#pragma once

#include <GL/glx.h>

#include <utility>

#include "PlatformRecords.h"
#include "X11Connection.h"

namespace GLPlatform::GLX {

struct PixelFormat : PixelFormatRec {
    PixelFormat(ConnectionRef from, GLXFBConfig chosen)
        : connection(std::move(from)), config(chosen) {}

    ConnectionRef connection;
    GLXFBConfig config;
};

// The X window is made when a context is attached, for that context's visual.
struct HiddenWindow : WindowRec {
    HiddenWindow(ConnectionRef on, const Rect& area) : connection(std::move(on)), bounds(area) {}

    ConnectionRef connection;
    Rect bounds;
    Window xWindow = 0;
    Colormap colormap = 0;
    GLXWindow glxWindow = 0;
    VisualID visual = 0;
};

struct Context : ContextRec {
    Context(ConnectionRef on, GLXFBConfig chosen, GLXContext made)
        : connection(std::move(on)), config(chosen), context(made) {}

    ConnectionRef connection;
    GLXFBConfig config;
    GLXContext context;
    HiddenWindow* drawable = nullptr;
};

// Whether the renderer is a hardware one: GLX_MESA_query_renderer's accelerated flag, or, without
// that extension, not a known software renderer. Asked once per connection.
bool HasHardwareRenderer(X11Connection& connection);

// Gives the window an X window and GLX drawable that fit the config; false on failure.
bool PrepareDrawable(HiddenWindow& window, GLXFBConfig config);

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

}  // namespace GLPlatform::GLX

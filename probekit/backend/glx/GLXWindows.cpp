// The hidden window: an X window that is never mapped.
#include <utility>

#include "GLXNative.h"

namespace GLPlatform::GLX {

namespace {

void DestroyXWindow(HiddenWindow& window) {
    Display* display = X11(*window.connection).display;
    if (window.glxWindow != 0) {
        glXDestroyWindow(display, window.glxWindow);
    }
    if (window.xWindow != 0) {
        XDestroyWindow(display, window.xWindow);
    }
    if (window.colormap != 0) {
        XFreeColormap(display, window.colormap);
    }
    window.glxWindow = 0;
    window.xWindow = 0;
    window.colormap = 0;
    window.visual = 0;
}

void MakeXWindow(HiddenWindow& window, GLXFBConfig config, const XVisualInfo& visual) {
    Display* display = X11(*window.connection).display;
    const Window root = RootWindow(display, visual.screen);
    window.colormap = XCreateColormap(display, root, visual.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = window.colormap;
    attributes.border_pixel = 0;
    const Rect& b = window.bounds;
    window.xWindow =
        XCreateWindow(display, root, b.left, b.top, static_cast<unsigned int>(b.right - b.left),
                      static_cast<unsigned int>(b.bottom - b.top), 0, visual.depth, InputOutput,
                      visual.visual, CWColormap | CWBorderPixel, &attributes);
    window.visual = visual.visualid;
    window.glxWindow = glXCreateWindow(display, config, window.xWindow, nullptr);
}

WindowRec* Create(ConnectionRef connection, const Rect& bounds) {
    return new HiddenWindow(std::move(connection), bounds);
}

// The X window is made again only for a context of another visual.
bool Prepare(WindowRec& made, NativeHandle config) {
    auto& window = Downcast<HiddenWindow>(made);
    X11Connection& connection = X11(*window.connection);
    X11ErrorTrap trap(connection);
    XVisualInfo* visual = glXGetVisualFromFBConfig(connection.display, ConfigOf(config));
    if (visual == nullptr) {
        return false;
    }
    if (window.xWindow == 0 || window.visual != visual->visualid) {
        DestroyXWindow(window);
        MakeXWindow(window, ConfigOf(config), *visual);
    }
    XFree(visual);
    if (trap.failed()) {
        DestroyXWindow(window);
        return false;
    }
    return true;
}

void Dispose(WindowRec* made) {
    auto* window = &Downcast<HiddenWindow>(*made);
    if (!window->connection->lost()) {
        X11ErrorTrap trap(X11(*window->connection));
        DestroyXWindow(*window);
    }
    delete window;
}

}  // namespace

const WindowCalls kWindowCalls = {Create, Prepare, Dispose};

}  // namespace GLPlatform::GLX

// The hidden window: an X window that is never mapped.
#include <utility>

#include "GLXRecords.h"

namespace GLPlatform::GLX {

namespace {

void DestroyXWindow(HiddenWindow& window) {
    Display* display = window.connection->display;
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

}  // namespace

OSStatus CreateHiddenWindow(WindowClass /*windowClass*/, WindowAttributes /*attributes*/,
                            const Rect* bounds, WindowRef* window) {
    ConnectionRef connection = AcquireConnection();
    if (connection == nullptr) {
        return kNoDisplayError;
    }
    *window = new HiddenWindow(std::move(connection), *bounds);
    return 0;
}

void DisposeHiddenWindow(WindowRef handle) {
    HiddenWindow* window = Downcast<HiddenWindow>(handle);
    if (!window->connection->lost) {
        X11ErrorTrap trap(*window->connection);
        DestroyXWindow(*window);
    }
    delete window;
}

bool PrepareDrawable(HiddenWindow& window, GLXFBConfig config) {
    Display* display = window.connection->display;
    X11ErrorTrap trap(*window.connection);
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, config);
    if (visual == nullptr) {
        return false;
    }
    if (window.xWindow == 0 || window.visual != visual->visualid) {
        DestroyXWindow(window);
        const Window root = RootWindow(display, visual->screen);
        window.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
        XSetWindowAttributes attributes{};
        attributes.colormap = window.colormap;
        attributes.border_pixel = 0;
        const Rect& b = window.bounds;
        window.xWindow =
            XCreateWindow(display, root, b.left, b.top, static_cast<unsigned int>(b.right - b.left),
                          static_cast<unsigned int>(b.bottom - b.top), 0, visual->depth,
                          InputOutput, visual->visual, CWColormap | CWBorderPixel, &attributes);
        window.visual = visual->visualid;
        window.glxWindow = glXCreateWindow(display, config, window.xWindow, nullptr);
    }
    XFree(visual);
    if (trap.failed()) {
        DestroyXWindow(window);
        return false;
    }
    return true;
}

}  // namespace GLPlatform::GLX

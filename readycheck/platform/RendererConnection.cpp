// The connection that the renderer information is read on, by graphics/: the toolkit's own, or
// without a window one of this query's own to the display the probes use.
#include <EGL/egl.h>
#include <gdk/gdk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif
#include <wayland-client.h>

#include <memory>

#include "EGLDevices.h"
#include "EGLRenderer.h"
#include "GLXRenderers.h"
#include "RendererRecord.h"
#include "WaylandCompositor.h"

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayOwner = std::unique_ptr<Display, DisplayCloser>;

// The X connection the window uses; without a window one of its own, kept for one query.
Display* XConnection(DisplayOwner& own) {
    GdkDisplay* display = gdk_display_get_default();
    if (display != nullptr) {
#ifdef GDK_WINDOWING_X11
        if (GDK_IS_X11_DISPLAY(display)) {
            return gdk_x11_display_get_xdisplay(display);
        }
#endif
        return nullptr;
    }
    own.reset(XOpenDisplay(nullptr));
    return own.get();
}

// The Wayland connection the window uses; null without a Wayland window.
wl_display* ToolkitCompositor() {
#ifdef GDK_WINDOWING_WAYLAND
    GdkDisplay* display = gdk_display_get_default();
    if (display != nullptr && GDK_IS_WAYLAND_DISPLAY(display)) {
        return gdk_wayland_display_get_wl_display(display);
    }
#endif
    return nullptr;
}

// An initialised EGL display for one query. One on a connection of its own is terminated after
// it; the toolkit's and a device's stay, as the toolkit and ProbeKit may use them.
class QueryDisplay {
public:
    explicit QueryDisplay(bool wayland) {
        if (!wayland) {
            mDisplay = Graphics::InitialiseFirstEGLDevice();
            return;
        }
        wl_display* compositor = ToolkitCompositor();
        if (compositor == nullptr) {
            compositor = mOwn = Graphics::ConnectToWaylandCompositor();
        }
        if (compositor != nullptr) {
            mDisplay = Graphics::InitialiseEGLOnCompositor(compositor);
        }
    }
    ~QueryDisplay() {
        if (mOwn != nullptr) {
            if (mDisplay != EGL_NO_DISPLAY) {
                eglTerminate(mDisplay);
            }
            wl_display_disconnect(mOwn);
        }
    }
    QueryDisplay(const QueryDisplay&) = delete;
    QueryDisplay& operator=(const QueryDisplay&) = delete;

    EGLDisplay display() const { return mDisplay; }

private:
    EGLDisplay mDisplay = EGL_NO_DISPLAY;
    wl_display* mOwn = nullptr;
};

}  // namespace

// Every renderer of a GLX screen draws to that screen's windows.
bool QueryGLXRenderers(RendererInfoRec& info) {
    DisplayOwner own;
    Display* display = XConnection(own);
    if (display == nullptr) {
        return false;
    }
    for (const Graphics::GLRenderer& renderer :
         Graphics::GLXRenderers(display, DefaultScreen(display))) {
        info.renderers.push_back({renderer.videoMemory, renderer.accelerated ? 1 : 0, 1});
    }
    return true;
}

bool QueryEGLRenderers(bool wayland, RendererInfoRec& info) {
    const QueryDisplay query(wayland);
    if (query.display() == EGL_NO_DISPLAY) {
        return false;
    }
    const Graphics::GLRenderer renderer = Graphics::EGLRendererOf(query.display());
    // The one renderer draws for the display the probes use: to its windows on Wayland, and on a
    // device to the pbuffers that stand for windows there, as in the probes' pixel formats.
    info.renderers.push_back({renderer.videoMemory, renderer.accelerated ? 1 : 0, 1});
    return true;
}

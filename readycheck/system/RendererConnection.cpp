// The connection that the renderer information is read on, by graphics/: the toolkit's own, or
// without a window one of this query's own to the display the probes use.
#include <EGL/egl.h>
#include <X11/Xlib.h>
#include <wayland-client.h>

#include <memory>

#include "EGLDevices.h"
#include "EGLRenderer.h"
#include "GLXRenderers.h"
#include "HostDisplay.h"
#include "RendererRecord.h"
#include "WaylandCompositor.h"
#include "XServerConnection.h"

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayOwner = std::unique_ptr<Display, DisplayCloser>;

// The X connection the window uses; without a window one of its own, kept for one query.
Display* XConnection(DisplayOwner& own) {
    if (const Graphics::HostDisplay* host = Graphics::SharedHostDisplay()) {
        return host->x11;
    }
    own.reset(Graphics::OpenXDisplay(nullptr));
    return own.get();
}

// The Wayland connection the window uses; null without a Wayland window.
wl_display* ToolkitCompositor() {
    const Graphics::HostDisplay* host = Graphics::SharedHostDisplay();
    return host != nullptr ? host->compositor : nullptr;
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

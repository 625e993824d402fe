// Renderer information on EGL, for a Wayland display or a device: the DRM device behind the EGL
// display and its kernel driver's own memory figures, as the profiler reads them; for NVIDIA's
// driver, whose kernel driver tells none, GL_NVX_gpu_memory_info in a throw-away context.
// Accelerated means the display does not draw on the processor. EGL errors make the memory
// unknown, never end the program.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <unistd.h>
#include <wayland-client.h>

#include "DriverQueries.h"
#include "DrmDevice.h"
#include "EGLDevices.h"
#include "ExtensionNames.h"
#include "HostDisplay.h"
#include "RendererRecord.h"
#include "WaylandCompositor.h"

namespace {

constexpr const char* kSysfsRoot = "/sys";

// The toolkit's own Wayland connection; null without a Wayland window.
wl_display* ToolkitWaylandDisplay() {
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
        wl_display* compositor = ToolkitWaylandDisplay();
        if (compositor == nullptr) {
            compositor = mOwn = Graphics::ConnectToWaylandCompositor();
        }
        EGLDisplay display = compositor != nullptr ? eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR,
                                                                           compositor, nullptr)
                                                   : EGL_NO_DISPLAY;
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr) != EGL_FALSE) {
            mDisplay = display;
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

// Binds desktop OpenGL for the query, then gives the thread back its API and its current OpenGL
// context: the host's, on the toolkit's display.
class OpenGLCurrent {
public:
    OpenGLCurrent() : mApi(eglQueryAPI()) {
        eglBindAPI(EGL_OPENGL_API);
        mDisplay = eglGetCurrentDisplay();
        mContext = eglGetCurrentContext();
        mDraw = eglGetCurrentSurface(EGL_DRAW);
        mRead = eglGetCurrentSurface(EGL_READ);
    }
    ~OpenGLCurrent() {
        if (mDisplay != EGL_NO_DISPLAY) {
            eglMakeCurrent(mDisplay, mDraw, mRead, mContext);
        }
        eglBindAPI(mApi);
    }
    OpenGLCurrent(const OpenGLCurrent&) = delete;
    OpenGLCurrent& operator=(const OpenGLCurrent&) = delete;

private:
    EGLenum mApi;
    EGLDisplay mDisplay = EGL_NO_DISPLAY;
    EGLContext mContext = EGL_NO_CONTEXT;
    EGLSurface mDraw = EGL_NO_SURFACE;
    EGLSurface mRead = EGL_NO_SURFACE;
};

// A context without a surface (EGL_KHR_surfaceless_context), current only while the memory is
// read; 0 where a step fails or the driver does not list the extension.
int64_t NvidiaMemory(EGLDisplay display) {
    if (!Graphics::ListsExtension(eglQueryString(display, EGL_EXTENSIONS),
                                  "EGL_KHR_surfaceless_context")) {
        return 0;
    }
    const OpenGLCurrent restore;
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, 0,
                                 EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(display, attributes, &config, 1, &count) == EGL_FALSE || count < 1) {
        return 0;
    }
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) {
        return 0;
    }
    std::optional<int64_t> bytes;
    if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) != EGL_FALSE) {
        bytes = NvidiaDedicatedMemory();
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(display, context);
    return bytes.value_or(0);
}

int64_t SystemMemory() {
    return static_cast<int64_t>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
}

int64_t VideoMemory(EGLDisplay display) {
    const EGLDeviceEXT device = Graphics::EGLDeviceOfDisplay(display);
    const std::string node =
        device != EGL_NO_DEVICE_EXT ? Graphics::DrmNodeOfEGLDevice(device) : std::string();
    const auto figure = KernelVideoMemory(kSysfsRoot, node, AskKernelDriver, SystemMemory());
    return figure ? *figure : NvidiaMemory(display);
}

}  // namespace

std::optional<int64_t> KernelVideoMemory(const std::string& sysfsRoot, const std::string& node,
                                         AskDriverFunction ask, int64_t systemMemory) {
    const std::optional<DisplayDevice> controller = DisplayDeviceOfNode(sysfsRoot, node);
    if (!controller) {
        return std::nullopt;
    }
    const MemoryKind kind = DecideDeviceMemory(*controller, ask);
    if (kind.shared) {
        return systemMemory;
    }
    return kind.bytes ? std::optional(static_cast<int64_t>(*kind.bytes)) : std::nullopt;
}

bool QueryEGLRenderers(bool wayland, RendererInfoRec& info) {
    const QueryDisplay query(wayland);
    if (query.display() == EGL_NO_DISPLAY) {
        return false;
    }
    const bool software = Graphics::EGLRendersInSoftware(query.display());
    // The one renderer draws for the display the probes use: to its windows on Wayland, and on a
    // device to the pbuffers that stand for windows there, as in the probes' pixel formats.
    info.renderers.push_back({software ? 0 : VideoMemory(query.display()), software ? 0 : 1, 1});
    return true;
}

#include "EGLRenderer.h"

#include <unistd.h>

#include "DriverQueries.h"
#include "DrmDevice.h"
#include "EGLDevices.h"
#include "EGLOpenGL.h"
#include "ExtensionNames.h"
#include "NvidiaMemory.h"

namespace Graphics {

namespace {

constexpr const char* kSysfsRoot = "/sys";

// The thread's current OpenGL context, made current again when this goes: the host's, on its
// own display. Made while desktop OpenGL is bound.
class CurrentOpenGLContext {
public:
    CurrentOpenGLContext() = default;
    ~CurrentOpenGLContext() {
        if (mDisplay != EGL_NO_DISPLAY) {
            eglMakeCurrent(mDisplay, mDraw, mRead, mContext);
        }
    }
    CurrentOpenGLContext(const CurrentOpenGLContext&) = delete;
    CurrentOpenGLContext& operator=(const CurrentOpenGLContext&) = delete;

private:
    EGLDisplay mDisplay = eglGetCurrentDisplay();
    EGLContext mContext = eglGetCurrentContext();
    EGLSurface mDraw = eglGetCurrentSurface(EGL_DRAW);
    EGLSurface mRead = eglGetCurrentSurface(EGL_READ);
};

// A context without a surface (EGL_KHR_surfaceless_context), current only while the memory is
// read; 0 where a step fails or the driver does not list the extension.
int64_t NvidiaMemory(EGLDisplay display) {
    if (!ListsExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context")) {
        return 0;
    }
    const BoundOpenGLAPI api;
    const CurrentOpenGLContext previous;
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
    const EGLDeviceEXT device = EGLDeviceOfDisplay(display);
    const std::string node = device != EGL_NO_DEVICE_EXT ? DrmNodeOfEGLDevice(device) : "";
    const auto figure = KernelVideoMemory(kSysfsRoot, node, AskKernelDriver, SystemMemory());
    return figure ? *figure : NvidiaMemory(display);
}

}  // namespace

GLRenderer EGLRendererOf(EGLDisplay display) {
    if (EGLRendersInSoftware(display)) {
        return {0, false};
    }
    return {VideoMemory(display), true};
}

}  // namespace Graphics

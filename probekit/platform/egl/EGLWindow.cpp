// The hidden window: on Wayland a surface that is never given a role, so never shown; on a device
// a pbuffer of the window's size.
#include <utility>

#include "EGLRecords.h"

namespace GLPlatform::EGL {

namespace {

void DestroySurface(HiddenWindow& window) {
    if (window.drawable != EGL_NO_SURFACE) {
        eglDestroySurface(window.connection->display, window.drawable);
    }
    window.drawable = EGL_NO_SURFACE;
    window.config = nullptr;
}

}  // namespace

OSStatus CreateHiddenWindow(WindowClass /*windowClass*/, WindowAttributes /*attributes*/,
                            const Rect* bounds, WindowRef* window) {
    ConnectionRef connection = AcquireConnection();
    if (connection == nullptr) {
        return kNoDisplayError;
    }
    auto made = std::make_unique<HiddenWindow>(std::move(connection), *bounds);
    WaylandConnection* compositor = made->connection->wayland.get();
    if (compositor != nullptr && !compositor->createWindow(made->width(), made->height(),
                                                           made->surface, made->nativeWindow)) {
        return kNoDisplayError;
    }
    *window = made.release();
    return 0;
}

void DisposeHiddenWindow(WindowRef handle) {
    HiddenWindow* window = Downcast<HiddenWindow>(handle);
    DestroySurface(*window);
    if (window->surface != nullptr) {
        window->connection->wayland->destroyWindow(window->surface, window->nativeWindow);
    }
    delete window;
}

bool PrepareSurface(HiddenWindow& window, EGLConfig config) {
    if (window.drawable != EGL_NO_SURFACE && window.config == config) {
        return true;
    }
    DestroySurface(window);
    EGLDisplay display = window.connection->display;
    if (window.nativeWindow != nullptr) {
        window.drawable =
            eglCreatePlatformWindowSurface(display, config, window.nativeWindow, nullptr);
    } else {
        const EGLint size[] = {EGL_WIDTH, window.width(), EGL_HEIGHT, window.height(), EGL_NONE};
        window.drawable = eglCreatePbufferSurface(display, config, size);
    }
    if (window.drawable == EGL_NO_SURFACE || window.connection->lost()) {
        DestroySurface(window);
        return false;
    }
    window.config = config;
    return true;
}

}  // namespace GLPlatform::EGL

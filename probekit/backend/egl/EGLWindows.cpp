// The hidden window: on Wayland a surface that is never given a role, so never shown; on a device
// a pbuffer of the window's size.
#include <utility>

#include "EGLNative.h"

namespace GLPlatform::EGL {

namespace {

void DestroySurface(HiddenWindow& window) {
    if (window.drawable != EGL_NO_SURFACE) {
        eglDestroySurface(Of(*window.connection).display, window.drawable);
    }
    window.drawable = EGL_NO_SURFACE;
    window.config = nullptr;
}

WindowRec* Create(ConnectionRef connection, const Rect& bounds) {
    auto made = std::make_unique<HiddenWindow>(std::move(connection), bounds);
    WaylandConnection* compositor = Of(*made->connection).wayland.get();
    if (compositor != nullptr && !compositor->createWindow(made->width(), made->height(),
                                                           made->surface, made->nativeWindow)) {
        return nullptr;
    }
    return made.release();
}

// The surface is made again only for a context of another config.
bool Prepare(WindowRec& made, NativeHandle config) {
    auto& window = Downcast<HiddenWindow>(made);
    if (window.drawable != EGL_NO_SURFACE && window.config == config) {
        return true;
    }
    DestroySurface(window);
    EGLConnection& connection = Of(*window.connection);
    if (window.nativeWindow != nullptr) {
        window.drawable = eglCreatePlatformWindowSurface(connection.display, config,
                                                         window.nativeWindow, nullptr);
    } else {
        const EGLint size[] = {EGL_WIDTH, window.width(), EGL_HEIGHT, window.height(), EGL_NONE};
        window.drawable = eglCreatePbufferSurface(connection.display, config, size);
    }
    if (window.drawable == EGL_NO_SURFACE || connection.lost()) {
        DestroySurface(window);
        return false;
    }
    window.config = config;
    return true;
}

void Dispose(WindowRec* made) {
    auto* window = &Downcast<HiddenWindow>(*made);
    DestroySurface(*window);
    if (window->surface != nullptr) {
        Of(*window->connection).wayland->destroyWindow(window->surface, window->nativeWindow);
    }
    delete window;
}

}  // namespace

const WindowCalls kWindowCalls = {Create, Prepare, Dispose};

}  // namespace GLPlatform::EGL

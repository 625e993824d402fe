// The EGL backend's display: EGL on a Wayland compositor, or on a device with no display at all.
#pragma once

#include <EGL/egl.h>

#include <memory>

#include "WaylandConnection.h"

namespace GLPlatform::EGL {

// An initialised EGL display, shared by the formats, windows and contexts made on it.
struct Connection {
    Connection(EGLDisplay initialised, std::unique_ptr<WaylandConnection> compositor)
        : display(initialised), wayland(std::move(compositor)) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The surface type that stands for a window: a Wayland window, or a pbuffer on a device.
    EGLint windowSurfaceBit() const {
        return wayland != nullptr ? EGL_WINDOW_BIT : EGL_PBUFFER_BIT;
    }
    // The compositor went away: nothing more is sent, and the connection is dropped.
    bool lost() const { return wayland != nullptr && wayland->failed(); }

    EGLDisplay display;
    std::unique_ptr<WaylandConnection> wayland;  // null on a device
    // Whether the renderer is a hardware one; -1 until first asked.
    int hardware = -1;
};

using ConnectionRef = std::shared_ptr<Connection>;

// EGL on the compositor's own connection; null when EGL cannot be initialised there.
ConnectionRef ConnectionOnCompositor(std::unique_ptr<WaylandConnection> compositor);
// EGL on the first device that initialises, hardware ones before Mesa's software device; null
// when none does.
ConnectionRef ConnectionOnDevice();

// Where AcquireConnection connects: to the compositor WAYLAND_DISPLAY names, or to a device.
// Set once, by the backend's connect function, with the connection it made, if any.
void ConnectTo(bool wayland, ConnectionRef first);

// Returns the connection, opening it on first use and again after a lost one; null while there
// is no compositor, or no device.
ConnectionRef AcquireConnection();

// Binds desktop OpenGL for the EGL calls of one operation, then gives the thread back the API it
// had: the host may use OpenGL ES through EGL on the same thread.
class OpenGLAPI {
public:
    OpenGLAPI() : mPrevious(eglQueryAPI()) { eglBindAPI(EGL_OPENGL_API); }
    ~OpenGLAPI() {
        if (mPrevious != EGL_OPENGL_API) {
            eglBindAPI(mPrevious);
        }
    }
    OpenGLAPI(const OpenGLAPI&) = delete;
    OpenGLAPI& operator=(const OpenGLAPI&) = delete;

private:
    EGLenum mPrevious;
};

}  // namespace GLPlatform::EGL

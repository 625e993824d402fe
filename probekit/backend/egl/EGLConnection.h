// The EGL backend's display: EGL on a Wayland compositor, or on a device with no display at all.
#pragma once

#include <EGL/egl.h>

#include <memory>

#include "BackendRecords.h"
#include "WaylandConnection.h"

namespace GLPlatform::EGL {

// An initialised EGL display.
struct EGLConnection final : Connection {
    EGLConnection(EGLDisplay initialised, std::unique_ptr<WaylandConnection> compositor)
        : display(initialised), wayland(std::move(compositor)) {}
    ~EGLConnection() override;

    // The compositor went away.
    bool lost() const override { return wayland != nullptr && wayland->failed(); }

    EGLDisplay display;
    std::unique_ptr<WaylandConnection> wayland;  // null on a device
};

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

inline EGLConnection& Of(Connection& connection) {
    return Downcast<EGLConnection>(connection);
}

}  // namespace GLPlatform::EGL

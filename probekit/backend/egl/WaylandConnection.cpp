#include "WaylandConnection.h"

#include <poll.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstring>

#include "WaylandCompositor.h"

namespace GLPlatform::EGL {

namespace {

// wl_surface is all the backend asks of the compositor.
constexpr uint32_t kCompositorVersion = 1;

void Withdraw(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

}  // namespace

void WaylandConnection::Announce(void* data, wl_registry* registry, uint32_t name,
                                 const char* interface, uint32_t /*version*/) {
    auto* connection = static_cast<WaylandConnection*>(data);
    if (connection->mCompositor == nullptr &&
        std::strcmp(interface, wl_compositor_interface.name) == 0) {
        connection->mCompositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, kCompositorVersion));
    }
}

std::unique_ptr<WaylandConnection> WaylandConnection::Adopt(wl_display* display) {
    static const wl_registry_listener kListener = {Announce, Withdraw};
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    connection->mRegistry = wl_display_get_registry(display);
    if (connection->mRegistry == nullptr ||
        wl_registry_add_listener(connection->mRegistry, &kListener, connection.get()) != 0 ||
        !Graphics::RoundTripBy(display, Graphics::ServerDeadlineFromNow()) ||
        connection->mCompositor == nullptr) {
        return nullptr;
    }
    return connection;
}

std::unique_ptr<WaylandConnection> WaylandConnection::Open() {
    return Adopt(Graphics::ConnectToWaylandCompositor());
}

WaylandConnection::~WaylandConnection() {
    if (mCompositor != nullptr) {
        wl_compositor_destroy(mCompositor);
    }
    if (mRegistry != nullptr) {
        wl_registry_destroy(mRegistry);
    }
    wl_display_disconnect(mDisplay);
}

bool WaylandConnection::failed() const {
    return wl_display_get_error(mDisplay) != 0;
}

bool WaylandConnection::alive() {
    pollfd incoming{wl_display_get_fd(mDisplay), POLLIN, 0};
    // A compositor that went away shows as an end of file, which the read turns into an error.
    if (!failed() && poll(&incoming, 1, 0) > 0) {
        wl_display_dispatch(mDisplay);
    }
    return !failed();
}

bool WaylandConnection::createWindow(int width, int height, wl_surface*& surface,
                                     wl_egl_window*& window) {
    wl_surface* made = failed() ? nullptr : wl_compositor_create_surface(mCompositor);
    wl_egl_window* native = made != nullptr ? wl_egl_window_create(made, width, height) : nullptr;
    if (native == nullptr) {
        if (made != nullptr) {
            wl_surface_destroy(made);
        }
        return false;
    }
    surface = made;
    window = native;
    return true;
}

void WaylandConnection::destroyWindow(wl_surface* surface, wl_egl_window* window) {
    wl_egl_window_destroy(window);
    wl_surface_destroy(surface);
    wl_display_flush(mDisplay);
}

}  // namespace GLPlatform::EGL

#include "WaylandConnection.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace GLPlatform::EGL {

namespace {

// wl_surface is all the backend asks of the compositor.
constexpr uint32_t kCompositorVersion = 1;

const char* NonEmpty(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// The socket that libwayland would connect to: WAYLAND_DISPLAY, absolute or inside
// XDG_RUNTIME_DIR. NOTE: not wl_display_connect, which would take the host's own connection when
// the host was started with WAYLAND_SOCKET.
int ConnectToCompositor() {
    const char* name = NonEmpty("WAYLAND_DISPLAY");
    const char* runtime = NonEmpty("XDG_RUNTIME_DIR");
    if (name == nullptr || (name[0] != '/' && runtime == nullptr)) {
        return -1;
    }
    const std::string path = name[0] == '/' ? name : std::string(runtime) + "/" + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return -1;
    }
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

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

std::unique_ptr<WaylandConnection> WaylandConnection::Open() {
    static const wl_registry_listener kListener = {Announce, Withdraw};
    const int fd = ConnectToCompositor();
    if (fd < 0) {
        return nullptr;
    }
    // Takes the descriptor, also when it fails.
    wl_display* display = wl_display_connect_to_fd(fd);
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    connection->mRegistry = wl_display_get_registry(display);
    if (connection->mRegistry == nullptr ||
        wl_registry_add_listener(connection->mRegistry, &kListener, connection.get()) != 0 ||
        wl_display_roundtrip(display) < 0 || connection->mCompositor == nullptr) {
        return nullptr;
    }
    return connection;
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

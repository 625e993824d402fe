#include "WaylandCompositor.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdlib>
#include <string>

namespace Graphics {

namespace {

const char* NonEmpty(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// The socket that libwayland would connect to. NOTE: not wl_display_connect, which would take
// the host's own connection when the host was started with WAYLAND_SOCKET.
int ConnectToSocket() {
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

}  // namespace

wl_display* ConnectToWaylandCompositor() {
    const int fd = ConnectToSocket();
    if (fd < 0) {
        return nullptr;
    }
    // Takes the descriptor, also when it fails.
    wl_display* display = wl_display_connect_to_fd(fd);
    if (display != nullptr && wl_display_roundtrip(display) < 0) {
        wl_display_disconnect(display);
        return nullptr;
    }
    return display;
}

}  // namespace Graphics

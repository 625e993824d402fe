#include "WaylandCompositor.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace Graphics {

namespace {

const char* NonEmpty(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// The socket as libwayland finds it: a path, or a name inside XDG_RUNTIME_DIR. NOTE: not
// wl_display_connect, which would take the host's own connection when the host was started with
// WAYLAND_SOCKET. The connection is made without waiting: a compositor whose queue of connections
// is full counts as one that does not answer.
int ConnectToSocket(const char* name) {
    const char* runtime = NonEmpty("XDG_RUNTIME_DIR");
    if (name == nullptr || *name == '\0' || (name[0] != '/' && runtime == nullptr)) {
        return -1;
    }
    const std::string path = name[0] == '/' ? name : std::string(runtime) + "/" + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return -1;
    }
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0 && (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)) {
        close(fd);
        return -1;
    }
    return fd;
}

wl_display* ConnectToCompositorAt(const char* name) {
    const int fd = ConnectToSocket(name);
    if (fd < 0) {
        return nullptr;
    }
    // Takes the descriptor, also when it fails.
    wl_display* display = wl_display_connect_to_fd(fd);
    if (display != nullptr && !RoundTripBy(display, ServerDeadlineFromNow())) {
        wl_display_disconnect(display);
        return nullptr;
    }
    return display;
}

void Answered(void* done, wl_callback* /*callback*/, uint32_t /*serial*/) {
    *static_cast<bool*>(done) = true;
}

// Reads and dispatches what has come, once it has; false on failure or at the deadline.
bool DispatchBy(wl_display* display, ServerDeadline deadline) {
    if (wl_display_prepare_read(display) != 0) {
        return wl_display_dispatch_pending(display) >= 0;
    }
    // The few requests before a round trip fit the socket's buffer even of a compositor that
    // reads nothing.
    if ((wl_display_flush(display) < 0 && errno != EAGAIN) ||
        !WaitForDescriptor(wl_display_get_fd(display), POLLIN, deadline)) {
        wl_display_cancel_read(display);
        return false;
    }
    return wl_display_read_events(display) >= 0 && wl_display_dispatch_pending(display) >= 0;
}

}  // namespace

wl_display* ConnectToWaylandCompositor() {
    return ConnectToCompositorAt(NonEmpty("WAYLAND_DISPLAY"));
}

const char* LibwaylandSocket() {
    const char* named = std::getenv("WAYLAND_DISPLAY");
    return named != nullptr ? named : "wayland-0";
}

bool CompositorAnswersAt(const char* socket) {
    wl_display* display = ConnectToCompositorAt(socket);
    if (display == nullptr) {
        return false;
    }
    wl_display_disconnect(display);
    return true;
}

bool RoundTripBy(wl_display* display, ServerDeadline deadline) {
    static const wl_callback_listener kListener = {Answered};
    wl_callback* callback = wl_display_sync(display);
    if (callback == nullptr) {
        return false;
    }
    bool done = false;
    wl_callback_add_listener(callback, &kListener, &done);
    while (!done) {
        if (!DispatchBy(display, deadline)) {
            break;
        }
    }
    wl_callback_destroy(callback);
    return done;
}

}  // namespace Graphics

// The one place where the backend is chosen.
#include "Backend.h"

namespace GLPlatform {

namespace {

// Wayland first, as GTK chooses its own backend; the device when there is no display at all.
Backend Select() {
    Backend backend;
    if (!ConnectWaylandEGL(backend) && !ConnectGLX(backend)) {
        ConnectDeviceEGL(backend);
    }
    return backend;
}

}  // namespace

// Kept for the life of the process: a cached feature mask was measured on this backend, and a
// later probe must answer for the same display.
const Backend& SelectedBackend() {
    static const Backend sBackend = Select();
    return sBackend;
}

}  // namespace GLPlatform

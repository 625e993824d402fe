#include "EGLConnection.h"

#include "EGLDevices.h"

namespace GLPlatform::EGL {

namespace {

struct Target {
    bool wayland = false;
    ConnectionRef connection;
};

// NOTE: kept open while the compositor lives, as the GLX backend keeps its X connection: Mesa
// would otherwise rebuild its driver screen for every probe. Never closed at exit.
Target& Kept() {
    static auto* sTarget = new Target();
    return *sTarget;
}

}  // namespace

EGLConnection::~EGLConnection() {
    // A device's display is process-wide and may be the host's too; it stays initialised.
    if (wayland != nullptr) {
        eglTerminate(display);
    }
}

ConnectionRef ConnectionOnCompositor(std::unique_ptr<WaylandConnection> compositor) {
    EGLDisplay display = Graphics::InitialiseEGLOnCompositor(compositor->display());
    if (display == EGL_NO_DISPLAY) {
        return nullptr;
    }
    return std::make_shared<EGLConnection>(display, std::move(compositor));
}

ConnectionRef ConnectionOnDevice() {
    EGLDisplay display = Graphics::InitialiseFirstEGLDevice();
    return display != EGL_NO_DISPLAY ? std::make_shared<EGLConnection>(display, nullptr) : nullptr;
}

void ConnectTo(bool wayland, ConnectionRef first) {
    Kept() = {wayland, std::move(first)};
}

ConnectionRef AcquireConnection() {
    Target& kept = Kept();
    WaylandConnection* current =
        kept.connection != nullptr ? Of(*kept.connection).wayland.get() : nullptr;
    if (current != nullptr && !current->alive()) {
        kept.connection.reset();
    }
    if (kept.connection == nullptr) {
        if (!kept.wayland) {
            kept.connection = ConnectionOnDevice();
        } else if (auto compositor = WaylandConnection::Open()) {
            kept.connection = ConnectionOnCompositor(std::move(compositor));
        }
    }
    return kept.connection;
}

}  // namespace GLPlatform::EGL

// The EGL backend's connect functions, on a Wayland compositor or on a device, and its
// connection's calls. GL calls go straight to the driver: with EGL none of them reaches the
// compositor.
#include "BackendConnect.h"
#include "EGLDevices.h"
#include "EGLNative.h"

namespace GLPlatform::EGL {

namespace {

bool RendersInHardware(Connection& connection) {
    return !Graphics::EGLRendersInSoftware(Of(connection).display);
}

const ConnectionCalls kConnectionCalls = {AcquireConnection, RendersInHardware};
const GLCalls kGLCalls = {::glGetString, ::glGetIntegerv, ::glGetBooleanv, ::glEnable};

NativeCalls Calls(const AttributeTable& attributes) {
    return {&attributes,    &kConnectionCalls, &kConfigCalls,
            &kContextCalls, &kWindowCalls,     &kGLCalls};
}

}  // namespace

}  // namespace GLPlatform::EGL

namespace GLPlatform {

// The compositor counts as there when it answers, whether or not EGL then initialises on it: the
// probes must address the display that the program's window is on.
NativeCalls ConnectWaylandEGL(wl_display* compositor) {
    auto connection = EGL::WaylandConnection::Adopt(compositor);
    EGL::ConnectTo(
        true, connection != nullptr ? EGL::ConnectionOnCompositor(std::move(connection)) : nullptr);
    return EGL::Calls(EGL::kWaylandAttributes);
}

NativeCalls ConnectDeviceEGL() {
    EGL::ConnectTo(false, EGL::ConnectionOnDevice());
    return EGL::Calls(EGL::kDeviceAttributes);
}

}  // namespace GLPlatform

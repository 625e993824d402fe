// The EGL backend's table, on a Wayland compositor or on a device. GL calls go straight to the
// driver: with EGL none of them reaches the compositor.
#include "Backend.h"
#include "EGLRecords.h"

namespace GLPlatform {

namespace {

void Fill(Backend& backend) {
    backend = {.choosePixelFormat = EGL::ChoosePixelFormat,
               .describePixelFormat = EGL::DescribePixelFormat,
               .destroyPixelFormat = EGL::DestroyPixelFormat,
               .createContext = EGL::CreateContext,
               .setDrawable = EGL::SetDrawable,
               .setCurrentContext = EGL::SetCurrentContext,
               .destroyContext = EGL::DestroyContext,
               .createNewWindow = EGL::CreateHiddenWindow,
               .disposeWindow = EGL::DisposeHiddenWindow,
               .getString = ::glGetString,
               .getIntegerv = ::glGetIntegerv,
               .getBooleanv = ::glGetBooleanv,
               .enable = ::glEnable};
}

}  // namespace

// The compositor counts as there when it answers, whether or not EGL then initialises on it:
// the probes must address the display that the program's window is on.
bool ConnectWaylandEGL(Backend& backend) {
    auto compositor = EGL::WaylandConnection::Open();
    if (compositor == nullptr) {
        return false;
    }
    EGL::ConnectTo(true, EGL::ConnectionOnCompositor(std::move(compositor)));
    Fill(backend);
    return true;
}

bool ConnectDeviceEGL(Backend& backend) {
    EGL::ConnectionRef device = EGL::ConnectionOnDevice();
    const bool found = device != nullptr;
    EGL::ConnectTo(false, std::move(device));
    Fill(backend);
    return found;
}

}  // namespace GLPlatform

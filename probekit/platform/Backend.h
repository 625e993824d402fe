// The backends behind GLPlatform.h and the run-time choice between them. As in GLFW 3.4, each
// backend's connect function fills one table of operations when its display system answers;
// SelectedBackend tries them in a fixed order once per process, and the free functions of
// GLPlatform.h forward to the table it chose.
#pragma once

#include "GLPlatform.h"

namespace GLPlatform {

struct Backend {
    decltype(&aglChoosePixelFormat) choosePixelFormat = nullptr;
    decltype(&aglDescribePixelFormat) describePixelFormat = nullptr;
    decltype(&aglDestroyPixelFormat) destroyPixelFormat = nullptr;
    decltype(&aglCreateContext) createContext = nullptr;
    decltype(&aglSetDrawable) setDrawable = nullptr;
    decltype(&aglSetCurrentContext) setCurrentContext = nullptr;
    decltype(&aglDestroyContext) destroyContext = nullptr;
    decltype(&CreateNewWindow) createNewWindow = nullptr;
    decltype(&DisposeWindow) disposeWindow = nullptr;
    decltype(&glGetString) getString = nullptr;
    decltype(&glGetIntegerv) getIntegerv = nullptr;
    decltype(&glGetBooleanv) getBooleanv = nullptr;
    decltype(&glEnable) enable = nullptr;
};

// EGL on the compositor that WAYLAND_DISPLAY names, when one answers there.
bool ConnectWaylandEGL(Backend& backend);
// GLX on the X server that DISPLAY names, when one answers there.
bool ConnectGLX(Backend& backend);
// EGL on a device with no display: a hardware one, Mesa's software device last. Fills the table
// even when no device initialises; its operations then fail.
bool ConnectDeviceEGL(Backend& backend);

// A Wayland display, else an X display, else a device; decided on the first call.
const Backend& SelectedBackend();

}  // namespace GLPlatform

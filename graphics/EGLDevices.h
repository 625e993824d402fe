// EGL devices (EGL_EXT_device_enumeration, EGL_EXT_device_query): the GPUs that EGL can draw with
// without any display, which of them draws for a display, and whether it draws in software; and
// EGL on a Wayland compositor's connection.
#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <string>
#include <vector>

struct wl_display;

namespace Graphics {

// Every device: hardware ones first, the one that shows a picture (else the firmware's boot
// display) before the others; Mesa's software device last.
std::vector<EGLDeviceEXT> EGLDevicesInOrder();

// The first device of that order on which EGL initialises (EGL_EXT_platform_device), initialised;
// EGL_NO_DISPLAY when none does. NOTE: a device's display is process-wide, and the host may use
// it too: it is never terminated.
EGLDisplay InitialiseFirstEGLDevice();

// EGL on the compositor's connection, initialised; EGL_NO_DISPLAY when it does not initialise
// there. The caller terminates it before it disconnects.
EGLDisplay InitialiseEGLOnCompositor(wl_display* compositor);

// The device an initialised display draws with; null where EGL cannot say.
EGLDeviceEXT EGLDeviceOfDisplay(EGLDisplay display);

// The device's DRM node: its render node where EGL names one, else its primary node; empty where
// EGL names neither.
std::string DrmNodeOfEGLDevice(EGLDeviceEXT device);

// Whether an initialised display draws on the processor: Mesa's software device
// (EGL_MESA_device_software), or a driver that names a software renderer (EGL_MESA_query_driver:
// "swrast", "kms_swrast").
bool EGLRendersInSoftware(EGLDisplay display);

}  // namespace Graphics

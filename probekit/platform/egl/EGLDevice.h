// EGL devices (EGL_EXT_device_enumeration, EGL_EXT_device_query): the GPUs that EGL can draw
// with, without any display.
#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <vector>

namespace GLPlatform::EGL {

// Every device: hardware ones first, the one that shows a picture (else the firmware's boot
// display) before the others; Mesa's software device last.
std::vector<EGLDeviceEXT> DevicesInOrder();

// Whether the device is Mesa's software device (EGL_MESA_device_software).
bool IsSoftwareDevice(EGLDeviceEXT device);

// The device an initialised display draws with; null where EGL cannot say.
EGLDeviceEXT DeviceOfDisplay(EGLDisplay display);

}  // namespace GLPlatform::EGL

#include "EGLDevices.h"

#include <algorithm>

#include "DrmDevice.h"
#include "ExtensionNames.h"
#include "SoftwareRenderer.h"

namespace Graphics {

namespace {

// Far more than a machine has.
constexpr EGLint kMaximumDevices = 32;
constexpr const char* kSysfsRoot = "/sys";

// NOTE: eglGetProcAddress may answer for any name, so the extension is asked for first.
template <typename T>
T ClientFunction(const char* extension, const char* name) {
    return ListsExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), extension)
               ? reinterpret_cast<T>(eglGetProcAddress(name))
               : nullptr;
}

const char* DeviceString(EGLDeviceEXT device, EGLint name) {
    const auto queryString = ClientFunction<PFNEGLQUERYDEVICESTRINGEXTPROC>(
        "EGL_EXT_device_query", "eglQueryDeviceStringEXT");
    return queryString != nullptr ? queryString(device, name) : nullptr;
}

bool IsSoftwareDevice(EGLDeviceEXT device) {
    return ListsExtension(DeviceString(device, EGL_EXTENSIONS), "EGL_MESA_device_software");
}

// The driver's name, as EGL_MESA_query_driver gives it ("swrast", "iris"); null without it.
const char* DriverName(EGLDisplay display) {
    if (!ListsExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_MESA_query_driver")) {
        return nullptr;
    }
    const auto driverName = reinterpret_cast<PFNEGLGETDISPLAYDRIVERNAMEPROC>(
        eglGetProcAddress("eglGetDisplayDriverName"));
    return driverName != nullptr ? driverName(display) : nullptr;
}

}  // namespace

std::vector<EGLDeviceEXT> EGLDevicesInOrder() {
    const auto queryDevices = ClientFunction<PFNEGLQUERYDEVICESEXTPROC>(
        "EGL_EXT_device_enumeration", "eglQueryDevicesEXT");
    EGLDeviceEXT found[kMaximumDevices];
    EGLint count = 0;
    if (queryDevices == nullptr || queryDevices(kMaximumDevices, found, &count) == EGL_FALSE) {
        return {};
    }
    std::vector<RenderDevice> described;
    for (EGLint i = 0; i < std::min(count, kMaximumDevices); ++i) {
        const bool hardware = !IsSoftwareDevice(found[i]);
        described.push_back({hardware, hardware ? DrmNodeOfEGLDevice(found[i]) : ""});
    }
    std::vector<EGLDeviceEXT> devices;
    for (const std::size_t position : OrderWithoutDisplay(kSysfsRoot, described)) {
        devices.push_back(found[position]);
    }
    return devices;
}

EGLDisplay InitialiseFirstEGLDevice() {
    if (!ListsExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS),
                        "EGL_EXT_platform_device")) {
        return EGL_NO_DISPLAY;
    }
    for (EGLDeviceEXT device : EGLDevicesInOrder()) {
        EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr) != EGL_FALSE) {
            return display;
        }
    }
    return EGL_NO_DISPLAY;
}

EGLDisplay InitialiseEGLOnCompositor(wl_display* compositor) {
    EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, compositor, nullptr);
    if (display == EGL_NO_DISPLAY || eglInitialize(display, nullptr, nullptr) == EGL_FALSE) {
        return EGL_NO_DISPLAY;
    }
    return display;
}

EGLDeviceEXT EGLDeviceOfDisplay(EGLDisplay display) {
    const auto queryDisplay = ClientFunction<PFNEGLQUERYDISPLAYATTRIBEXTPROC>(
        "EGL_EXT_device_query", "eglQueryDisplayAttribEXT");
    EGLAttrib device = 0;
    if (queryDisplay == nullptr || queryDisplay(display, EGL_DEVICE_EXT, &device) == EGL_FALSE) {
        return EGL_NO_DEVICE_EXT;
    }
    // EGL hands the device over as an attribute value.
    return reinterpret_cast<EGLDeviceEXT>(device);  // NOLINT(performance-no-int-to-ptr)
}

std::string DrmNodeOfEGLDevice(EGLDeviceEXT device) {
    const char* extensions = DeviceString(device, EGL_EXTENSIONS);
    const char* node = nullptr;
    if (ListsExtension(extensions, "EGL_EXT_device_drm_render_node")) {
        node = DeviceString(device, EGL_DRM_RENDER_NODE_FILE_EXT);
    }
    if (node == nullptr && ListsExtension(extensions, "EGL_EXT_device_drm")) {
        node = DeviceString(device, EGL_DRM_DEVICE_FILE_EXT);
    }
    return node != nullptr ? node : "";
}

bool EGLRendersInSoftware(EGLDisplay display) {
    const EGLDeviceEXT device = EGLDeviceOfDisplay(display);
    return (device != EGL_NO_DEVICE_EXT && IsSoftwareDevice(device)) ||
           IsKnownSoftwareRenderer(DriverName(display));
}

}  // namespace Graphics

#include "EGLDevice.h"

#include <algorithm>

#include "DrmDevice.h"
#include "EGLConnection.h"
#include "ExtensionList.h"

namespace GLPlatform::EGL {

namespace {

// Far more than a machine has.
constexpr EGLint kMaximumDevices = 32;
constexpr const char* kSysfsRoot = "/sys";

// NOTE: eglGetProcAddress may answer for any name, so the extension is asked for first.
template <typename T>
T ClientFunction(const char* extension, const char* name) {
    const ExtensionList client(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS));
    return client.has(extension) ? reinterpret_cast<T>(eglGetProcAddress(name)) : nullptr;
}

const char* DeviceString(EGLDeviceEXT device, EGLint name) {
    const auto queryString = ClientFunction<PFNEGLQUERYDEVICESTRINGEXTPROC>(
        "EGL_EXT_device_query", "eglQueryDeviceStringEXT");
    return queryString != nullptr ? queryString(device, name) : nullptr;
}

// The device's DRM node: its render node where EGL names one, else its primary node; empty where
// EGL names neither.
std::string DrmNode(EGLDeviceEXT device) {
    const ExtensionList extensions(DeviceString(device, EGL_EXTENSIONS));
    const char* node = nullptr;
    if (extensions.has("EGL_EXT_device_drm_render_node")) {
        node = DeviceString(device, EGL_DRM_RENDER_NODE_FILE_EXT);
    }
    if (node == nullptr && extensions.has("EGL_EXT_device_drm")) {
        node = DeviceString(device, EGL_DRM_DEVICE_FILE_EXT);
    }
    return node != nullptr ? node : "";
}

}  // namespace

std::vector<EGLDeviceEXT> DevicesInOrder() {
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
        described.push_back({hardware, hardware ? DrmNode(found[i]) : ""});
    }
    std::vector<EGLDeviceEXT> devices;
    for (const std::size_t position : OrderWithoutDisplay(kSysfsRoot, described)) {
        devices.push_back(found[position]);
    }
    return devices;
}

bool IsSoftwareDevice(EGLDeviceEXT device) {
    return ExtensionList(DeviceString(device, EGL_EXTENSIONS)).has("EGL_MESA_device_software");
}

EGLDeviceEXT DeviceOfDisplay(EGLDisplay display) {
    const auto queryDisplay = ClientFunction<PFNEGLQUERYDISPLAYATTRIBEXTPROC>(
        "EGL_EXT_device_query", "eglQueryDisplayAttribEXT");
    EGLAttrib device = 0;
    if (queryDisplay == nullptr || queryDisplay(display, EGL_DEVICE_EXT, &device) == EGL_FALSE) {
        return EGL_NO_DEVICE_EXT;
    }
    // EGL hands the device over as an attribute value.
    return reinterpret_cast<EGLDeviceEXT>(device);  // NOLINT(performance-no-int-to-ptr)
}

ConnectionRef ConnectionOnDevice() {
    if (!ExtensionList(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS))
             .has("EGL_EXT_platform_device")) {
        return nullptr;
    }
    for (EGLDeviceEXT device : DevicesInOrder()) {
        EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr) != EGL_FALSE) {
            return std::make_shared<Connection>(display, nullptr);
        }
    }
    return nullptr;
}

}  // namespace GLPlatform::EGL

#include "EGLDevice.h"

#include <algorithm>

#include "EGLConnection.h"
#include "ExtensionList.h"

namespace GLPlatform::EGL {

namespace {

// Far more than a machine has.
constexpr EGLint kMaximumDevices = 32;

// NOTE: eglGetProcAddress may answer for any name, so the extension is asked for first.
template <typename T>
T ClientFunction(const char* extension, const char* name) {
    const ExtensionList client(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS));
    return client.has(extension) ? reinterpret_cast<T>(eglGetProcAddress(name)) : nullptr;
}

}  // namespace

std::vector<EGLDeviceEXT> DevicesInOrder() {
    const auto queryDevices = ClientFunction<PFNEGLQUERYDEVICESEXTPROC>(
        "EGL_EXT_device_enumeration", "eglQueryDevicesEXT");
    std::vector<EGLDeviceEXT> devices(kMaximumDevices);
    EGLint count = 0;
    if (queryDevices == nullptr ||
        queryDevices(kMaximumDevices, devices.data(), &count) == EGL_FALSE) {
        return {};
    }
    devices.resize(static_cast<std::size_t>(std::clamp(count, 0, kMaximumDevices)));
    std::stable_partition(devices.begin(), devices.end(),
                          [](EGLDeviceEXT device) { return !IsSoftwareDevice(device); });
    return devices;
}

bool IsSoftwareDevice(EGLDeviceEXT device) {
    const auto queryString = ClientFunction<PFNEGLQUERYDEVICESTRINGEXTPROC>(
        "EGL_EXT_device_query", "eglQueryDeviceStringEXT");
    return queryString != nullptr &&
           ExtensionList(queryString(device, EGL_EXTENSIONS)).has("EGL_MESA_device_software");
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

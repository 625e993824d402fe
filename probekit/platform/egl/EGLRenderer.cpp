// Whether a display's renderer is a hardware one, decided once per connection.
#include "EGLDevice.h"
#include "EGLRecords.h"
#include "ExtensionList.h"
#include "SoftwareRenderer.h"

namespace GLPlatform::EGL {

namespace {

// The driver's name, as EGL_MESA_query_driver gives it ("swrast", "iris"); null without it.
const char* DriverName(EGLDisplay display) {
    if (!ExtensionList(eglQueryString(display, EGL_EXTENSIONS)).has("EGL_MESA_query_driver")) {
        return nullptr;
    }
    const auto driverName = reinterpret_cast<PFNEGLGETDISPLAYDRIVERNAMEPROC>(
        eglGetProcAddress("eglGetDisplayDriverName"));
    return driverName != nullptr ? driverName(display) : nullptr;
}

}  // namespace

// Mesa's software device, or a driver that names a software renderer, runs on the processor.
bool HasHardwareRenderer(Connection& connection) {
    if (connection.hardware < 0) {
        const EGLDeviceEXT device = DeviceOfDisplay(connection.display);
        const bool software = (device != EGL_NO_DEVICE_EXT && IsSoftwareDevice(device)) ||
                              Graphics::IsKnownSoftwareRenderer(DriverName(connection.display));
        connection.hardware = software ? 0 : 1;
    }
    return connection.hardware == 1;
}

}  // namespace GLPlatform::EGL

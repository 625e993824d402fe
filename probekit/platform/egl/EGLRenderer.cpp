// Whether a display's renderer is a hardware one, decided once per connection.
#include "EGLDevices.h"
#include "EGLRecords.h"

namespace GLPlatform::EGL {

bool HasHardwareRenderer(Connection& connection) {
    if (connection.hardware < 0) {
        connection.hardware = Graphics::EGLRendersInSoftware(connection.display) ? 0 : 1;
    }
    return connection.hardware == 1;
}

}  // namespace GLPlatform::EGL

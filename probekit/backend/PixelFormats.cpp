// Pixel formats: the request that the attribute words make, met by the backend's first config.
#include <utility>

#include "BackendError.h"
#include "NativeCalls.h"

namespace GLPlatform {

namespace {

AGLPixelFormat Fail(GLenum code) {
    SetLastError(code);
    return nullptr;
}

bool HasHardwareRenderer(Connection& connection) {
    if (connection.hardware < 0) {
        const bool hardware = Native().connections->rendersInHardware(connection);
        // A connection lost meanwhile answers nothing; the next one is asked again.
        if (connection.lost()) {
            return false;
        }
        connection.hardware = hardware ? 1 : 0;
    }
    return connection.hardware == 1;
}

}  // namespace

AGLPixelFormat aglChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                    const GLint* attributes) {
    if (devices == nullptr || deviceCount < 1 || attributes == nullptr) {
        return Fail(kAGLBadAttribute);
    }
    const std::optional<ConfigRequest> request = Walk(attributes, *Native().attributes);
    if (!request) {
        return Fail(kAGLBadAttribute);
    }
    ConnectionRef connection = Native().connections->acquire();
    if (connection == nullptr) {
        return Fail(kAGLBadConnection);
    }
    if (request->unmet || (request->accelerated && !HasHardwareRenderer(*connection))) {
        return Fail(kAGLBadPixelFormat);
    }
    const NativeHandle config = Native().configs->choose(*connection, *request);
    if (config == nullptr) {
        return Fail(kAGLBadPixelFormat);
    }
    return new PixelFormatRec{std::move(connection), config};
}

GLboolean aglDescribePixelFormat(AGLPixelFormat format, GLint attribute, GLint* value) {
    if (format == nullptr || value == nullptr || attribute != AGL_DEPTH_SIZE) {
        SetLastError(kAGLBadAttribute);
        return GL_FALSE;
    }
    GLint depth = 0;
    if (!Native().configs->depth(*format->connection, format->config, &depth)) {
        SetLastError(kAGLBadPixelFormat);
        return GL_FALSE;
    }
    *value = depth;
    return GL_TRUE;
}

void aglDestroyPixelFormat(AGLPixelFormat format) {
    delete format;
}

}  // namespace GLPlatform

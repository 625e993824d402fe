// Pixel formats as EGL configs.
#include <vector>

#include "EGLRecords.h"

namespace GLPlatform::EGL {

namespace {

struct Translation {
    std::vector<EGLint> egl;
    bool accelerated = false;
    bool stereo = false;
    bool valid = true;
};

// AGL words to EGL config attributes. EGL sizes are minimums already, as the minimum policy
// asks; a window is whatever surface stands for one on this connection.
Translation Translate(const GLint* words, EGLint windowBit) {
    Translation out;
    EGLint surfaceBits = 0;
    for (const GLint* word = words; *word != AGL_NONE; ++word) {
        switch (*word) {
            case AGL_RGBA:
                out.egl.insert(out.egl.end(), {EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER,
                                               EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT});
                break;
            case AGL_WINDOW:
                surfaceBits |= windowBit;
                break;
            case AGL_OFFSCREEN:
                surfaceBits |= EGL_PBUFFER_BIT;
                break;
            case AGL_STEREO:
                out.stereo = true;
                break;
            case AGL_ACCELERATED:
                out.accelerated = true;
                break;
            // Window surfaces have a back buffer, and pbuffers draw into theirs.
            case AGL_DOUBLEBUFFER:
            case AGL_MINIMUM_POLICY:
            case AGL_MULTISAMPLE:
                break;
            case AGL_DEPTH_SIZE:
                out.egl.insert(out.egl.end(), {EGL_DEPTH_SIZE, *++word});
                break;
            case AGL_STENCIL_SIZE:
                out.egl.insert(out.egl.end(), {EGL_STENCIL_SIZE, *++word});
                break;
            case AGL_SAMPLE_BUFFERS_ARB:
                out.egl.insert(out.egl.end(), {EGL_SAMPLE_BUFFERS, *++word});
                break;
            case AGL_SAMPLES_ARB:
                out.egl.insert(out.egl.end(), {EGL_SAMPLES, *++word});
                break;
            default:
                out.valid = false;
                return out;
        }
    }
    out.egl.insert(out.egl.end(),
                   {EGL_SURFACE_TYPE, surfaceBits != 0 ? surfaceBits : windowBit, EGL_NONE});
    return out;
}

// EGL's first config for the request; with accelerated, the first that EGL does not mark slow.
EGLConfig FirstConfig(EGLDisplay display, const Translation& request) {
    EGLint count = 0;
    if (eglChooseConfig(display, request.egl.data(), nullptr, 0, &count) == EGL_FALSE ||
        count <= 0) {
        return nullptr;
    }
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    if (eglChooseConfig(display, request.egl.data(), configs.data(), count, &count) == EGL_FALSE) {
        return nullptr;
    }
    configs.resize(static_cast<std::size_t>(count));
    for (EGLConfig config : configs) {
        EGLint caveat = EGL_NONE;
        if (!request.accelerated ||
            (eglGetConfigAttrib(display, config, EGL_CONFIG_CAVEAT, &caveat) != EGL_FALSE &&
             caveat != EGL_SLOW_CONFIG)) {
            return config;
        }
    }
    return nullptr;
}

AGLPixelFormat Fail(GLenum code) {
    SetLastError(code);
    return nullptr;
}

}  // namespace

// EGL has no stereo configs: a request for stereo meets nothing, as on a GLX driver without
// stereo visuals.
AGLPixelFormat ChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                 const GLint* attributes) {
    if (devices == nullptr || deviceCount < 1 || attributes == nullptr) {
        return Fail(kAGLBadAttribute);
    }
    ConnectionRef connection = AcquireConnection();
    if (connection == nullptr) {
        return Fail(kAGLBadConnection);
    }
    const Translation request = Translate(attributes, connection->windowSurfaceBit());
    if (!request.valid) {
        return Fail(kAGLBadAttribute);
    }
    if (request.stereo || (request.accelerated && !HasHardwareRenderer(*connection))) {
        return Fail(kAGLBadPixelFormat);
    }
    const EGLConfig config = FirstConfig(connection->display, request);
    if (config == nullptr) {
        return Fail(kAGLBadPixelFormat);
    }
    return new PixelFormat(std::move(connection), config);
}

GLboolean DescribePixelFormat(AGLPixelFormat handle, GLint attribute, GLint* value) {
    const PixelFormat* format = Downcast<PixelFormat>(handle);
    if (format == nullptr || value == nullptr || attribute != AGL_DEPTH_SIZE) {
        SetLastError(kAGLBadAttribute);
        return GL_FALSE;
    }
    EGLint depth = 0;
    if (eglGetConfigAttrib(format->connection->display, format->config, EGL_DEPTH_SIZE, &depth) ==
        EGL_FALSE) {
        SetLastError(kAGLBadPixelFormat);
        return GL_FALSE;
    }
    *value = depth;
    return GL_TRUE;
}

void DestroyPixelFormat(AGLPixelFormat format) {
    delete Downcast<PixelFormat>(format);
}

}  // namespace GLPlatform::EGL

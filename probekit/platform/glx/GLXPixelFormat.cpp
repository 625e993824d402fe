// Pixel formats as GLX framebuffer configs.
#include <utility>
#include <vector>

#include "GLXRecords.h"

namespace GLPlatform::GLX {

namespace {

constexpr int kMinimumGLXMinor = 3;

struct Translation {
    std::vector<int> glx;
    bool accelerated = false;
    bool valid = true;
};

// AGL words to GLX config attributes. GLX sizes are minimums already, as the minimum policy
// asks.
Translation Translate(const GLint* words) {
    Translation out;
    int drawableBits = 0;
    for (const GLint* word = words; *word != AGL_NONE; ++word) {
        switch (*word) {
            case AGL_RGBA:
                out.glx.insert(out.glx.end(), {GLX_RENDER_TYPE, GLX_RGBA_BIT});
                break;
            case AGL_DOUBLEBUFFER:
                out.glx.insert(out.glx.end(), {GLX_DOUBLEBUFFER, True});
                break;
            case AGL_STEREO:
                out.glx.insert(out.glx.end(), {GLX_STEREO, True});
                break;
            case AGL_WINDOW:
                drawableBits |= GLX_WINDOW_BIT;
                break;
            case AGL_OFFSCREEN:
                drawableBits |= GLX_PIXMAP_BIT;
                break;
            case AGL_ACCELERATED:
                out.accelerated = true;
                break;
            case AGL_MINIMUM_POLICY:
            case AGL_MULTISAMPLE:
                break;
            case AGL_DEPTH_SIZE:
                out.glx.insert(out.glx.end(), {GLX_DEPTH_SIZE, *++word});
                break;
            case AGL_STENCIL_SIZE:
                out.glx.insert(out.glx.end(), {GLX_STENCIL_SIZE, *++word});
                break;
            case AGL_SAMPLE_BUFFERS_ARB:
                out.glx.insert(out.glx.end(), {GLX_SAMPLE_BUFFERS, *++word});
                break;
            case AGL_SAMPLES_ARB:
                out.glx.insert(out.glx.end(), {GLX_SAMPLES, *++word});
                break;
            default:
                out.valid = false;
                return out;
        }
    }
    out.glx.insert(out.glx.end(),
                   {GLX_DRAWABLE_TYPE, drawableBits != 0 ? drawableBits : GLX_WINDOW_BIT});
    if ((drawableBits & GLX_WINDOW_BIT) != 0) {
        out.glx.insert(out.glx.end(), {GLX_X_RENDERABLE, True});
    }
    out.glx.push_back(None);
    return out;
}

bool HasGLX13(Display* display) {
    int major = 0;
    int minor = 0;
    return glXQueryVersion(display, &major, &minor) != False &&
           (major > 1 || (major == 1 && minor >= kMinimumGLXMinor));
}

AGLPixelFormat Fail(GLenum code) {
    SetLastError(code);
    return nullptr;
}

}  // namespace

AGLPixelFormat ChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                 const GLint* attributes) {
    if (devices == nullptr || deviceCount < 1 || attributes == nullptr) {
        return Fail(kAGLBadAttribute);
    }
    const Translation request = Translate(attributes);
    if (!request.valid) {
        return Fail(kAGLBadAttribute);
    }
    ConnectionRef connection = AcquireConnection();
    if (connection == nullptr) {
        return Fail(kAGLBadConnection);
    }
    X11ErrorTrap trap(*connection);
    if (!HasGLX13(connection->display) ||
        (request.accelerated && !HasHardwareRenderer(*connection))) {
        return Fail(kAGLBadPixelFormat);
    }
    int count = 0;
    GLXFBConfig* configs =
        glXChooseFBConfig(connection->display, connection->screen, request.glx.data(), &count);
    const bool found = configs != nullptr && count > 0;
    const GLXFBConfig best = found ? configs[0] : nullptr;
    if (configs != nullptr) {
        XFree(configs);
    }
    if (!found || trap.failed()) {
        return Fail(kAGLBadPixelFormat);
    }
    return new PixelFormat(std::move(connection), best);
}

GLboolean DescribePixelFormat(AGLPixelFormat handle, GLint attribute, GLint* value) {
    const PixelFormat* format = Downcast<PixelFormat>(handle);
    if (format == nullptr || value == nullptr || attribute != AGL_DEPTH_SIZE) {
        SetLastError(kAGLBadAttribute);
        return GL_FALSE;
    }
    int depth = 0;
    if (glXGetFBConfigAttrib(format->connection->display, format->config, GLX_DEPTH_SIZE, &depth) !=
        Success) {
        SetLastError(kAGLBadPixelFormat);
        return GL_FALSE;
    }
    *value = depth;
    return GL_TRUE;
}

void DestroyPixelFormat(AGLPixelFormat format) {
    delete Downcast<PixelFormat>(format);
}

}  // namespace GLPlatform::GLX

// Pixel formats as GLX framebuffer configs.
#include "GLXNative.h"

namespace GLPlatform::GLX {

namespace {

constexpr int kMinimumGLXMinor = 3;

// GLX sizes are minimums already, as the minimum policy asks.
constexpr WordRule kRules[] = {
    {AGL_RGBA, WordRule::kPair, GLX_RENDER_TYPE, GLX_RGBA_BIT},
    {AGL_DOUBLEBUFFER, WordRule::kPair, GLX_DOUBLEBUFFER, True},
    {AGL_STEREO, WordRule::kPair, GLX_STEREO, True},
    {AGL_DEPTH_SIZE, WordRule::kSize, GLX_DEPTH_SIZE},
    {AGL_STENCIL_SIZE, WordRule::kSize, GLX_STENCIL_SIZE},
    {AGL_SAMPLE_BUFFERS_ARB, WordRule::kSize, GLX_SAMPLE_BUFFERS},
    {AGL_SAMPLES_ARB, WordRule::kSize, GLX_SAMPLES},
};

constexpr int kRenderable[] = {GLX_X_RENDERABLE, True};

bool HasGLX13(Display* display) {
    int major = 0;
    int minor = 0;
    return glXQueryVersion(display, &major, &minor) != False &&
           (major > 1 || (major == 1 && minor >= kMinimumGLXMinor));
}

NativeHandle Choose(Connection& on, const ConfigRequest& request) {
    X11Connection& connection = X11(on);
    X11ErrorTrap trap(connection);
    if (!HasGLX13(connection.display)) {
        return nullptr;
    }
    int count = 0;
    GLXFBConfig* configs =
        glXChooseFBConfig(connection.display, connection.screen, request.attributes.data(), &count);
    const GLXFBConfig best = configs != nullptr && count > 0 ? configs[0] : nullptr;
    if (configs != nullptr) {
        XFree(configs);
    }
    return trap.failed() ? nullptr : best;
}

bool Depth(Connection& connection, NativeHandle config, GLint* bits) {
    return glXGetFBConfigAttrib(X11(connection).display, ConfigOf(config), GLX_DEPTH_SIZE, bits) ==
           Success;
}

}  // namespace

// A window config must also have an X visual, for the hidden window.
const AttributeTable kAttributes = {kRules,         GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
                                    GLX_PIXMAP_BIT, kRenderable,       None};
const ConfigCalls kConfigCalls = {Choose, Depth};

}  // namespace GLPlatform::GLX

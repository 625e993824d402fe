// Pixel formats as EGL configs.
#include <vector>

#include "EGLNative.h"

namespace GLPlatform::EGL {

namespace {

// EGL sizes are minimums already, as the minimum policy asks. Window surfaces have a back buffer,
// and pbuffers draw into theirs; EGL has no stereo configs, so a request for stereo meets nothing,
// as on a GLX driver without stereo visuals.
constexpr WordRule kRules[] = {
    {AGL_RGBA, WordRule::kPair, EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER},
    {AGL_RGBA, WordRule::kPair, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT},
    {AGL_DOUBLEBUFFER, WordRule::kNothing},
    {AGL_STEREO, WordRule::kUnmet},
    {AGL_DEPTH_SIZE, WordRule::kSize, EGL_DEPTH_SIZE},
    {AGL_STENCIL_SIZE, WordRule::kSize, EGL_STENCIL_SIZE},
    {AGL_SAMPLE_BUFFERS_ARB, WordRule::kSize, EGL_SAMPLE_BUFFERS},
    {AGL_SAMPLES_ARB, WordRule::kSize, EGL_SAMPLES},
};

// EGL's first config for the request; with accelerated, the first that EGL does not mark slow.
NativeHandle Choose(Connection& connection, const ConfigRequest& request) {
    EGLDisplay display = Of(connection).display;
    EGLint count = 0;
    if (eglChooseConfig(display, request.attributes.data(), nullptr, 0, &count) == EGL_FALSE ||
        count <= 0) {
        return nullptr;
    }
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    if (eglChooseConfig(display, request.attributes.data(), configs.data(), count, &count) ==
        EGL_FALSE) {
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

bool Depth(Connection& connection, NativeHandle config, GLint* bits) {
    return eglGetConfigAttrib(Of(connection).display, config, EGL_DEPTH_SIZE, bits) != EGL_FALSE;
}

}  // namespace

const AttributeTable kWaylandAttributes = {
    kRules, EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_PBUFFER_BIT, {}, EGL_NONE};
const AttributeTable kDeviceAttributes = {
    kRules, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_PBUFFER_BIT, {}, EGL_NONE};
const ConfigCalls kConfigCalls = {Choose, Depth};

}  // namespace GLPlatform::EGL

// The renderer information of the display the probes use, through GLX on X11 and EGL otherwise.
#include "RendererInfo.h"

#include <memory>

#include "DisplayChoice.h"
#include "RendererRecord.h"

namespace {

bool QueryRenderers(RendererInfoRec& info) {
    switch (CurrentDisplaySystem()) {
        case DisplaySystem::X11:
        case DisplaySystem::X11UnderWayland:
            return QueryGLXRenderers(info);
        case DisplaySystem::Wayland:
            return QueryEGLRenderers(true, info);
        case DisplaySystem::NoDisplay:
            return QueryEGLRenderers(false, info);
        case DisplaySystem::Other:
            break;
    }
    return false;
}

}  // namespace

CGDirectDisplayID CGMainDisplayID() {
    return 1;
}

CGOpenGLDisplayMask CGDisplayIDToOpenGLDisplayMask(CGDirectDisplayID display) {
    return display == CGMainDisplayID() ? 1U : 0U;
}

CGLError CGLQueryRendererInfo(CGOpenGLDisplayMask mask, CGLRendererInfoObj* info, int32_t* count) {
    auto result = std::make_unique<RendererInfoRec>();
    if (mask != 1U || info == nullptr || count == nullptr || !QueryRenderers(*result)) {
        return kCGLBadDisplay;
    }
    *count = static_cast<int32_t>(result->renderers.size());
    *info = result.release();
    return kCGLNoError;
}

CGLError CGLDescribeRenderer(CGLRendererInfoObj info, int32_t renderer, int32_t property,
                             int64_t* value) {
    if (info == nullptr || value == nullptr || renderer < 0 ||
        static_cast<std::size_t>(renderer) >= info->renderers.size()) {
        return kCGLBadRendererInfo;
    }
    const auto& entry = info->renderers[static_cast<std::size_t>(renderer)];
    switch (property) {
        case kCGLRPVideoMemory:
            *value = entry.videoMemory;
            return kCGLNoError;
        case kCGLRPAccelerated:
            *value = entry.accelerated;
            return kCGLNoError;
        case kCGLRPWindow:
            *value = entry.window;
            return kCGLNoError;
        default:
            return kCGLBadProperty;
    }
}

CGLError CGLDestroyRendererInfo(CGLRendererInfoObj info) {
    delete info;
    return kCGLNoError;
}

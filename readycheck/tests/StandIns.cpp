#include "StandIns.h"

#include "ProbeKit/ProbeKit.h"
#include "RendererInfo.h"
#include "SystemVersion.h"
#include "Workspace.h"

struct VXStringArrayRec {
    std::vector<std::string> strings;
};

struct RendererInfoRec {
    std::vector<StandIn::Renderer> renderers;
};

namespace StandIn {

namespace {

uint32_t sMask = 0;
Identity sIdentity;
System sSystem;

}  // namespace

std::vector<std::string>& Events() {
    static std::vector<std::string> sEvents;
    return sEvents;
}

void Reset(uint32_t mask, Identity identity) {
    sMask = mask;
    sIdentity = std::move(identity);
    sSystem = System{};
    Events().clear();
}

System& CurrentSystem() {
    return sSystem;
}

}  // namespace StandIn

using StandIn::Events;

uint32_t VXGetDriverOpenGLFeatures(void) {
    Events().emplace_back("VXGetDriverOpenGLFeatures");
    return StandIn::sMask;
}

VXStringArray VXGetDriverOpenGLIdentity(void) {
    Events().emplace_back("VXGetDriverOpenGLIdentity");
    if (StandIn::sIdentity.null) {
        return nullptr;
    }
    auto* array = new VXStringArrayRec;
    for (const auto& item :
         {StandIn::sIdentity.vendor, StandIn::sIdentity.renderer, StandIn::sIdentity.version}) {
        if (item) {
            array->strings.push_back(*item);
        }
    }
    return array;
}

const char* VXStringArrayGet(VXStringArray array, int32_t index) {
    if (array == nullptr || index < 1 || static_cast<std::size_t>(index) > array->strings.size()) {
        return nullptr;
    }
    return array->strings[static_cast<std::size_t>(index) - 1].c_str();
}

void VXStringArrayDispose(VXStringArray array) {
    Events().emplace_back("VXStringArrayDispose");
    delete array;
}

int32_t GestaltSystemVersion() {
    return StandIn::sSystem.versionAnswer;
}
std::string OperatingSystemVersionString() {
    return StandIn::sSystem.versionString;
}

void OpenURL(const std::string& url) {
    StandIn::sSystem.openedURLs.push_back(url);
}

CGDirectDisplayID CGMainDisplayID() {
    return 7;
}
CGOpenGLDisplayMask CGDisplayIDToOpenGLDisplayMask(CGDirectDisplayID display) {
    return display == 7 ? 0x80U : 0U;
}

CGLError CGLQueryRendererInfo(CGOpenGLDisplayMask mask, CGLRendererInfoObj* info, int32_t* count) {
    if (StandIn::sSystem.rendererQueryFails || mask != 0x80U) {
        return kCGLBadDisplay;
    }
    *info = new RendererInfoRec{StandIn::sSystem.renderers};
    *count = static_cast<int32_t>(StandIn::sSystem.renderers.size());
    ++StandIn::sSystem.rendererInfoAlive;
    return kCGLNoError;
}

CGLError CGLDescribeRenderer(CGLRendererInfoObj info, int32_t renderer, int32_t property,
                             int64_t* value) {
    const StandIn::Renderer& entry = info->renderers.at(static_cast<std::size_t>(renderer));
    if (entry.fails) {
        return kCGLBadProperty;
    }
    *value = property == kCGLRPVideoMemory   ? entry.videoMemory
             : property == kCGLRPAccelerated ? entry.accelerated
                                             : entry.window;
    return kCGLNoError;
}

CGLError CGLDestroyRendererInfo(CGLRendererInfoObj info) {
    --StandIn::sSystem.rendererInfoAlive;
    delete info;
    return kCGLNoError;
}

#include "StandInSystem.h"

#include "EvidenceSources.h"
#include "ProbeKit/ProbeKit.h"
#include "Processes.h"
#include "RecordedEvidenceSources.h"
#include "RendererInfo.h"
#include "SystemVersion.h"
#include "Workspace.h"

struct VXStringArrayRec : std::vector<std::string> {};
struct RendererInfoRec : std::vector<StandIn::Renderer> {};

namespace {
StandIn::System sSystem;
}  // namespace

StandIn::System& StandIn::Reset() {
    sSystem = System{};
    return sSystem;
}

StandIn::System& StandIn::Current() {
    return sSystem;
}

uint32_t VXGetDriverOpenGLFeatures(void) {
    sSystem.events.emplace_back(HasChild() ? "VXGetDriverOpenGLFeatures, a child started"
                                           : "VXGetDriverOpenGLFeatures");
    return sSystem.mask;
}

VXStringArray VXGetDriverOpenGLIdentity(void) {
    sSystem.events.emplace_back("VXGetDriverOpenGLIdentity");
    return sSystem.identity ? new VXStringArrayRec{*sSystem.identity} : nullptr;
}

const char* VXStringArrayGet(VXStringArray array, int32_t index) {
    const auto at = static_cast<std::size_t>(index) - 1;  // below 1 wraps past the end
    return array != nullptr && at < array->size() ? (*array)[at].c_str() : nullptr;
}

void VXStringArrayDispose(VXStringArray array) {
    sSystem.events.emplace_back("VXStringArrayDispose");
    delete array;
}

int32_t GestaltSystemVersion() {
    return sSystem.versionAnswer;
}
std::string OperatingSystemVersionString() {
    return sSystem.versionString;
}

bool OpenURL(const std::string& url) {
    sSystem.openedURLs.push_back(url);
    return !sSystem.noBrowser;
}

CGDirectDisplayID CGMainDisplayID() {
    return 7;
}
CGOpenGLDisplayMask CGDisplayIDToOpenGLDisplayMask(CGDirectDisplayID display) {
    return display == 7 ? 0x80U : 0U;
}

CGLError CGLQueryRendererInfo(CGOpenGLDisplayMask mask, CGLRendererInfoObj* info, int32_t* count) {
    if (sSystem.rendererQueryFails || mask != 0x80U) {
        return kCGLBadDisplay;
    }
    *info = new RendererInfoRec{{sSystem.renderers}};
    *count = static_cast<int32_t>(sSystem.renderers.size());
    ++sSystem.rendererInfoAlive;
    return kCGLNoError;
}

CGLError CGLDescribeRenderer(CGLRendererInfoObj info, int32_t renderer, int32_t property,
                             int64_t* value) {
    const StandIn::Renderer& entry = info->at(static_cast<std::size_t>(renderer));
    if (entry.fails) {
        return kCGLBadProperty;
    }
    *value = property == kCGLRPVideoMemory   ? entry.videoMemory
             : property == kCGLRPAccelerated ? entry.accelerated
                                             : entry.window;
    return kCGLNoError;
}

CGLError CGLDestroyRendererInfo(CGLRendererInfoObj info) {
    --sSystem.rendererInfoAlive;
    delete info;
    return kCGLNoError;
}

EvidenceSources LiveEvidenceSources(bool /*drewOnX*/) {
    return RecordedEvidenceSources(RECORDED_MACHINES "/" + sSystem.evidenceMachine);
}

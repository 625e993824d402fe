#include "Assessment.h"

#include "ProbeKit/ProbeKit.h"

namespace {

constexpr int32_t kFullSupport = 0x1F;
constexpr int32_t kShadowBits = kFeatureTwoSidedStencil | kFeatureOffscreenStencil;
constexpr int32_t kLowFourBits = 0x0F;

bool IsFull(int32_t mask) {
    return (mask & kFullSupport) == kFullSupport;
}

// Basic and Advanced alike.
EditionSupport BasicSupport(int32_t mask) {
    return IsFull(mask) ? EditionSupport::Full : EditionSupport::Limited;
}

EditionSupport DuoSupport(int32_t mask) {
    if (IsFull(mask)) {
        return EditionSupport::Full;
    }
    return Verdicts::lightingPasses(mask) ? EditionSupport::Limited
                                          : EditionSupport::SignificantLimitations;
}

}  // namespace

namespace Verdicts {

bool offscreenPasses(int32_t mask) {
    return (mask & kFeatureOffscreen) != 0;
}
bool shadowsPass(int32_t mask) {
    return (mask & kShadowBits) == kShadowBits;
}
bool lightingPasses(int32_t mask) {
    return (mask & kFeatureShaders) != 0;
}
bool antiAliasingPasses(int32_t mask) {
    return (mask & kFeatureMultisample) != 0;
}

std::string summaryKey(int32_t mask) {
    const int32_t low = mask & kLowFourBits;
    if (low == kLowFourBits) {
        return antiAliasingPasses(mask) ? "ResultGood" : "ResultNoAA";
    }
    return low == 0 ? "ResultBad" : "ResultPoor";
}

}  // namespace Verdicts

Assessment Assess(int32_t featuresMask) {
    return {Verdicts::offscreenPasses(featuresMask),
            Verdicts::shadowsPass(featuresMask),
            Verdicts::lightingPasses(featuresMask),
            Verdicts::antiAliasingPasses(featuresMask),
            BasicSupport(featuresMask),
            BasicSupport(featuresMask),
            DuoSupport(featuresMask)};
}

const char* VerdictImage(EditionSupport support) {
    switch (support) {
        case EditionSupport::Full:
            return "GreenCircle";
        case EditionSupport::Limited:
            return "HalfGreenCircle";
        case EditionSupport::SignificantLimitations:
            break;
    }
    return "SignificantLimitations";
}

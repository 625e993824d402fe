#include "Verdicts.h"

#include "Facts.h"
#include "ProbeKit/ProbeKit.h"

namespace Verdicts {

namespace {

constexpr int32_t kFullSupport = 0x1F;
constexpr int32_t kShadowBits = kFeatureTwoSidedStencil | kFeatureOffscreenStencil;
constexpr int32_t kLowFourBits = 0x0F;

bool isFull(int32_t mask) {
    return (mask & kFullSupport) == kFullSupport;
}

}  // namespace

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

std::string basicImage(int32_t mask) {
    return isFull(mask) ? "GreenCircle" : "HalfGreenCircle";
}

std::string duoImage(int32_t mask) {
    if (isFull(mask)) {
        return "GreenCircle";
    }
    return lightingPasses(mask) ? "HalfGreenCircle" : kSignificantLimitations;
}

std::string summaryKey(int32_t mask) {
    const int32_t low = mask & kLowFourBits;
    if (low == kLowFourBits) {
        return antiAliasingPasses(mask) ? "ResultGood" : "ResultNoAA";
    }
    return low == 0 ? "ResultBad" : "ResultPoor";
}

}  // namespace Verdicts

namespace {

EditionSupport SupportShownBy(const std::string& image) {
    if (image == "GreenCircle") {
        return EditionSupport::Full;
    }
    return image == Verdicts::kSignificantLimitations ? EditionSupport::SignificantLimitations
                                                      : EditionSupport::Limited;
}

}  // namespace

Assessment Assess(int32_t featuresMask) {
    return {Verdicts::offscreenPasses(featuresMask),
            Verdicts::shadowsPass(featuresMask),
            Verdicts::lightingPasses(featuresMask),
            Verdicts::antiAliasingPasses(featuresMask),
            SupportShownBy(Verdicts::basicImage(featuresMask)),
            SupportShownBy(Verdicts::basicImage(featuresMask)),
            SupportShownBy(Verdicts::duoImage(featuresMask))};
}

// What the checks, edition verdicts and summary decide on the feature mask.
#pragma once

#include <cstdint>
#include <string>

// Each check on the mask's bits.
namespace Verdicts {

bool offscreenPasses(int32_t mask);
bool shadowsPass(int32_t mask);
bool lightingPasses(int32_t mask);
bool antiAliasingPasses(int32_t mask);

// The summary's message key; its detail key adds "_detail".
std::string summaryKey(int32_t mask);

}  // namespace Verdicts

enum class EditionSupport { Full, Limited, SignificantLimitations };

// The four checks and three editions, decided on the feature mask.
struct Assessment {
    bool offscreen = false;
    bool shadows = false;
    bool lighting = false;
    bool antiAliasing = false;
    EditionSupport basic = EditionSupport::Limited;
    EditionSupport advanced = EditionSupport::Limited;
    EditionSupport duo = EditionSupport::SignificantLimitations;
    bool operator==(const Assessment&) const = default;
};

Assessment Assess(int32_t featuresMask);

// The image that shows an edition's support: "GreenCircle", "HalfGreenCircle" or
// "SignificantLimitations".
const char* VerdictImage(EditionSupport support);

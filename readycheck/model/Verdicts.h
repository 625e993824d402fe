// What the checks, edition verdicts and summary decide on the feature mask.
#pragma once

#include <cstdint>
#include <string>

namespace Verdicts {

bool offscreenPasses(int32_t mask);
bool shadowsPass(int32_t mask);
bool lightingPasses(int32_t mask);
bool antiAliasingPasses(int32_t mask);

// The image names of the Basic (and Advanced) verdict and of the Duo verdict.
std::string basicImage(int32_t mask);
std::string duoImage(int32_t mask);
constexpr const char* kSignificantLimitations = "SignificantLimitations";

// The summary's message key; its detail key adds "_detail".
std::string summaryKey(int32_t mask);

}  // namespace Verdicts

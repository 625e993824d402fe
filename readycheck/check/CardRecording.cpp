#include "CardRecording.h"

void RecordDriver(CardFacts& facts, int32_t featuresMask, const DriverIdentity& identity) {
    facts.featuresMask = featuresMask;
    facts.assessment = Assess(featuresMask);
    facts.vendor = identity.vendor;
    facts.renderer = identity.renderer;
    facts.driverVersion = identity.version;
}

void RecordVideoMemory(CardFacts& facts, int64_t bytes,
                       std::optional<bool> mainRendererAccelerated) {
    facts.videoMemoryBytes = bytes;
    facts.rendering = DecideRendering(mainRendererAccelerated, facts.renderer);
    facts.renderingSource = mainRendererAccelerated ? RenderingSource::RendererInformation
                            : facts.renderer        ? RenderingSource::RendererName
                                                    : RenderingSource::None;
}

// Tells a renderer that runs on the CPU by the name it gives as GL_RENDERER.
#pragma once

namespace GLPlatform {

// True when renderer names one of the known software rasterisers; null is not one.
bool IsKnownSoftwareRenderer(const char* renderer);

}  // namespace GLPlatform

// Tells a renderer that runs on the CPU by the name it gives as GL_RENDERER, or by the name of
// its driver (EGL_MESA_query_driver: "swrast", "kms_swrast").
#pragma once

namespace Graphics {

// True when renderer names one of the known software rasterisers; null is not one.
bool IsKnownSoftwareRenderer(const char* renderer);

}  // namespace Graphics

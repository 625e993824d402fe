#include "Rendering.h"

#include "SoftwareRenderer.h"

Rendering DecideRendering(std::optional<bool> accelerated,
                          const std::optional<std::string>& renderer) {
    if (accelerated) {
        return *accelerated ? Rendering::Hardware : Rendering::Software;
    }
    if (!renderer) {
        return Rendering::Unknown;
    }
    return Graphics::IsKnownSoftwareRenderer(renderer->c_str()) ? Rendering::Software
                                                                : Rendering::Hardware;
}

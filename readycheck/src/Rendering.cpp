#include "Rendering.h"

#include <algorithm>
#include <cctype>

namespace {

// Mesa's Gallium and classic software drivers, and the software fallbacks of other stacks.
constexpr const char* kSoftwareRenderers[] = {
    "llvmpipe",          "softpipe",    "swrast",      "software rasterizer",
    "software renderer", "swiftshader", "gdi generic", "microsoft basic render",
};

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

bool NamesSoftwareRenderer(const std::string& renderer) {
    const std::string name = Lowercase(renderer);
    return std::any_of(std::begin(kSoftwareRenderers), std::end(kSoftwareRenderers),
                       [&](const char* software) { return name.find(software) != name.npos; });
}

Rendering DecideRendering(std::optional<bool> accelerated,
                          const std::optional<std::string>& renderer) {
    if (accelerated) {
        return *accelerated ? Rendering::Hardware : Rendering::Software;
    }
    if (!renderer) {
        return Rendering::Unknown;
    }
    return NamesSoftwareRenderer(*renderer) ? Rendering::Software : Rendering::Hardware;
}

#include "SoftwareRenderer.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace Graphics {

namespace {

// Lower case. Mesa's gallium and classic software drivers, its X11 driver, Google's
// SwiftShader, and the generic renderers that remote and virtual desktops fall back on.
constexpr const char* kSoftwareNames[] = {
    "llvmpipe",    "softpipe", "swrast",      "software rasterizer",   "software renderer",
    "swiftshader", "mesa x11", "gdi generic", "microsoft basic render"};

}  // namespace

bool IsKnownSoftwareRenderer(const char* renderer) {
    if (renderer == nullptr) {
        return false;
    }
    std::string name(renderer);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // Intel's OpenSWR names itself "SWR (LLVM ...)".
    if (name.rfind("swr ", 0) == 0) {
        return true;
    }
    return std::any_of(
        std::begin(kSoftwareNames), std::end(kSoftwareNames),
        [&name](const char* software) { return name.find(software) != std::string::npos; });
}

}  // namespace Graphics

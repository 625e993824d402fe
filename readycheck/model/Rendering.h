// Whether the graphics hardware or the processor draws the pictures.
#pragma once

#include <optional>
#include <string>

enum class Rendering { Hardware, Software, Unknown };

// The accelerated flag of the main display's renderer decides where the renderer information
// has one; otherwise the renderer's name, matched against the software renderers that ProbeKit
// knows too ("llvmpipe (LLVM 15.0.6, 256 bits)", "Software Rasterizer"). Unknown when neither
// exists.
Rendering DecideRendering(std::optional<bool> accelerated,
                          const std::optional<std::string>& renderer);

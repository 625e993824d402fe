// What the renderer information says of one renderer of a display.
#pragma once

#include <cstdint>

namespace Graphics {

struct GLRenderer {
    int64_t videoMemory = 0;  // bytes; 0 where unknown
    bool accelerated = false;
};

}  // namespace Graphics

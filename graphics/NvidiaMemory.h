// GL_NVX_gpu_memory_info: NVIDIA's driver, which has neither GLX_MESA_query_renderer nor a kernel
// driver that tells the size of its memory, tells it in a context.
#pragma once

#include <cstdint>
#include <optional>

namespace Graphics {

// The dedicated memory that the current context's driver reports, in bytes; none where the context
// lists no such extension.
std::optional<int64_t> NvidiaDedicatedMemory();

}  // namespace Graphics

#include "NvidiaMemory.h"

#include <GL/gl.h>

#include "ExtensionNames.h"

namespace Graphics {

namespace {

constexpr int64_t kBytesPerKilobyte = 1024;
constexpr GLenum kDedicatedVideoMemoryNVX = 0x9047;  // in KB

}  // namespace

std::optional<int64_t> NvidiaDedicatedMemory() {
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!ListsExtension(extensions, "GL_NVX_gpu_memory_info")) {
        return std::nullopt;
    }
    GLint kilobytes = 0;
    glGetIntegerv(kDedicatedVideoMemoryNVX, &kilobytes);
    return static_cast<int64_t>(kilobytes) * kBytesPerKilobyte;
}

}  // namespace Graphics

#include "GetVRAM.h"

#include "RendererInfo.h"

namespace {

constexpr int64_t kBytesPerMegabyte = 1048576;

}  // namespace

int64_t GetVRAM() {
    int64_t size = 0;
    const CGOpenGLDisplayMask mask = CGDisplayIDToOpenGLDisplayMask(CGMainDisplayID());
    CGLRendererInfoObj info = nullptr;
    int32_t count = 0;
    if (CGLQueryRendererInfo(mask, &info, &count) != kCGLNoError) {
        return 0;
    }
    for (int32_t i = 0; i < count; ++i) {
        int64_t accelerated = 0;
        int64_t window = 0;
        const CGLError memoryError = CGLDescribeRenderer(info, i, kCGLRPVideoMemory, &size);
        const CGLError acceleratedError =
            CGLDescribeRenderer(info, i, kCGLRPAccelerated, &accelerated);
        const CGLError windowError = CGLDescribeRenderer(info, i, kCGLRPWindow, &window);
        if (memoryError == kCGLNoError && acceleratedError == kCGLNoError &&
            windowError == kCGLNoError && accelerated != 0 && window != 0) {
            break;
        }
        size = 0;
    }
    CGLDestroyRendererInfo(info);
    return size;
}

std::string VideoMemoryText(int64_t bytes) {
    return std::to_string(bytes / kBytesPerMegabyte) + " MB";
}

#include "GetVRAM.h"

#include "RendererInfo.h"

namespace {

void NoteMainRenderer(int32_t index, CGLError error, int64_t accelerated,
                      std::optional<bool>* mainRendererAccelerated) {
    if (index == 0 && error == kCGLNoError && mainRendererAccelerated != nullptr) {
        *mainRendererAccelerated = accelerated != 0;
    }
}

}  // namespace

int64_t GetVRAM(std::optional<bool>* mainRendererAccelerated) {
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
        NoteMainRenderer(i, acceleratedError, accelerated, mainRendererAccelerated);
        if (memoryError == kCGLNoError && acceleratedError == kCGLNoError &&
            windowError == kCGLNoError && accelerated != 0 && window != 0) {
            break;
        }
        size = 0;
    }
    CGLDestroyRendererInfo(info);
    return size;
}

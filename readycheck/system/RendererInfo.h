// The renderers that can drive the main display and their properties.
#pragma once

#include <cstdint>

using CGDirectDisplayID = uint32_t;
using CGOpenGLDisplayMask = uint32_t;
using CGLError = int32_t;
struct RendererInfoRec;
using CGLRendererInfoObj = RendererInfoRec*;

constexpr int32_t kCGLRPAccelerated = 73;
constexpr int32_t kCGLRPWindow = 80;
constexpr int32_t kCGLRPVideoMemory = 120;
constexpr CGLError kCGLNoError = 0;
constexpr CGLError kCGLBadDisplay = 10005;
constexpr CGLError kCGLBadProperty = 10001;
constexpr CGLError kCGLBadRendererInfo = 10003;

CGDirectDisplayID CGMainDisplayID();
CGOpenGLDisplayMask CGDisplayIDToOpenGLDisplayMask(CGDirectDisplayID display);
// On success the caller releases the information with CGLDestroyRendererInfo.
CGLError CGLQueryRendererInfo(CGOpenGLDisplayMask mask, CGLRendererInfoObj* info, int32_t* count);
// Values are 64-bit: video memory is in bytes.
CGLError CGLDescribeRenderer(CGLRendererInfoObj info, int32_t renderer, int32_t property,
                             int64_t* value);
CGLError CGLDestroyRendererInfo(CGLRendererInfoObj info);

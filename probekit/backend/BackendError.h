// The failure codes of the platform operations, AGL's where AGL has one, reported by aglGetError.
#pragma once

#include "GLPlatform.h"

namespace GLPlatform {

constexpr GLenum kAGLBadAttribute = 10000;
constexpr GLenum kAGLBadPixelFormat = 10002;
constexpr GLenum kAGLBadContext = 10004;
constexpr GLenum kAGLBadDrawable = 10005;
constexpr GLenum kAGLBadConnection = 10017;

// CreateNewWindow's statuses.
constexpr OSStatus kParamError = -50;
constexpr OSStatus kNoDisplayError = -1;

void SetLastError(GLenum code);

}  // namespace GLPlatform

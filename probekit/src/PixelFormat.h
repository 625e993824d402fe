// Chooses the most capable pixel format the main display's driver offers for a requirement mask.
#pragma once

#include "GLPlatform.h"

constexpr unsigned int kPixelFormatWindow = 0x01;
constexpr unsigned int kPixelFormatAccelerated = 0x02;
constexpr unsigned int kPixelFormatStencil = 0x04;
constexpr unsigned int kPixelFormatMultisample = 0x08;
constexpr unsigned int kPixelFormatStereo = 0x10;

// Returns a format the caller releases with aglDestroyPixelFormat, or null when not even the
// base request can be met. Optional requests the driver cannot meet are left out.
GLPlatform::AGLPixelFormat VXChoosePixelFormat(unsigned int mask);

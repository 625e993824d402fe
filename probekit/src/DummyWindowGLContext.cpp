#include "DummyWindowGLContext.h"

using namespace GLPlatform;

namespace {

constexpr Rect kHiddenWindowBounds{40, 40, 100, 100};

AGLPixelFormat ChoosePlainFormat(bool allowGeneric) {
    GDHandle device = GetMainDevice();
    const GLint accelerated[] = {AGL_RGBA, AGL_ACCELERATED, AGL_NONE};
    const GLint generic[] = {AGL_RGBA, AGL_NONE};
    return aglChoosePixelFormat(&device, 1, allowGeneric ? generic : accelerated);
}

}  // namespace

XDummyWindowGLContext::XDummyWindowGLContext(AGLPixelFormat format, bool allowGeneric) {
    const OSStatus status =
        CreateNewWindow(kPlainWindowClass, kWindowNoAttributes, &kHiddenWindowBounds, &mWindow);
    if (status != 0) {
        throw static_cast<long>(status);
    }
    AGLPixelFormat ownFormat = nullptr;
    if (format == nullptr) {
        ownFormat = ChoosePlainFormat(allowGeneric);
        if (ownFormat == nullptr) {
            DisposeWindow(mWindow);
            throw 1L;
        }
    }
    mContext = aglCreateContext(format != nullptr ? format : ownFormat, nullptr);
    if (ownFormat != nullptr) {
        aglDestroyPixelFormat(ownFormat);
    }
    if (mContext == nullptr) {
        DisposeWindow(mWindow);
        throw static_cast<long>(aglGetError());
    }
    aglSetDrawable(mContext, GetWindowPort(mWindow));
    aglSetCurrentContext(mContext);
}

XDummyWindowGLContext::~XDummyWindowGLContext() {
    aglSetCurrentContext(nullptr);
    aglSetDrawable(mContext, nullptr);
    aglDestroyContext(mContext);
    DisposeWindow(mWindow);
}

StDummyWindowGLContext MakeProbingContext(AGLPixelFormat chosen) {
    struct ReleaseOnExit {
        AGLPixelFormat format;
        ~ReleaseOnExit() {
            if (format != nullptr) {
                aglDestroyPixelFormat(format);
            }
        }
    } release{chosen};
    return StDummyWindowGLContext(chosen, false);
}

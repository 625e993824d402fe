#include "DummyWindowGLContext.h"

using namespace GLPlatform;

namespace {

constexpr Rect kHiddenWindowBounds{40, 40, 100, 100};

struct FormatReleaser {
    void operator()(AGLPixelFormat format) const { aglDestroyPixelFormat(format); }
};
using FormatOwner = std::unique_ptr<PixelFormatRec, FormatReleaser>;

AGLPixelFormat ChoosePlainFormat(bool allowGeneric) {
    GDHandle device = GetMainDevice();
    const GLint accelerated[] = {AGL_RGBA, AGL_ACCELERATED, AGL_NONE};
    const GLint generic[] = {AGL_RGBA, AGL_NONE};
    return aglChoosePixelFormat(&device, 1, allowGeneric ? generic : accelerated);
}

}  // namespace

void XDummyWindowGLContext::WindowDisposer::operator()(WindowRef window) const {
    DisposeWindow(window);
}

void XDummyWindowGLContext::ContextReleaser::operator()(AGLContext context) const {
    aglSetCurrentContext(nullptr);
    aglSetDrawable(context, nullptr);
    aglDestroyContext(context);
}

XDummyWindowGLContext::XDummyWindowGLContext(AGLPixelFormat format, bool allowGeneric) {
    WindowRef window = nullptr;
    const OSStatus status =
        CreateNewWindow(kPlainWindowClass, kWindowNoAttributes, &kHiddenWindowBounds, &window);
    if (status != 0) {
        throw static_cast<long>(status);
    }
    mWindow.reset(window);
    FormatOwner ownFormat;
    if (format == nullptr) {
        ownFormat.reset(ChoosePlainFormat(allowGeneric));
        if (ownFormat == nullptr) {
            mWindow.reset();
            throw 1L;
        }
    }
    AGLContext context = aglCreateContext(format != nullptr ? format : ownFormat.get(), nullptr);
    ownFormat.reset();
    if (context == nullptr) {
        mWindow.reset();
        throw static_cast<long>(aglGetError());
    }
    mContext.reset(context);
    // A context that cannot draw to the window, or cannot be made current, fails like one that
    // cannot be created: no query may reach another context, or none at all.
    if (aglSetDrawable(context, GetWindowPort(window)) == GL_FALSE ||
        aglSetCurrentContext(context) == GL_FALSE) {
        throw static_cast<long>(aglGetError());
    }
}

StDummyWindowGLContext MakeProbingContext(AGLPixelFormat chosen) {
    const FormatOwner release(chosen);
    return StDummyWindowGLContext(chosen, false);
}

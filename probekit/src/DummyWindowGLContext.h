// A current OpenGL context on a hidden 60 by 60 window, for the length of one probe.
#pragma once

#include <memory>

#include "GLPlatform.h"

// Either finishes with its own context current on the hidden window, or throws a long and
// leaves nothing behind. Releases only a format it chose itself.
class XDummyWindowGLContext {
public:
    XDummyWindowGLContext(GLPlatform::AGLPixelFormat format, bool allowGeneric);

private:
    struct WindowDisposer {
        void operator()(GLPlatform::WindowRef window) const;
    };
    // Makes no context current, detaches the drawable, then destroys the context.
    struct ContextReleaser {
        void operator()(GLPlatform::AGLContext context) const;
    };

    // Destroyed in reverse: the context goes before the window.
    std::unique_ptr<GLPlatform::WindowRec, WindowDisposer> mWindow;
    std::unique_ptr<GLPlatform::ContextRec, ContextReleaser> mContext;
};

// Owns one XDummyWindowGLContext; lets its constructor's exception through.
class StDummyWindowGLContext {
public:
    StDummyWindowGLContext(GLPlatform::AGLPixelFormat format, bool allowGeneric)
        : mContext(std::make_unique<XDummyWindowGLContext>(format, allowGeneric)) {}

private:
    std::unique_ptr<XDummyWindowGLContext> mContext;
};

// Builds the probing context on a chosen format (null allowed) without allowing a generic
// renderer, and releases that format as soon as construction has finished or failed.
StDummyWindowGLContext MakeProbingContext(GLPlatform::AGLPixelFormat chosen);

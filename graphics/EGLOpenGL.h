// Desktop OpenGL through EGL for the calls of one scope, on a thread whose host may use OpenGL ES
// through EGL too.
#pragma once

#include <EGL/egl.h>

namespace Graphics {

// Binds desktop OpenGL, then gives the thread back the API it had.
class BoundOpenGLAPI {
public:
    BoundOpenGLAPI() : mPrevious(eglQueryAPI()) { eglBindAPI(EGL_OPENGL_API); }
    ~BoundOpenGLAPI() {
        if (mPrevious != EGL_OPENGL_API) {
            eglBindAPI(mPrevious);
        }
    }
    BoundOpenGLAPI(const BoundOpenGLAPI&) = delete;
    BoundOpenGLAPI& operator=(const BoundOpenGLAPI&) = delete;

private:
    EGLenum mPrevious;
};

}  // namespace Graphics

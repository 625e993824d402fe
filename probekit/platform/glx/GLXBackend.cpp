// The GLX backend's table. GL calls are guarded: with indirect rendering each one goes to the
// server, which may have gone away.
#include "Backend.h"
#include "GLXRecords.h"

namespace GLPlatform::GLX {

namespace {

const GLubyte* GetString(GLenum name) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    return ::glGetString(name);
}

void GetIntegerv(GLenum name, GLint* value) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    ::glGetIntegerv(name, value);
}

void GetBooleanv(GLenum name, GLboolean* value) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    ::glGetBooleanv(name, value);
}

void Enable(GLenum capability) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    ::glEnable(capability);
}

}  // namespace

}  // namespace GLPlatform::GLX

namespace GLPlatform {

bool ConnectGLX(Backend& backend) {
    if (GLX::AcquireConnection() == nullptr) {
        return false;
    }
    backend = {.choosePixelFormat = GLX::ChoosePixelFormat,
               .describePixelFormat = GLX::DescribePixelFormat,
               .destroyPixelFormat = GLX::DestroyPixelFormat,
               .createContext = GLX::CreateContext,
               .setDrawable = GLX::SetDrawable,
               .setCurrentContext = GLX::SetCurrentContext,
               .destroyContext = GLX::DestroyContext,
               .createNewWindow = GLX::CreateHiddenWindow,
               .disposeWindow = GLX::DisposeHiddenWindow,
               .getString = GLX::GetString,
               .getIntegerv = GLX::GetIntegerv,
               .getBooleanv = GLX::GetBooleanv,
               .enable = GLX::Enable};
    return true;
}

}  // namespace GLPlatform

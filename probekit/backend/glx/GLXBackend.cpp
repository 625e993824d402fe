// The GLX backend's connect function, its connection's calls and its GL calls. GL calls are
// guarded: with indirect rendering each one goes to the server, which may have gone away.
#include "BackendConnect.h"
#include "GLXNative.h"
#include "GLXRenderers.h"

namespace GLPlatform::GLX {

namespace {

bool RendersInHardware(Connection& on) {
    X11Connection& connection = X11(on);
    const X11IOGuard guard(connection.display);
    return Graphics::GLXRendersInHardware(connection.display, connection.screen,
                                          &connection.serverGone);
}

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

const ConnectionCalls kConnectionCalls = {AcquireConnection, RendersInHardware};
const GLCalls kGLCalls = {GetString, GetIntegerv, GetBooleanv, Enable};

}  // namespace

}  // namespace GLPlatform::GLX

namespace GLPlatform {

NativeCalls ConnectGLX(Display* server) {
    GLX::KeepConnection(server);
    return {&GLX::kAttributes,   &GLX::kConnectionCalls, &GLX::kConfigCalls,
            &GLX::kContextCalls, &GLX::kWindowCalls,     &GLX::kGLCalls};
}

}  // namespace GLPlatform

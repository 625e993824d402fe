// OpenGL queries and symbol lookup, forwarded to the real libGL and dynamic loader. GL calls are
// guarded: with indirect rendering each one goes to the server, which may have gone away.
#include <dlfcn.h>

#include <GL/glx.h>

#include "X11Connection.h"

namespace GLPlatform {

const GLubyte* glGetString(GLenum name) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    return ::glGetString(name);
}

void glGetIntegerv(GLenum name, GLint* value) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    ::glGetIntegerv(name, value);
}

void glGetBooleanv(GLenum name, GLboolean* value) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    ::glGetBooleanv(name, value);
}

void glEnable(GLenum capability) {
    const X11IOGuard guard(glXGetCurrentDisplay());
    ::glEnable(capability);
}

void* dlsym(const char* name) {
    return ::dlsym(RTLD_DEFAULT, name);
}

}  // namespace GLPlatform

// OpenGL queries and symbol lookup, forwarded to the real libGL and dynamic loader.
#include <dlfcn.h>

#include "GLPlatform.h"

namespace GLPlatform {

const GLubyte* glGetString(GLenum name) {
    return ::glGetString(name);
}

void glGetIntegerv(GLenum name, GLint* value) {
    ::glGetIntegerv(name, value);
}

void glGetBooleanv(GLenum name, GLboolean* value) {
    ::glGetBooleanv(name, value);
}

void glEnable(GLenum capability) {
    ::glEnable(capability);
}

void* dlsym(const char* name) {
    return ::dlsym(RTLD_DEFAULT, name);
}

}  // namespace GLPlatform

// The operations that do not depend on the backend, and the GL queries forwarded to it.
#include <dlfcn.h>

#include "BackendError.h"
#include "NativeCalls.h"

namespace GLPlatform {

namespace {

GLenum sLastError = 0;

}  // namespace

void SetLastError(GLenum code) {
    sLastError = code;
}

GLenum aglGetError() {
    const GLenum code = sLastError;
    sLastError = 0;
    return code;
}

GDHandle GetMainDevice() {
    static DeviceRec sMainDevice;
    return &sMainDevice;
}

const GLubyte* glGetString(GLenum name) {
    return Native().gl->getString(name);
}

void glGetIntegerv(GLenum name, GLint* value) {
    Native().gl->getIntegerv(name, value);
}

void glGetBooleanv(GLenum name, GLboolean* value) {
    Native().gl->getBooleanv(name, value);
}

void glEnable(GLenum capability) {
    Native().gl->enable(capability);
}

void* dlsym(const char* name) {
    return ::dlsym(RTLD_DEFAULT, name);
}

}  // namespace GLPlatform

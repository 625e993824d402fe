// The platform operations of GLPlatform.h, forwarded to the backend chosen for the process. What
// does not depend on the backend is answered here.
#include <dlfcn.h>

#include "Backend.h"
#include "PlatformError.h"
#include "PlatformRecords.h"

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

AGLPixelFormat aglChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                    const GLint* attributes) {
    return SelectedBackend().choosePixelFormat(devices, deviceCount, attributes);
}

GLboolean aglDescribePixelFormat(AGLPixelFormat format, GLint attribute, GLint* value) {
    return SelectedBackend().describePixelFormat(format, attribute, value);
}

void aglDestroyPixelFormat(AGLPixelFormat format) {
    if (format != nullptr) {
        SelectedBackend().destroyPixelFormat(format);
    }
}

AGLContext aglCreateContext(AGLPixelFormat format, AGLContext share) {
    return SelectedBackend().createContext(format, share);
}

GLboolean aglSetDrawable(AGLContext context, CGrafPtr port) {
    return SelectedBackend().setDrawable(context, port);
}

GLboolean aglSetCurrentContext(AGLContext context) {
    return SelectedBackend().setCurrentContext(context);
}

GLboolean aglDestroyContext(AGLContext context) {
    return SelectedBackend().destroyContext(context);
}

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* bounds,
                         WindowRef* window) {
    if (bounds == nullptr || window == nullptr || bounds->bottom <= bounds->top ||
        bounds->right <= bounds->left) {
        return kParamError;
    }
    return SelectedBackend().createNewWindow(windowClass, attributes, bounds, window);
}

CGrafPtr GetWindowPort(WindowRef window) {
    return window != nullptr ? &window->port : nullptr;
}

void DisposeWindow(WindowRef window) {
    if (window != nullptr) {
        SelectedBackend().disposeWindow(window);
    }
}

const GLubyte* glGetString(GLenum name) {
    return SelectedBackend().getString(name);
}

void glGetIntegerv(GLenum name, GLint* value) {
    SelectedBackend().getIntegerv(name, value);
}

void glGetBooleanv(GLenum name, GLboolean* value) {
    SelectedBackend().getBooleanv(name, value);
}

void glEnable(GLenum capability) {
    SelectedBackend().enable(capability);
}

void* dlsym(const char* name) {
    return ::dlsym(RTLD_DEFAULT, name);
}

}  // namespace GLPlatform

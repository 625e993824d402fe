// The platform operations the probes rely on: pixel formats and contexts (AGL names and attribute
// words), the hidden window, the GL queries and the dynamic loader. The shipped library links the
// backend core with GLX and EGL beneath it, one chosen at run time (NativeCalls.h); unit tests
// link a scriptable fake instead.
#pragma once

#include <GL/gl.h>

#include <cstdint>

namespace GLPlatform {

struct DeviceRec;
struct PixelFormatRec;
struct ContextRec;
struct WindowRec;
struct GrafPort;

using GDHandle = DeviceRec*;
using AGLPixelFormat = PixelFormatRec*;
using AGLContext = ContextRec*;
using WindowRef = WindowRec*;
using CGrafPtr = GrafPort*;
using OSStatus = int32_t;
using WindowClass = uint32_t;
using WindowAttributes = uint32_t;

struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// Attribute words of a pixel-format request: those that stand alone, the list's end among them,
enum : GLint {
    AGL_NONE = 0,
    AGL_RGBA = 4,
    AGL_DOUBLEBUFFER = 5,
    AGL_STEREO = 6,
    AGL_MINIMUM_POLICY = 51,
    AGL_OFFSCREEN = 53,
    AGL_MULTISAMPLE = 59,
    AGL_ACCELERATED = 73,
    AGL_WINDOW = 80
};
// and those followed by a number: of bits, or for AGL_SAMPLE_BUFFERS_ARB of buffers.
enum : GLint {
    AGL_DEPTH_SIZE = 12,
    AGL_STENCIL_SIZE = 13,
    AGL_SAMPLE_BUFFERS_ARB = 55,
    AGL_SAMPLES_ARB = 56
};

constexpr WindowClass kPlainWindowClass = 13;
constexpr WindowAttributes kWindowNoAttributes = 0;

// The graphics device of the main display. Never null; it owns nothing.
GDHandle GetMainDevice();

// Returns a format that meets every word of the AGL_NONE-terminated list on the first device,
// or null. Sizes are minimums. The caller releases the format with aglDestroyPixelFormat.
AGLPixelFormat aglChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                    const GLint* attributes);
GLboolean aglDescribePixelFormat(AGLPixelFormat format, GLint attribute, GLint* value);
void aglDestroyPixelFormat(AGLPixelFormat format);

// Returns a new context for the format, or null; the format may be released afterwards.
AGLContext aglCreateContext(AGLPixelFormat format, AGLContext share);
// The code of the last failed operation of this layer, 0 when none.
GLenum aglGetError();
// Attaches the context to a window's port, or detaches it when port is null.
GLboolean aglSetDrawable(AGLContext context, CGrafPtr port);
// Makes the context current on the calling thread; null makes no context current.
GLboolean aglSetCurrentContext(AGLContext context);
GLboolean aglDestroyContext(AGLContext context);

// Creates a window that is never shown. Returns 0 and the window, or a non-zero status (no
// display, for one) and leaves window untouched.
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* bounds,
                         WindowRef* window);
CGrafPtr GetWindowPort(WindowRef window);
void DisposeWindow(WindowRef window);

// OpenGL queries on the current context.
const GLubyte* glGetString(GLenum name);
void glGetIntegerv(GLenum name, GLint* value);
void glGetBooleanv(GLenum name, GLboolean* value);
void glEnable(GLenum capability);

// Looks a symbol up in every image loaded into the process; null when there is none.
void* dlsym(const char* name);

}  // namespace GLPlatform

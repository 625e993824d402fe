// The GLX backend's connection to the X server and its trap for X errors.
#pragma once

#include <X11/Xlib.h>

#include "GLPlatform.h"

namespace GLPlatform {

// The connection to $DISPLAY that every format, window and context shares. It lives for the
// process.
struct X11Connection {
    Display* display;
    int screen;
};

// Returns the connection, opening it on first use; null while there is no display.
X11Connection* AcquireConnection();

// Counts X errors instead of letting Xlib's default handler end the process. The handler stays
// installed until the trap is destroyed, after a final XSync.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Flushes the requests so far and tells whether any of them failed.
    bool failed();

private:
    Display* mDisplay;
    XErrorHandler mPrevious;
    unsigned long mErrorsBefore;
};

// AGL-style error codes of this layer, reported by aglGetError.
constexpr GLenum kAGLBadAttribute = 10000;
constexpr GLenum kAGLBadPixelFormat = 10002;
constexpr GLenum kAGLBadContext = 10004;
constexpr GLenum kAGLBadDrawable = 10005;
constexpr GLenum kAGLBadConnection = 10017;

void SetLastError(GLenum code);

}  // namespace GLPlatform

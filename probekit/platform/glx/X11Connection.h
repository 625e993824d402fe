// The GLX backend's connection to the X server and its traps for X errors and a lost server.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "GLPlatform.h"

namespace GLPlatform {

// A connection to $DISPLAY, shared by the formats, windows and contexts made on it. Closed when
// the last of them lets it go.
struct X11Connection {
    X11Connection(Display* openDisplay, int defaultScreen);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* display;
    int screen;
    // Set when the server went away: nothing more is sent, and the connection is dropped.
    bool lost = false;
    // Whether the renderer is a hardware one; -1 until first asked.
    int hardware = -1;
};

using ConnectionRef = std::shared_ptr<X11Connection>;

// Returns the connection, opening it on first use and again after a lost one; null while there
// is no display.
ConnectionRef AcquireConnection();

// Keeps a lost connection from ending the process while calls on display run: Xlib's fatal I/O
// path then marks the connection lost and returns. Only for the duration, so that the host's own
// handler stays in charge of its own connections.
class X11IOGuard {
public:
    explicit X11IOGuard(Display* display);
    ~X11IOGuard();
    X11IOGuard(const X11IOGuard&) = delete;
    X11IOGuard& operator=(const X11IOGuard&) = delete;

private:
    Display* mPreviousDisplay;
    XIOErrorHandler mPrevious;
};

// Counts X errors instead of letting Xlib's default handler end the process. The handler stays
// installed until the trap is destroyed, after a final XSync.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(X11Connection& connection);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Flushes the requests so far and tells whether any of them failed or the server is gone.
    bool failed();

private:
    X11Connection& mConnection;
    X11IOGuard mIOGuard;
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

// The GLX backend's connection to the X server and its traps for X errors and a lost server.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "PlatformError.h"
#include "XErrorTrap.h"

namespace GLPlatform::GLX {

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

// Counts X errors on the connection and survives its loss, until destroyed.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(X11Connection& connection)
        : mIOGuard(connection.display), mErrors(connection.display, &connection.lost) {}

    // Flushes the requests so far and tells whether any of them failed or the server is gone.
    bool failed() { return mErrors.failed(); }

private:
    X11IOGuard mIOGuard;
    Graphics::XErrorTrap mErrors;
};

}  // namespace GLPlatform::GLX

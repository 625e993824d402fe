// The GLX backend's connection to the X server and its traps for X errors and a lost server.
#pragma once

#include <X11/Xlib.h>

#include "BackendRecords.h"
#include "XErrorTrap.h"

namespace GLPlatform::GLX {

struct X11Connection final : Connection {
    explicit X11Connection(Display* open);
    ~X11Connection() override;

    bool lost() const override { return serverGone; }

    Display* display;
    int screen;
    // Set when the server went away: Xlib's I/O error path then returns instead of exiting.
    bool serverGone = false;
};

// The connection the formats, windows and contexts use: the one the display rule made, and after a
// lost one a new one to DISPLAY; null while no X server answers there.
ConnectionRef AcquireConnection();
// Keeps the display rule's connection as the first one.
void KeepConnection(Display* server);

inline X11Connection& X11(Connection& connection) {
    return Downcast<X11Connection>(connection);
}

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
        : mIOGuard(connection.display), mErrors(connection.display, &connection.serverGone) {}

    // Flushes the requests so far and tells whether any of them failed or the server is gone.
    bool failed() { return mErrors.failed(); }

private:
    X11IOGuard mIOGuard;
    Graphics::XErrorTrap mErrors;
};

}  // namespace GLPlatform::GLX

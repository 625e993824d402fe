// Connections to an X server that answers: one that accepts and never answers (stopped, or behind
// a link that went dead) counts as none after the bound of ServerWait.h, as one that is not there.
#pragma once

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <memory>

namespace Graphics {

// An xcb connection to the server that name (null: DISPLAY) names, once it has answered; null when
// it has not within the bound, cannot be reached, or a termination signal is waiting. screen, where
// given, receives the screen that name picks. The caller disconnects it.
xcb_connection_t* ConnectToXServer(const char* name, int* screen = nullptr);

struct DisconnectFromXServer {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
// A connection that shows the server answers, held until the one for use is made: an X server
// with no client left resets, and would drop a connection made during its reset.
using XServerHold = std::unique_ptr<xcb_connection_t, DisconnectFromXServer>;

// Null where the server that name (null: DISPLAY) names does not answer within the bound.
XServerHold HoldXServer(const char* name);

// XOpenDisplay, once the server has answered a connection of its own.
Display* OpenXDisplay(const char* name);

}  // namespace Graphics

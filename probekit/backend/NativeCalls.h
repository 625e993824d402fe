// What the core asks of a backend: the calls into its own display system and driver. As in GLFW
// 3.4, each backend fills one table in its connect function (BackendConnect.h), and the run-time
// choice between them is made once per process; the core checks the arguments, walks the
// attribute words, keeps the records and runs the life cycle of formats, windows and contexts over
// the table.
#pragma once

#include "AttributeWalk.h"
#include "BackendRecords.h"

namespace GLPlatform {

struct ConnectionCalls {
    // Returns the connection, opening it on first use and again after a lost one; null while there
    // is none.
    ConnectionRef (*acquire)();
    // Whether the connection's renderer draws in hardware; the core asks once per connection.
    bool (*rendersInHardware)(Connection& connection);
};

struct ConfigCalls {
    // The first config that meets the request; null when none does.
    NativeHandle (*choose)(Connection& connection, const ConfigRequest& request);
    // The config's depth-buffer bits; false when the driver does not tell.
    bool (*depth)(Connection& connection, NativeHandle config, GLint* bits);
};

struct ContextCalls {
    // A new context for the config, sharing objects with share where given; null on failure, with
    // nothing left behind.
    NativeHandle (*create)(Connection& connection, NativeHandle config, NativeHandle share);
    // Makes the context current on the window's drawable; false on failure.
    bool (*makeCurrent)(Connection& connection, WindowRec& window, NativeHandle context);
    bool (*isCurrent)(NativeHandle context);
    // Makes no context current, whichever connection the current one belongs to.
    void (*releaseCurrent)();
    void (*destroy)(Connection& connection, NativeHandle context);
};

struct WindowCalls {
    // A window on the connection that is never shown; null on failure.
    WindowRec* (*create)(ConnectionRef connection, const Rect& bounds);
    // Gives the window a drawable that fits the config; false on failure.
    bool (*prepare)(WindowRec& window, NativeHandle config);
    void (*dispose)(WindowRec* window);
};

// OpenGL queries on the current context.
struct GLCalls {
    decltype(&glGetString) getString;
    decltype(&glGetIntegerv) getIntegerv;
    decltype(&glGetBooleanv) getBooleanv;
    decltype(&glEnable) enable;
};

struct NativeCalls {
    const AttributeTable* attributes;
    const ConnectionCalls* connections;
    const ConfigCalls* configs;
    const ContextCalls* contexts;
    const WindowCalls* windows;
    const GLCalls* gl;
};

// The backend chosen for the process, on the first call (BackendSelect.cpp). Kept for the life of
// the process: a cached feature mask was measured on it, and a later probe must answer for the
// same display.
const NativeCalls& Native();

}  // namespace GLPlatform

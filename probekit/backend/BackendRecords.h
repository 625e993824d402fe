// What the core keeps behind the platform's opaque handles. A process runs one backend
// (NativeCalls.h), so a handle always comes back to the backend that made it.
#pragma once

#include <memory>
#include <utility>

#include "GLPlatform.h"

namespace GLPlatform {

// A backend's own handle of a config or a context (a GLXFBConfig, an EGLContext ...), opaque here.
using NativeHandle = void*;

// A backend's connection to its display system, shared by the formats, windows and contexts made
// on it; closed when the last of them lets it go.
class Connection {
public:
    Connection() = default;
    virtual ~Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // True once the display system has gone away: nothing more is sent, and the connection is
    // dropped.
    virtual bool lost() const = 0;

    // Whether the renderer is a hardware one; -1 until first asked.
    int hardware = -1;
};

using ConnectionRef = std::shared_ptr<Connection>;

struct DeviceRec {};

struct PixelFormatRec {
    ConnectionRef connection;
    NativeHandle config;
};

struct GrafPort {
    WindowRec* window;
};

// A hidden window. Each backend derives its own, with what it makes for the window on its display.
struct WindowRec {
    WindowRec(ConnectionRef on, const Rect& area) : connection(std::move(on)), bounds(area) {}
    WindowRec(const WindowRec&) = delete;
    WindowRec& operator=(const WindowRec&) = delete;

    GrafPort port{this};
    ConnectionRef connection;
    Rect bounds;
};

struct ContextRec {
    ConnectionRef connection;
    NativeHandle config;
    NativeHandle context;
    WindowRec* drawable = nullptr;  // the window it is attached to
};

// The backend's own record behind a core one.
template <typename Own, typename Core>
Own& Downcast(Core& record) {
    return static_cast<Own&>(record);
}

}  // namespace GLPlatform

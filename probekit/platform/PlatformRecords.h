// What every backend keeps behind the platform's opaque handles. Each backend derives its own
// records from these; a process runs one backend (Backend.h), so a handle always comes back to the
// backend that made it.
#pragma once

#include "GLPlatform.h"

namespace GLPlatform {

struct DeviceRec {};
struct PixelFormatRec {};
struct ContextRec {};

struct GrafPort {
    WindowRec* window;
};

struct WindowRec {
    WindowRec() = default;
    WindowRec(const WindowRec&) = delete;
    WindowRec& operator=(const WindowRec&) = delete;

    GrafPort port{this};
};

// The backend's own record behind a handle; null stays null.
template <typename Own, typename Handle>
Own* Downcast(Handle* handle) {
    return static_cast<Own*>(handle);
}

}  // namespace GLPlatform

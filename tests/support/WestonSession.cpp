#include "WestonSession.h"

#include <cstdlib>

const char* WestonSocket() {
    return std::getenv("WESTON_DISPLAY");
}

EnvironmentChanges WestonSession() {
    if (WestonSocket() == nullptr) {
        return {};
    }
    const std::string socket = WestonSocket();
    return {{"XDG_RUNTIME_DIR", socket.substr(0, socket.rfind('/'))}, {"WAYLAND_DISPLAY", socket}};
}

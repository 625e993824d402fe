#include "SystemDescription.h"

#include <gdk/gdk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#include <X11/Xlib.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

constexpr const char* kOsReleasePaths[] = {"/etc/os-release", "/usr/lib/os-release"};
// Far beyond any real file; a larger one is not an os-release file.
constexpr std::streamsize kMaximumOsRelease = 64L * 1024;

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

DisplaySystem CurrentDisplaySystem() {
    GdkDisplay* display = gdk_display_get_default();
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool waylandSession =
        IsSet("WAYLAND_DISPLAY") || (session != nullptr && std::strcmp(session, "wayland") == 0);
#ifdef GDK_WINDOWING_X11
    // Without a window the probes address DISPLAY.
    const bool onX11 = display != nullptr ? GDK_IS_X11_DISPLAY(display) : IsSet("DISPLAY");
#else
    const bool onX11 = false;
#endif
    if (onX11) {
        return waylandSession ? DisplaySystem::X11UnderWayland : DisplaySystem::X11;
    }
    return DisplaySystem::Other;
}

bool XDisplayReachable() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

std::string OsReleaseText() {
    for (const char* path : kOsReleasePaths) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            continue;
        }
        std::string text(static_cast<std::size_t>(kMaximumOsRelease), '\0');
        file.read(text.data(), kMaximumOsRelease);
        text.resize(static_cast<std::size_t>(file.gcount()));
        return text;
    }
    return {};
}

std::string RunningKernelRelease() {
    utsname names{};
    return uname(&names) == 0 ? names.release : "";
}

#include "DisplayChoice.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <cstdlib>
#include <cstring>

#include "DisplayRule.h"

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// As the program found it at start, before it chose X11 and removed WAYLAND_DISPLAY.
bool StartedInWaylandSession() {
    static const bool sWayland = [] {
        const char* session = std::getenv("XDG_SESSION_TYPE");
        return IsSet("WAYLAND_DISPLAY") ||
               (session != nullptr && std::strcmp(session, "wayland") == 0);
    }();
    return sWayland;
}

DisplaySystem ToolkitDisplay(GdkDisplay* display) {
#ifdef GDK_WINDOWING_WAYLAND
    if (GDK_IS_WAYLAND_DISPLAY(display)) {
        return DisplaySystem::Wayland;
    }
#endif
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(display)) {
        return DisplaySystem::X11;
    }
#endif
    return DisplaySystem::Other;
}

// The rule's answer, for a program without a window: decided once, as ProbeKit decides it once.
DisplaySystem DisplayByRule() {
    switch (Graphics::DisplayByRule()) {
        case Graphics::RuleDisplay::Wayland:
            return DisplaySystem::Wayland;
        case Graphics::RuleDisplay::X11:
            return DisplaySystem::X11;
        case Graphics::RuleDisplay::NoDisplay:
            break;
    }
    return DisplaySystem::NoDisplay;
}

}  // namespace

bool OpenToolkitDisplay(int* argc, char*** argv) {
    StartedInWaylandSession();  // remembered before WAYLAND_DISPLAY may go
    gdk_set_allowed_backends(gdk_get_display_arg_name() != nullptr ? "x11" : "wayland,x11");
    if (gtk_init_check(argc, argv) == FALSE) {
        return false;
    }
    GdkDisplay* display = gdk_display_get_default();
    switch (ToolkitDisplay(display)) {
        case DisplaySystem::Wayland:
            g_setenv("WAYLAND_DISPLAY", gdk_display_get_name(display), TRUE);
            return true;
        case DisplaySystem::X11:
            g_setenv("DISPLAY", gdk_display_get_name(display), TRUE);
            g_unsetenv("WAYLAND_DISPLAY");
            return true;
        default:
            return false;
    }
}

DisplaySystem CurrentDisplaySystem() {
    GdkDisplay* display = gdk_display_get_default();
    const DisplaySystem system = display != nullptr ? ToolkitDisplay(display) : DisplayByRule();
    return system == DisplaySystem::X11 && StartedInWaylandSession()
               ? DisplaySystem::X11UnderWayland
               : system;
}

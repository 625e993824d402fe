#include "ToolkitDisplay.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include "DisplayRule.h"
#include "HostDisplay.h"

namespace {

// The toolkit's connection, and the probes pointed at the same display.
bool ShareToolkitDisplay(GdkDisplay* display, bool waylandSession) {
#ifdef GDK_WINDOWING_WAYLAND
    if (GDK_IS_WAYLAND_DISPLAY(display)) {
        Graphics::ShareHostDisplay(
            {.wayland = true, .compositor = gdk_wayland_display_get_wl_display(display)});
        g_setenv("WAYLAND_DISPLAY", gdk_display_get_name(display), TRUE);
        return true;
    }
#endif
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(display)) {
        Graphics::ShareHostDisplay(
            {.waylandSession = waylandSession, .x11 = gdk_x11_display_get_xdisplay(display)});
        g_setenv("DISPLAY", gdk_display_get_name(display), TRUE);
        g_unsetenv("WAYLAND_DISPLAY");
        return true;
    }
#endif
    return false;
}

}  // namespace

bool OpenToolkitDisplay(int* argc, char*** argv) {
    // As the program found it at start, before it may choose X11 and remove WAYLAND_DISPLAY.
    const bool waylandSession = Graphics::InWaylandSession();
    gdk_set_allowed_backends(gdk_get_display_arg_name() != nullptr ? "x11" : "wayland,x11");
    if (gtk_init_check(argc, argv) == FALSE) {
        return false;
    }
    return ShareToolkitDisplay(gdk_display_get_default(), waylandSession);
}

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
#include "Termination.h"
#include "WaylandCompositor.h"
#include "XServerConnection.h"

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

// Where GTK looks for a compositor: at libwayland's socket, and only with a runtime directory.
bool CompositorAnswers() {
    return g_getenv("XDG_RUNTIME_DIR") != nullptr &&
           Graphics::CompositorAnswersAt(Graphics::LibwaylandSocket());
}

// The toolkit on that backend alone (GDK_BACKEND may still leave it out). The signals go through
// meanwhile, and are held again for the next wait where it fails.
bool OpenOn(const char* backend, int* argc, char*** argv) {
    gdk_set_allowed_backends(backend);
    ReleaseTerminationSignals();
    if (gtk_init_check(argc, argv) == FALSE) {
        HoldTerminationSignals();
        return false;
    }
    return true;
}

}  // namespace

ToolkitDisplay OpenToolkitDisplay(int* argc, char*** argv) {
    // Asked before it may choose X11 and remove WAYLAND_DISPLAY; an X display beside a compositor
    // that answers is XWayland's, also where --display forces X11.
    const bool compositor = CompositorAnswers();
    const char* forcedX = gdk_get_display_arg_name();
    // NOTE: a connection handed over by the compositor that started the program is GTK's first
    // choice, and only GTK can take it.
    const bool handed = g_getenv("WAYLAND_SOCKET") != nullptr;
    if (Graphics::TerminationSignalWaiting()) {
        return ToolkitDisplay::Interrupted;
    }
    bool opened = forcedX == nullptr && (compositor || handed) && OpenOn("wayland", argc, argv);
    if (!opened) {
        const Graphics::XServerHold answered = Graphics::HoldXServer(forcedX);
        if (answered == nullptr) {
            return Graphics::TerminationSignalWaiting() ? ToolkitDisplay::Interrupted
                                                        : ToolkitDisplay::NoDisplay;
        }
        opened = OpenOn("x11", argc, argv);
    }
    return opened && ShareToolkitDisplay(gdk_display_get_default(), compositor)
               ? ToolkitDisplay::Opened
               : ToolkitDisplay::NoDisplay;
}

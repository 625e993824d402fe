#include "Termination.h"

#include <gdk/gdkx.h>
#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif
#include <glib-unix.h>
#include <poll.h>

#include <csignal>
#include <utility>

#include "CompositorWatch.h"
#include "Log.h"

namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

TerminationRequest& Request() {
    static TerminationRequest sRequest;
    return sRequest;
}

gboolean OnSignal(gpointer /*data*/) {
    Request()();
    return G_SOURCE_CONTINUE;
}

gboolean OnLostDisplay(gpointer /*data*/) {
    Request()();
    return G_SOURCE_REMOVE;
}

bool InheritedAsIgnored(int signal) {
    struct sigaction current {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

// NOTE: a blocked signal pends forever rather than reach GLib's handler, which is kept inside
// the main loop's wait: they are unblocked for that wait alone, atomically, as pselect does.
gint PollTakingSignals(GPollFD* descriptors, guint count, gint timeout) {
    static_assert(sizeof(GPollFD) == sizeof(pollfd), "GLib polls its descriptors as pollfd");
    sigset_t during;
    pthread_sigmask(SIG_BLOCK, nullptr, &during);
    for (const int signal : kTerminationSignals) {
        sigdelset(&during, signal);
    }
    const timespec bound{timeout / 1000, (timeout % 1000) * 1000000L};
    return ppoll(reinterpret_cast<pollfd*>(descriptors), count, timeout < 0 ? nullptr : &bound,
                 &during);
}

// NOTE: the toolkit's own handler calls _exit(), which would leave the profiler's group running.
// Returning lets Xlib go on to the connection's exit handler below.
int ReturnFromLostConnection(Display* /*display*/) {
    return 0;
}

// Called by Xlib instead of exit(); Xlib then returns to the failed call. The application ends
// from the main loop, never from inside the toolkit's call.
void LostDisplay(Display* /*display*/, void* /*data*/) {
    static bool sLost = false;
    if (std::exchange(sLost, true)) {
        return;
    }
    Log("lost the connection to the X display");
    g_idle_add_full(G_PRIORITY_HIGH, OnLostDisplay, nullptr, nullptr);
}

// From the main loop, between events, as a lost X display is.
void LostCompositor() {
    Log("lost the connection to the Wayland compositor");
    Request()();
}

}  // namespace

void HoldTerminationSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kTerminationSignals) {
        // Blocked, an ignored signal would pend rather than go.
        if (!InheritedAsIgnored(signal)) {
            sigaddset(&held, signal);
        }
    }
    pthread_sigmask(SIG_BLOCK, &held, nullptr);
}

void ReleaseTerminationSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kTerminationSignals) {
        sigaddset(&held, signal);
    }
    pthread_sigmask(SIG_UNBLOCK, &held, nullptr);
}

void EndOnTerminationSignals(const TerminationRequest& terminate) {
    static bool sHandled = false;
    Request() = terminate;
    if (std::exchange(sHandled, true)) {
        return;
    }
    for (const int signal : kTerminationSignals) {
        if (!InheritedAsIgnored(signal)) {
            g_unix_signal_add(signal, OnSignal, nullptr);
        }
    }
    g_main_context_set_poll_func(nullptr, PollTakingSignals);
}

void EndOnLostDisplay(const TerminationRequest& terminate) {
    Request() = terminate;
    GdkDisplay* display = gdk_display_get_default();
#ifdef GDK_WINDOWING_WAYLAND
    if (GDK_IS_WAYLAND_DISPLAY(display)) {
        WatchCompositor(gdk_wayland_display_get_wl_display(display), LostCompositor);
        return;
    }
#endif
    if (!GDK_IS_X11_DISPLAY(display)) {
        return;
    }
    XSetIOErrorHandler(ReturnFromLostConnection);
    XSetIOErrorExitHandler(gdk_x11_display_get_xdisplay(display), LostDisplay, nullptr);
    // NOTE: the toolkit calls _exit() on an X error that none of its traps covers, such as a
    // drawing request that meets the window destroyed from outside before the toolkit has seen
    // it go. An outermost trap, never popped, takes those; the toolkit's own traps, pushed
    // inside it, still get theirs.
    gdk_x11_display_error_trap_push(display);
}

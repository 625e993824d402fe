#include "CompositorWatch.h"

#include <glib.h>
#include <poll.h>
#include <wayland-client.h>

namespace {

struct Watch {
    GSource source;
    GPollFD connection;
    void (*lost)();
    bool told;
};

Watch* Of(GSource* source) {
    return reinterpret_cast<Watch*>(source);
}

bool Closed(int descriptor) {
    pollfd state{descriptor, 0, 0};
    return poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR)) != 0;
}

// Asked before GTK's event source prepares, which writes what it has queued to the compositor.
gboolean Prepare(GSource* source, gint* timeout) {
    *timeout = -1;
    return Closed(Of(source)->connection.fd) ? TRUE : FALSE;
}

gboolean Check(GSource* source) {
    return (Of(source)->connection.revents & (G_IO_HUP | G_IO_ERR)) != 0 ? TRUE : FALSE;
}

// Stays ready from then on: GTK's source, of a lower priority, is neither prepared nor read
// while this one is.
gboolean Dispatch(GSource* source, GSourceFunc /*callback*/, gpointer /*data*/) {
    Watch* watch = Of(source);
    if (!watch->told) {
        watch->told = true;
        watch->lost();
    }
    return G_SOURCE_CONTINUE;
}

GSourceFuncs sFunctions = {Prepare, Check, Dispatch, nullptr, nullptr, nullptr};

}  // namespace

void WatchCompositor(wl_display* display, void (*lost)()) {
    GSource* source = g_source_new(&sFunctions, sizeof(Watch));
    Watch* watch = Of(source);
    watch->connection = {wl_display_get_fd(display), G_IO_HUP | G_IO_ERR, 0};
    watch->lost = lost;
    watch->told = false;
    g_source_add_poll(source, &watch->connection);
    g_source_set_priority(source, G_PRIORITY_HIGH);
    g_source_set_name(source, "ReadyCheck compositor watch");
    g_source_attach(source, nullptr);
    g_source_unref(source);  // the main context keeps it for the program's life
}

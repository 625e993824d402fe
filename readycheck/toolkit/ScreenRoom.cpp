#include "ScreenRoom.h"

#include <algorithm>

namespace {

GdkMonitor* MonitorOf(GtkWidget* window) {
    GdkDisplay* display = gtk_widget_get_display(window);
    GdkWindow* surface = gtk_widget_get_window(window);
    GdkMonitor* monitor = surface != nullptr ? gdk_display_get_monitor_at_window(display, surface)
                                             : gdk_display_get_primary_monitor(display);
    return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

}  // namespace

int HeightToScreenBottom(GtkWidget* window) {
    GdkMonitor* monitor = MonitorOf(window);
    if (monitor == nullptr) {
        return 0;
    }
    GdkRectangle area{};
    gdk_monitor_get_workarea(monitor, &area);
    GdkWindow* surface = gtk_widget_get_window(window);
    if (surface == nullptr) {
        return area.height;
    }
    // The frame's extents are in the root window's coordinates; without a window manager (or on
    // Wayland, where no client knows its place) they are the window's own.
    GdkRectangle frame{};
    gdk_window_get_frame_extents(surface, &frame);
    const int decorations = std::max(0, frame.height - gdk_window_get_height(surface));
    const int top = std::clamp(frame.y, area.y, area.y + area.height);
    return area.y + area.height - top - decorations;
}

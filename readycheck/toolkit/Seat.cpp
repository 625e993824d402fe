#include "Seat.h"

#include <gtk/gtk.h>

namespace {

GdkSeat* DefaultSeat() {
    GdkDisplay* display = gdk_display_get_default();
    return display != nullptr ? gdk_display_get_default_seat(display) : nullptr;
}

void DropMissingKeyboard(const gchar* domain, GLogLevelFlags level, const gchar* message,
                         gpointer /*data*/) {
    const bool seatless = gdk_display_get_default() != nullptr && DefaultSeat() == nullptr;
    if (seatless && g_str_has_prefix(message, "gdk_seat_get_keyboard: ")) {
        return;
    }
    g_log_default_handler(domain, level, message, nullptr);
}

}  // namespace

bool SeatHasPointer() {
    GdkSeat* seat = DefaultSeat();
    return seat != nullptr && (gdk_seat_get_capabilities(seat) & GDK_SEAT_CAPABILITY_POINTER) != 0;
}

void QuietMissingKeyboard() {
    g_log_set_handler("Gdk", G_LOG_LEVEL_CRITICAL, DropMissingKeyboard, nullptr);
}

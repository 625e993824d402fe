#include "Clipboard.h"

#include <gtk/gtk.h>

namespace {

GtkClipboard* DesktopClipboard() {
    return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
}

}  // namespace

void SetClipboardText(const std::string& text) {
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    GtkClipboard* clipboard = DesktopClipboard();
    gtk_clipboard_set_text(clipboard, valid, -1);
    // The toolkit keeps owning it while the program runs; a clipboard manager may keep a copy.
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    g_free(valid);
}

void HandClipboardToManager() {
    gtk_clipboard_store(DesktopClipboard());
}

std::string ClipboardText() {
    gchar* text = gtk_clipboard_wait_for_text(DesktopClipboard());
    std::string copy = text != nullptr ? text : "";
    g_free(text);
    return copy;
}

#include "Clipboard.h"

#include <gtk/gtk.h>

#include <cmath>

namespace {

GtkClipboard* DesktopClipboard() {
    return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
}

// While the manager is asked: the window that owns the clipboard, and the bound's source.
GdkWindow* sHandingOver = nullptr;
unsigned int sBound = 0;

}  // namespace

void SetClipboardText(const std::string& text) {
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    GtkClipboard* clipboard = DesktopClipboard();
    gtk_clipboard_set_text(clipboard, valid, -1);
    // The toolkit keeps owning it while the program runs; a clipboard manager may keep a copy.
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    g_free(valid);
}

void HandClipboardToManager(double seconds) {
    GtkClipboard* clipboard = DesktopClipboard();
    GdkDisplay* display = gtk_clipboard_get_display(clipboard);
    if (!gdk_display_supports_clipboard_persistence(display)) {
        return;
    }
    sHandingOver = gdk_selection_owner_get_for_display(display, GDK_SELECTION_CLIPBOARD);
    if (sHandingOver == nullptr) {
        return;  // another program's text by now
    }
    sBound = g_timeout_add(
        static_cast<unsigned int>(std::ceil(seconds * 1000)),
        [](gpointer) {
            sBound = 0;
            EndClipboardHandOver();
            return G_SOURCE_REMOVE;
        },
        nullptr);
    // The toolkit waits for the manager's answer for ten seconds, which is too long to keep an
    // ended program's process.
    gtk_clipboard_store(clipboard);
    if (sBound != 0) {
        g_source_remove(sBound);
        sBound = 0;
    }
    sHandingOver = nullptr;
}

// The manager's answer, which ends the toolkit's wait, given in its place.
void EndClipboardHandOver() {
    if (sHandingOver == nullptr) {
        return;
    }
    GdkEvent* answer = gdk_event_new(GDK_SELECTION_NOTIFY);
    answer->selection.window = GDK_WINDOW(g_object_ref(sHandingOver));
    answer->selection.send_event = TRUE;
    answer->selection.selection = gdk_atom_intern_static_string("CLIPBOARD_MANAGER");
    answer->selection.target = gdk_atom_intern_static_string("SAVE_TARGETS");
    answer->selection.property = GDK_NONE;
    answer->selection.time = GDK_CURRENT_TIME;
    gdk_event_put(answer);
    gdk_event_free(answer);
    sHandingOver = nullptr;
}

std::string ClipboardText() {
    gchar* text = gtk_clipboard_wait_for_text(DesktopClipboard());
    std::string copy = text != nullptr ? text : "";
    g_free(text);
    return copy;
}

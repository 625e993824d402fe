#include "Alert.h"

#include <gdk/gdkkeysyms.h>

#include "AlertDialog.h"
#include "RunLoop.h"
#include "Seat.h"

namespace {

constexpr const char* kReturnKey = "\r";
constexpr const char* kEscapeKey = "\x1b";

int ResponseFor(const std::vector<Alert::ButtonSpec>& buttons, const char* key) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].keyEquivalent == key) {
            return kAlertFirstButtonReturn + static_cast<int>(i);
        }
    }
    return 0;
}

// Return and Escape answer with the buttons that carry them as key equivalents.
gboolean OnKeyPress(GtkWidget* dialog, GdkEventKey* event, gpointer data) {
    const auto* keys = static_cast<const AlertKeys*>(data);
    int response = 0;
    if (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) {
        response = keys->onReturn;
    } else if (event->keyval == GDK_KEY_Escape) {
        // Without a button of its own, Escape closes the alert as its window's close button does.
        response = keys->onEscape != 0 ? keys->onEscape : GTK_RESPONSE_DELETE_EVENT;
    } else {
        return FALSE;
    }
    if (response != 0) {
        gtk_dialog_response(GTK_DIALOG(dialog), response);
    }
    return TRUE;  // a key without a button does nothing, as in the alert it stands for
}

// The application's window on screen that the alert stands over: one that is not an alert.
GtkWindow* ShownMainWindow() {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* found = nullptr;
    for (GList* item = windows; item != nullptr && found == nullptr; item = item->next) {
        auto* window = GTK_WINDOW(item->data);
        if (!GTK_IS_DIALOG(window) && gtk_window_get_window_type(window) == GTK_WINDOW_TOPLEVEL &&
            gtk_widget_get_mapped(GTK_WIDGET(window))) {
            found = window;
        }
    }
    g_list_free(windows);
    return found;
}

// A window that grows under its alert (a section that appears) leaves the alert where it stood:
// the alert moves back to its centre.
void CenterOverParent(GtkWidget* parent, GdkRectangle* /*allocation*/, gpointer dialog) {
    GdkWindow* window = gtk_widget_get_window(parent);
    if (window == nullptr || !gtk_widget_get_mapped(GTK_WIDGET(dialog))) {
        return;
    }
    int x = 0;
    int y = 0;
    gdk_window_get_origin(window, &x, &y);
    int width = 0;
    int height = 0;
    gtk_window_get_size(GTK_WINDOW(dialog), &width, &height);
    gtk_window_move(GTK_WINDOW(dialog), x + (gdk_window_get_width(window) - width) / 2,
                    y + (gdk_window_get_height(window) - height) / 2);
}

// Over the application's window where one is shown, else in the middle of the screen where the
// seat has a pointer to tell which screen; elsewhere the compositor places it.
void Place(GtkWidget* dialog) {
    if (GtkWindow* parent = ShownMainWindow()) {
        gtk_window_set_transient_for(GTK_WINDOW(dialog), parent);
        gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);
        g_signal_connect_object(parent, "size-allocate", G_CALLBACK(CenterOverParent), dialog,
                                G_CONNECT_AFTER);
    } else if (SeatHasPointer()) {
        gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    }
}

}  // namespace

std::size_t Alert::addButtonWithTitle(std::string title) {
    mButtons.push_back({std::move(title), ""});
    return mButtons.size() - 1;
}

void Alert::setButtonKeyEquivalent(std::size_t button, std::string key) {
    mButtons.at(button).keyEquivalent = std::move(key);
}

GtkWidget* MakeAlertDialog(const Alert& alert, AlertKeys& keys) {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_INFO,
                                               GTK_BUTTONS_NONE, "%s", alert.messageText().c_str());
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                             alert.informativeText().c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), "");
    Place(dialog);
    const auto& buttons = alert.buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), buttons[i].title.c_str(),
                              kAlertFirstButtonReturn + static_cast<int>(i));
    }
    keys = {ResponseFor(buttons, kReturnKey), ResponseFor(buttons, kEscapeKey)};
    if (keys.onReturn != 0) {
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), keys.onReturn);
    }
    g_signal_connect(dialog, "key-press-event", G_CALLBACK(OnKeyPress), &keys);
    return dialog;
}

int RunAlertDialog(GtkWidget* dialog) {
    // Held, since a window destroyed from outside may be gone when the run returns.
    struct Holder {
        GtkWidget* dialog;
        explicit Holder(GtkWidget* held) : dialog(GTK_WIDGET(g_object_ref(held))) {}
        ~Holder() {
            gtk_widget_destroy(dialog);
            g_object_unref(dialog);
        }
        Holder(const Holder&) = delete;
        Holder& operator=(const Holder&) = delete;
    } holder(dialog);
    int response = 0;
    RunLoop::main().runInMode(
        kModalPanelRunLoopMode, [&] { response = gtk_dialog_run(GTK_DIALOG(dialog)); },
        [dialog] { gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_NONE); });
    return response;
}

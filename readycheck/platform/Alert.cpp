#include "Alert.h"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include "RunLoop.h"

namespace {

AlertPresentedHook sPresentedHook;
GtkWidget* sRunningDialog = nullptr;

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

struct KeyBindings {
    int onReturn;
    int onEscape;
};

// Return and Escape answer with the buttons that carry them as key equivalents.
gboolean OnKeyPress(GtkWidget* dialog, GdkEventKey* event, gpointer data) {
    const auto* keys = static_cast<const KeyBindings*>(data);
    int response = 0;
    if (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) {
        response = keys->onReturn;
    } else if (event->keyval == GDK_KEY_Escape) {
        response = keys->onEscape;
    } else {
        return FALSE;
    }
    if (response != 0) {
        gtk_dialog_response(GTK_DIALOG(dialog), response);
    }
    return TRUE;  // a key without a button does nothing, as in the alert it stands for
}

}  // namespace

std::size_t Alert::addButtonWithTitle(std::string title) {
    mButtons.push_back({std::move(title), ""});
    return mButtons.size() - 1;
}

void Alert::setButtonKeyEquivalent(std::size_t button, std::string key) {
    mButtons.at(button).keyEquivalent = std::move(key);
}

int Alert::runModal() {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_INFO,
                                               GTK_BUTTONS_NONE, "%s", mMessage.c_str());
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                             mInformative.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), "");
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    for (std::size_t i = 0; i < mButtons.size(); ++i) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), mButtons[i].title.c_str(),
                              kAlertFirstButtonReturn + static_cast<int>(i));
    }
    KeyBindings keys{ResponseFor(mButtons, kReturnKey), ResponseFor(mButtons, kEscapeKey)};
    if (keys.onReturn != 0) {
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), keys.onReturn);
    }
    g_signal_connect(dialog, "key-press-event", G_CALLBACK(OnKeyPress), &keys);
    if (sPresentedHook) {
        g_signal_connect(dialog, "map-event",
                         G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer alert) {
                             g_idle_add_full(
                                 G_PRIORITY_DEFAULT_IDLE,
                                 [](gpointer self) {
                                     if (sPresentedHook && sRunningDialog != nullptr) {
                                         sPresentedHook(*static_cast<const Alert*>(self));
                                     }
                                     return G_SOURCE_REMOVE;
                                 },
                                 alert, nullptr);
                             return FALSE;
                         }),
                         this);
    }
    GtkWidget* outer = sRunningDialog;
    sRunningDialog = dialog;
    int response = 0;
    RunLoop::main().runInMode(kModalPanelRunLoopMode,
                              [&] { response = gtk_dialog_run(GTK_DIALOG(dialog)); });
    sRunningDialog = outer;
    gtk_widget_destroy(dialog);
    return response;
}

void SetAlertPresentedHook(AlertPresentedHook hook) {
    sPresentedHook = std::move(hook);
}

void PressAlertKey(const std::string& keyName) {
    if (sRunningDialog == nullptr) {
        return;
    }
    GdkWindow* window = gtk_widget_get_window(sRunningDialog);
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(window));
    event->key.keyval = gdk_keyval_from_name(keyName.c_str());
    event->key.time = GDK_CURRENT_TIME;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(window));
    gdk_event_set_device(event, gdk_seat_get_keyboard(seat));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

#include "WindowFixture.h"

#include <gtk/gtk.h>

#include <cstdlib>
#include <sstream>

#include "AlertDialog.h"
#include "Clipboard.h"
#include "ProcessInfo.h"
#include "RunLoop.h"
#include "RunProgram.h"
#include "Seat.h"
#include "ToolkitDisplay.h"
#include "WestonSession.h"

namespace {

bool sHasDisplay = false;
std::function<void(const Alert&, GtkWidget*)> sObserver;

void PressKey(GtkWidget* dialog, const std::string& keyName) {
    GdkWindow* window = gtk_widget_get_window(dialog);
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(window));
    event->key.keyval = gdk_keyval_from_name(keyName.c_str());
    // Key bindings (Tab's focus move) look the key up by its hardware code.
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(
            gdk_keymap_get_for_display(gdk_window_get_display(window)), event->key.keyval, &keys,
            &count)) {
        event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        g_free(keys);
    }
    event->key.time = GDK_CURRENT_TIME;
    // NOTE: Weston's headless backend has no seat, so no keyboard for the event: it goes to the
    // window itself, past GTK's handling of devices.
    if (GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(window))) {
        gdk_event_set_device(event, gdk_seat_get_keyboard(seat));
        gtk_main_do_event(event);
    } else {
        gtk_widget_event(dialog, event);
    }
    gdk_event_free(event);
}

}  // namespace

struct ShownAlert {
    const Alert* alert;
    GtkWidget* dialog;
    bool answered;
};

// The tests' modal run: the observer sees each alert once it is on screen, inside its loop. An
// alert that ignores the observer's key fails the test rather than wait for ever.
int Alert::runModal() {
    AlertKeys keys;
    ShownAlert shown{this, MakeAlertDialog(*this, keys), false};
    g_signal_connect(shown.dialog, "response", G_CALLBACK(+[](GtkDialog*, int, gpointer data) {
                         static_cast<ShownAlert*>(data)->answered = true;
                     }),
                     &shown);
    g_signal_connect(shown.dialog, "map-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) {
                         g_idle_add(
                             [](gpointer seen) {
                                 auto* alert = static_cast<ShownAlert*>(seen);
                                 sObserver(*alert->alert, alert->dialog);
                                 if (!alert->answered) {
                                     ADD_FAILURE() << "the alert ignored the key";
                                     gtk_dialog_response(GTK_DIALOG(alert->dialog), 0);
                                 }
                                 return G_SOURCE_REMOVE;
                             },
                             data);
                         return FALSE;
                     }),
                     &shown);
    return RunAlertDialog(shown.dialog);
}

std::string ProgramOutput(const std::string& options) {
    const Ran ran = RunProgram({{ExecutableDirectory() + "/ReadyCheck", options}});
    EXPECT_EQ(ran.status, 0) << options << ": " << ran.errors;
    return ran.output;
}

std::vector<std::string> Lines(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

void WindowTest::SetUp() {
    if (!sHasDisplay) {
        GTEST_SKIP() << "no display";
    }
    sObserver = [this](const Alert& alert, GtkWidget* dialog) {
        alerts.push_back({alert.messageText(), alert.informativeText(), alert.buttons().size()});
        if (const auto during = std::exchange(whileNextAlertIsOpen, nullptr)) {
            during();
        }
        if (const auto response = std::exchange(answerResponse, std::nullopt)) {
            gtk_dialog_response(GTK_DIALOG(dialog), *response);
        } else {
            PressKey(dialog, answerKey);
        }
    };
}

void WindowTest::pressKey(void* widget, const std::string& keyName) {
    PressKey(gtk_widget_get_toplevel(static_cast<GtkWidget*>(widget)), keyName);
}

void WindowTest::TearDown() {
    RunLoop::main().cancelDelayedCalls();
    application.reset();
    controller.reset();
    RunLoop::main().drainDeferred();
}

void WindowTest::launch() {
    application.reset();
    controller = std::make_unique<Controller>(cardProbeBound);
    application = LoadApplication(*controller);
    ASSERT_NE(application, nullptr);
}

bool WindowTest::runUntil(const std::function<bool()>& done, double seconds) {
    return RunLoop::main().runUntil(done, seconds);
}

bool WindowTest::runReveal() {
    const std::size_t before = alerts.size();
    return runUntil([&] { return alerts.size() > before; });
}

std::vector<std::string> WindowTest::copyReport(bool byKeyboard) {
    SetClipboardText("");
    if (byKeyboard) {
        gtk_accel_groups_activate(G_OBJECT(outlet<Window>("oResultWindow")->widget()), GDK_KEY_c,
                                  GDK_CONTROL_MASK);
    } else {
        gtk_button_clicked(GTK_BUTTON(outlet<Button>("oCopyReportButton")->widget()));
    }
    return Lines(ClipboardText());
}

void WindowTest::saveScreenshot(const std::string& fileName, bool wholeScreen) {
    runUntil([] { return false; }, 0.3);  // let the windows draw
    GdkWindow* surface = wholeScreen ? gdk_get_default_root_window()
                                     : gtk_widget_get_window(static_cast<GtkWidget*>(
                                           outlet<Window>("oResultWindow")->widget()));
    ASSERT_NE(surface, nullptr);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(surface, 0, 0, gdk_window_get_width(surface),
                                                   gdk_window_get_height(surface));
    ASSERT_NE(pixbuf, nullptr);
    EXPECT_TRUE(gdk_pixbuf_save(pixbuf, fileName.c_str(), "png", nullptr, nullptr));
    g_object_unref(pixbuf);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Natively on the test scripts' Weston, with no X display; skipped (77) without it.
    if (std::getenv("WINDOW_TESTS_ON_WESTON") != nullptr) {
        if (WestonSession().empty()) {
            return 77;
        }
        ApplyEnvironment(WestonSession());
        unsetenv("DISPLAY");
    }
    // The program's own choice of display: X11 under the test scripts, Wayland where a test's
    // environment names only a compositor.
    QuietMissingKeyboard();
    sHasDisplay = OpenToolkitDisplay(&argc, &argv) == ToolkitDisplay::Opened;
    return RUN_ALL_TESTS();
}

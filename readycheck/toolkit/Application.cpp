#include "Application.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <map>
#include <vector>

#include "Clipboard.h"
#include "LocalizedStrings.h"
#include "Log.h"
#include "RunLoop.h"
#include "Seat.h"
#include "Termination.h"
#include "ToolkitDisplay.h"

namespace {

constexpr const char* kInterfacePath = "/org/readycheck/ReadyCheck/ReadyCheck.ui";
// How long the ended program waits for the clipboard manager to take its copy.
constexpr double kClipboardHandOverSeconds = 1.0;

using Handler = std::function<void(void*)>;

void Clicked(GtkWidget* sender, gpointer handler) {
    RunLoop::main().invokeGuarded([&] { (*static_cast<Handler*>(handler))(sender); });
}

gboolean DeleteEvent(GtkWidget* sender, GdkEvent* /*event*/, gpointer handler) {
    Clicked(sender, handler);
    return TRUE;  // the handler decides whether the application ends
}

void DeleteHandler(gpointer handler, GClosure* /*closure*/) {
    delete static_cast<Handler*>(handler);
}

struct SignalContext {
    std::map<std::string, Handler> handlers;
    std::vector<std::string> unknown;
};

void ConnectSignal(GtkBuilder* /*builder*/, GObject* object, const gchar* signal,
                   const gchar* handlerName, GObject* /*connect*/, GConnectFlags /*flags*/,
                   gpointer data) {
    auto* context = static_cast<SignalContext*>(data);
    const auto found = context->handlers.find(handlerName);
    if (found == context->handlers.end()) {
        context->unknown.emplace_back(handlerName);
        return;
    }
    const bool isDelete = std::string(signal) == "delete-event";
    g_signal_connect_data(object, signal, isDelete ? G_CALLBACK(DeleteEvent) : G_CALLBACK(Clicked),
                          new Handler(found->second), DeleteHandler, GConnectFlags{});
}

// The interface file's translatable texts are keys of the string table; the properties that
// hold them are these (the last one on the accessible objects of controls).
constexpr const char* kTextProperties[] = {"label", "title", "tooltip-text", "accessible-name"};

// A tooltip given to a shown widget has GTK look under the pointer for one to show, which a seat
// without a pointer answers with complaints: it goes in while the widget is hidden, as the
// interface file gives it before showing the widget.
void SetText(GObject* object, const char* property, const std::string& text) {
    const bool shown = GTK_IS_WIDGET(object) && gtk_widget_get_visible(GTK_WIDGET(object)) &&
                       std::string(property) == "tooltip-text";
    if (shown) {
        gtk_widget_set_visible(GTK_WIDGET(object), FALSE);
    }
    g_object_set(object, property, text.c_str(), nullptr);
    if (shown) {
        gtk_widget_set_visible(GTK_WIDGET(object), TRUE);
    }
}

void LocalizeTexts(GObject* object) {
    for (const char* property : kTextProperties) {
        GParamSpec* paramSpec = g_object_class_find_property(G_OBJECT_GET_CLASS(object), property);
        if (paramSpec == nullptr || paramSpec->value_type != G_TYPE_STRING ||
            (paramSpec->flags & G_PARAM_WRITABLE) == 0) {
            continue;
        }
        gchar* key = nullptr;
        g_object_get(object, property, &key, nullptr);
        if (key != nullptr && *key != '\0') {
            const std::string text = LocalizedString(key);
            if (text != key) {
                SetText(object, property, text);
            }
        }
        g_free(key);
    }
}

void EndApplication() {
    RunLoop::main().invokeGuarded([] { TerminateApplication(); });
}

class Session final : public LoadedApplication {
public:
    ~Session() override {
        for (GtkWidget* window : mWindows) {
            g_signal_handlers_disconnect_by_data(window, this);
            gtk_widget_destroy(window);
        }
        if (mBuilder != nullptr) {
            g_object_unref(mBuilder);
        }
    }

    // Returns an error text, empty on success.
    std::string load(ApplicationDelegate& delegate) {
        GError* error = nullptr;
        mBuilder = gtk_builder_new();
        if (gtk_builder_add_from_resource(mBuilder, kInterfacePath, &error) == 0) {
            std::string text = error != nullptr ? error->message : "unknown error";
            g_clear_error(&error);
            return "cannot load the interface file: " + text;
        }
        for (GSList* item = gtk_builder_get_objects(mBuilder); item != nullptr;) {
            LocalizeTexts(G_OBJECT(item->data));
            if (GTK_IS_WINDOW(item->data)) {
                mWindows.push_back(GTK_WIDGET(item->data));
                g_signal_connect(item->data, "destroy", G_CALLBACK(WindowDestroyed), this);
            }
            GSList* next = item->next;
            g_slist_free_1(item);
            item = next;
        }
        for (const auto& outlet : delegate.outlets()) {
            GObject* object = gtk_builder_get_object(mBuilder, outlet.name);
            if (object == nullptr || !GTK_IS_WIDGET(object)) {
                return std::string("the interface file has no control named ") + outlet.name;
            }
            std::visit([&](auto** pointer) { *pointer = wrap(pointer, object); }, outlet.pointer);
        }
        SignalContext context;
        for (auto& action : delegate.actions()) {
            context.handlers.emplace(action.name, std::move(action.handler));
        }
        gtk_builder_connect_signals_full(mBuilder, ConnectSignal, &context);
        if (!context.unknown.empty()) {
            return "the interface file names an unknown action: " + context.unknown.front();
        }
        return {};
    }

private:
    // A window destroyed from outside (a tool, a crashing window manager) ends the application
    // as closing it does, rather than leave it running with nothing on screen.
    static void WindowDestroyed(GtkWidget* window, gpointer self) {
        std::erase(static_cast<Session*>(self)->mWindows, window);
        EndApplication();
    }

    template <typename T>
    T* wrap(T** /*type*/, GObject* object) {
        auto control = std::make_unique<T>(object);
        T* raw = control.get();
        mControls.push_back(std::move(control));
        return raw;
    }

    GtkBuilder* mBuilder = nullptr;
    std::vector<GtkWidget*> mWindows;
    std::vector<std::unique_ptr<Control>> mControls;
};

std::unique_ptr<Session> LoadSession(ApplicationDelegate& delegate) {
    auto session = std::make_unique<Session>();
    const std::string error = session->load(delegate);
    if (!error.empty()) {
        std::fprintf(stderr, "ReadyCheck: %s\n", error.c_str());
        return nullptr;
    }
    return session;
}

}  // namespace

int ApplicationMain(int argc, char** argv, const DelegateFactory& makeDelegate) {
    g_set_prgname("ReadyCheck");
    QuietMissingKeyboard();
    // From the start: a signal while the toolkit starts ends the program as Close does, and one
    // during the wait for a display ends that wait.
    EndOnTerminationSignals(EndApplication);
    switch (OpenToolkitDisplay(&argc, &argv)) {
        case ToolkitDisplay::Opened:
            break;
        case ToolkitDisplay::Interrupted:
            return 0;
        case ToolkitDisplay::NoDisplay:
            std::fprintf(stderr, "ReadyCheck: %s\n", LocalizedString("NoDisplayForWindow").c_str());
            return 1;
    }
    EndOnLostDisplay(EndApplication);
    std::unique_ptr<ApplicationDelegate> delegate = makeDelegate();
    std::unique_ptr<Session> session = LoadSession(*delegate);
    if (session == nullptr) {
        return 1;
    }
    RunLoop& loop = RunLoop::main();
    g_idle_add_full(
        G_PRIORITY_HIGH,
        [](gpointer self) {
            auto* launched = static_cast<ApplicationDelegate*>(self);
            RunLoop::main().invokeGuarded(
                [launched] { launched->applicationDidFinishLaunching(); });
            return G_SOURCE_REMOVE;
        },
        delegate.get(), nullptr);
    loop.run();
    loop.cancelDelayedCalls();
    delegate.reset();
    loop.drainDeferred();
    session.reset();
    // The windows are gone: a signal now ends the last wait.
    EndOnTerminationSignals(EndClipboardHandOver);
    HandClipboardToManager(kClipboardHandOverSeconds);
    return 0;
}

void TerminateApplication() {
    RunLoop::main().stop();
    throw ApplicationTerminating{};
}

std::unique_ptr<LoadedApplication> LoadApplication(ApplicationDelegate& delegate) {
    std::unique_ptr<Session> session = LoadSession(delegate);
    if (session != nullptr) {
        RunLoop::main().resetStopped();
        RunLoop::main().invokeGuarded([&] { delegate.applicationDidFinishLaunching(); });
    }
    return session;
}

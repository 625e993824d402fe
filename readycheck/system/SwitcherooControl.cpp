#include "SwitcherooControl.h"

#include <gio/gio.h>

#include <cmath>
#include <map>

#include "RunLoop.h"
#include "SwitcherooGpus.h"

namespace {

constexpr const char* kBusName = "net.hadess.SwitcherooControl";
constexpr const char* kObjectPath = "/net/hadess/SwitcherooControl";
constexpr const char* kInterface = "net.hadess.SwitcherooControl";

// A request in flight. GIO's callbacks name it by token: one whose request went away finds
// nothing and only releases what GIO handed it.
struct Pending {
    GpuListRequest::Answer answer;
    GCancellable* cancellable;
    unsigned int bound;
};

std::map<unsigned int, Pending>& PendingRequests() {
    static std::map<unsigned int, Pending> sPending;
    return sPending;
}

gpointer AsData(unsigned int token) {
    return GUINT_TO_POINTER(token);
}

unsigned int AsToken(gpointer data) {
    return GPOINTER_TO_UINT(data);
}

// Takes the request out of the table; its answer once, or nothing when it went away.
std::optional<GpuListRequest::Answer> Take(unsigned int token) {
    auto& pending = PendingRequests();
    const auto found = pending.find(token);
    if (found == pending.end()) {
        return std::nullopt;
    }
    GpuListRequest::Answer answer = std::move(found->second.answer);
    if (found->second.bound != 0) {
        g_source_remove(found->second.bound);
    }
    g_object_unref(found->second.cancellable);
    pending.erase(found);
    return answer;
}

void Answer(unsigned int token, std::optional<std::vector<ListedGpu>> gpus) {
    if (auto answer = Take(token)) {
        RunLoop::main().invokeGuarded([&] { (*answer)(std::move(gpus)); });
    }
}

void Replied(GObject* source, GAsyncResult* result, gpointer data) {
    GDBusConnection* connection = G_DBUS_CONNECTION(source);
    GVariant* reply = g_dbus_connection_call_finish(connection, result, nullptr);
    g_dbus_connection_close(connection, nullptr, nullptr, nullptr);
    g_object_unref(connection);
    std::optional<std::vector<ListedGpu>> gpus;
    if (reply != nullptr) {
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        gpus = ReadGpus(value);
        g_variant_unref(value);
        g_variant_unref(reply);
    }
    Answer(AsToken(data), std::move(gpus));
}

void Connected(GObject* /*source*/, GAsyncResult* result, gpointer data) {
    GDBusConnection* connection = g_dbus_connection_new_for_address_finish(result, nullptr);
    const auto found = PendingRequests().find(AsToken(data));
    if (connection == nullptr || found == PendingRequests().end()) {
        if (connection != nullptr) {
            g_dbus_connection_close(connection, nullptr, nullptr, nullptr);
            g_object_unref(connection);
        }
        Answer(AsToken(data), std::nullopt);
        return;
    }
    g_dbus_connection_call(connection, kBusName, kObjectPath, "org.freedesktop.DBus.Properties",
                           "Get", g_variant_new("(ss)", kInterface, "GPUs"), G_VARIANT_TYPE("(v)"),
                           G_DBUS_CALL_FLAGS_NONE, static_cast<int>(kSwitcherooBoundSeconds * 1000),
                           found->second.cancellable, Replied, data);
}

unsigned int Start(GpuListRequest::Answer answer) {
    static unsigned int sNext = 0;
    const unsigned int token = ++sNext;
    GCancellable* cancellable = g_cancellable_new();
    // A bus that takes the connection but never answers must not hold the answer either.
    const unsigned int bound = g_timeout_add_full(
        G_PRIORITY_DEFAULT, static_cast<unsigned int>(std::lround(kSwitcherooBoundSeconds * 1000)),
        [](gpointer data) {
            auto& pending = PendingRequests();
            const auto found = pending.find(AsToken(data));
            if (found != pending.end()) {
                found->second.bound = 0;
                g_cancellable_cancel(found->second.cancellable);
            }
            return G_SOURCE_REMOVE;
        },
        AsData(token), nullptr);
    PendingRequests().emplace(token, Pending{std::move(answer), cancellable, bound});
    // A connection of its own: the shared system bus connection would end the process when the
    // bus goes away.
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr);
    g_dbus_connection_new_for_address(
        address != nullptr ? address : "",
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, cancellable, Connected, AsData(token));
    g_free(address);
    return token;
}

}  // namespace

GpuListRequest::GpuListRequest(Answer answer) : mToken(Start(std::move(answer))) {}

GpuListRequest::~GpuListRequest() {
    auto& pending = PendingRequests();
    const auto found = pending.find(mToken);
    if (found != pending.end()) {
        g_cancellable_cancel(found->second.cancellable);
        Take(mToken);
    }
}

#include "XServerConnection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <csignal>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "ServerWait.h"

namespace Graphics {

namespace {

// One connection being made, shared by the caller and the thread that makes it.
struct Attempt {
    explicit Attempt(const char* named)
        : name(named != nullptr ? std::optional<std::string>(named) : std::nullopt) {}
    ~Attempt() {
        if (made != nullptr) {
            xcb_disconnect(made);
        }
        if (done >= 0) {
            close(done);
        }
    }
    Attempt(const Attempt&) = delete;
    Attempt& operator=(const Attempt&) = delete;

    const std::optional<std::string> name;
    const int done = eventfd(0, EFD_CLOEXEC);
    std::mutex lock;
    xcb_connection_t* made = nullptr;  // handed over to the caller, or disconnected with this
    int screen = 0;
};

void Connect(const std::shared_ptr<Attempt>& attempt) {
    int screen = 0;
    xcb_connection_t* made = xcb_connect(attempt->name ? attempt->name->c_str() : nullptr, &screen);
    const std::scoped_lock held(attempt->lock);
    attempt->made = made;
    attempt->screen = screen;
    eventfd_write(attempt->done, 1);
}

// NOTE: xcb waits for the server's answer with no bound and nothing can stop it, so the connection
// is made on a thread of its own. Where the server stays silent past the bound, the thread is left
// to end by itself: once the server answers or goes away, it disconnects and ends. It takes no
// signal meant for the process.
std::optional<std::thread> StartConnecting(const std::shared_ptr<Attempt>& attempt) {
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    std::optional<std::thread> thread;
    try {
        thread.emplace(Connect, attempt);
    } catch (const std::system_error&) {
        // No thread to spare: connected on the caller's, without the bound.
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return thread;
}

}  // namespace

xcb_connection_t* ConnectToXServer(const char* name, int* screen) {
    auto attempt = std::make_shared<Attempt>(name);
    std::optional<std::thread> thread =
        attempt->done >= 0 ? StartConnecting(attempt) : std::nullopt;
    if (!thread) {
        Connect(attempt);
    } else if (!WaitForDescriptor(attempt->done, POLLIN, ServerDeadlineFromNow())) {
        const std::scoped_lock held(attempt->lock);
        if (attempt->made == nullptr) {
            thread->detach();
            return nullptr;
        }
    }
    if (thread) {
        thread->join();
    }
    xcb_connection_t* made = std::exchange(attempt->made, nullptr);
    if (xcb_connection_has_error(made) != 0) {
        xcb_disconnect(made);
        return nullptr;
    }
    if (screen != nullptr) {
        *screen = attempt->screen;
    }
    return made;
}

XServerHold HoldXServer(const char* name) {
    return XServerHold(ConnectToXServer(name));
}

Display* OpenXDisplay(const char* name) {
    const XServerHold answered = HoldXServer(name);
    return answered ? XOpenDisplay(name) : nullptr;
}

}  // namespace Graphics

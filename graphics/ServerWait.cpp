#include "ServerWait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace Graphics {

namespace {

// How often a wait looks for a termination signal: a blocked one does not interrupt poll.
constexpr std::chrono::milliseconds kSignalLookInterval{50};

}  // namespace

bool TerminationSignalWaiting() {
    sigset_t pending;
    if (sigpending(&pending) != 0) {
        return false;
    }
    return sigismember(&pending, SIGTERM) == 1 || sigismember(&pending, SIGINT) == 1 ||
           sigismember(&pending, SIGHUP) == 1;
}

bool WaitForDescriptor(int descriptor, short events, ServerDeadline deadline) {
    using std::chrono::ceil;
    using std::chrono::milliseconds;
    while (!TerminationSignalWaiting()) {
        const auto left = ceil<milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watched{descriptor, events, 0};
        const int ready =
            poll(&watched, 1, static_cast<int>(std::min(left, kSignalLookInterval).count()));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
    return false;
}

}  // namespace Graphics

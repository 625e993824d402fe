// The display rule on the test scripts' Xvfb and Weston.
#include <gtest/gtest.h>
// Xlib's macros must come after gtest.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "DisplayRule.h"
#include "WestonSession.h"

using Graphics::RuleDisplay;

namespace {

void SetOrUnset(const char* variable, const std::string& value) {
    if (value.empty()) {
        unsetenv(variable);
    } else {
        setenv(variable, value.c_str(), 1);
    }
}

// A connection to the compositor that the rule must not take: libwayland's own connect would take
// it from WAYLAND_SOCKET before it looks at WAYLAND_DISPLAY.
int SocketTo(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    EXPECT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return fd;
}

// Rows: WAYLAND_DISPLAY, DISPLAY (empty: unset), whether WAYLAND_SOCKET holds a connection to the
// compositor, and the display the rule picks.
TEST(DisplayRule, ACompositorThatAnswersThenTheXServerThenNone) {
    const char* weston = WestonSocket();
    const char* server = std::getenv("DISPLAY");
    if (weston == nullptr || server == nullptr) {
        GTEST_SKIP() << "needs DISPLAY and WESTON_DISPLAY (scripts/with-weston.sh)";
    }
    const std::string compositor = weston;
    const std::string x11 = server;
    for (const auto& [wayland, display, socket, expected] :
         std::vector<std::tuple<std::string, std::string, bool, RuleDisplay>>{
             {compositor, x11, false, RuleDisplay::Wayland},
             {compositor, "", false, RuleDisplay::Wayland},
             {"", x11, false, RuleDisplay::X11},
             {compositor + "-gone", x11, false, RuleDisplay::X11},
             {"", "", false, RuleDisplay::NoDisplay},
             {"", "", true, RuleDisplay::NoDisplay},
         }) {
        SCOPED_TRACE(::testing::Message()
                     << wayland << " " << display << (socket ? " with WAYLAND_SOCKET" : ""));
        SetOrUnset("WAYLAND_DISPLAY", wayland);
        SetOrUnset("DISPLAY", display);
        const int fd = socket ? SocketTo(compositor) : -1;
        SetOrUnset("WAYLAND_SOCKET", socket ? std::to_string(fd) : "");
        const Graphics::RuleConnection found = Graphics::ConnectByRule();
        EXPECT_EQ(
            std::tuple(found.display, found.compositor != nullptr, found.server != nullptr),
            std::tuple(expected, expected == RuleDisplay::Wayland, expected == RuleDisplay::X11));
        if (found.compositor != nullptr) {
            wl_display_disconnect(found.compositor);
        }
        if (found.server != nullptr) {
            XCloseDisplay(found.server);
        }
        if (fd >= 0) {
            close(fd);
        }
    }
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("WAYLAND_SOCKET");
    setenv("DISPLAY", x11.c_str(), 1);
}

}  // namespace

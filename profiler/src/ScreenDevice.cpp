// The X screen's GPU: the device node the X server hands its clients for rendering (DRI3), which
// is the one Mesa's GL draws the screen with.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <xcb/dri3.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "Machine.h"
#include "XServerConnection.h"

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

// The PCI device behind a DRM device node, from sysfs.
std::optional<std::string> PciAddress(int fd) {
    struct stat node {};
    if (fstat(fd, &node) != 0 || !S_ISCHR(node.st_mode)) {
        return std::nullopt;
    }
    const std::string link = "/sys/dev/char/" + std::to_string(major(node.st_rdev)) + ":" +
                             std::to_string(minor(node.st_rdev)) + "/device";
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(link, error);
    if (error) {
        return std::nullopt;
    }
    return device.filename().string();
}

std::optional<std::string> AskServer(xcb_connection_t* connection, int screenNumber) {
    const xcb_query_extension_reply_t* dri3 = xcb_get_extension_data(connection, &xcb_dri3_id);
    if (dri3 == nullptr || dri3->present == 0) {
        return std::nullopt;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        return std::nullopt;
    }
    const xcb_dri3_open_cookie_t cookie = xcb_dri3_open(connection, screens.data->root, 0);
    std::unique_ptr<xcb_dri3_open_reply_t, decltype(&std::free)> reply(
        xcb_dri3_open_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->nfd != 1) {
        return std::nullopt;
    }
    const int fd = xcb_dri3_open_reply_fds(connection, reply.get())[0];
    std::optional<std::string> address = PciAddress(fd);
    close(fd);
    return address;
}

}  // namespace

std::optional<std::string> ScreenDevice() {
    int screenNumber = 0;
    const Connection connection(Graphics::ConnectToXServer(nullptr, &screenNumber));
    if (connection == nullptr) {
        return std::nullopt;
    }
    return AskServer(connection.get(), screenNumber);
}

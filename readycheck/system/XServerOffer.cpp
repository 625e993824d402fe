#include "XServerOffer.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "XServerConnection.h"

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

xcb_query_extension_cookie_t Ask(xcb_connection_t* connection, const char* name) {
    return xcb_query_extension(connection, static_cast<uint16_t>(std::strlen(name)), name);
}

bool Present(xcb_connection_t* connection, xcb_query_extension_cookie_t cookie) {
    const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(connection, cookie, nullptr), &std::free);
    return reply && reply->present != 0;
}

}  // namespace

std::optional<XServerOffer> AskXServerOffer(const std::string& display) {
    const Connection connection(
        Graphics::ConnectToXServer(display.empty() ? nullptr : display.c_str()));
    if (connection == nullptr) {
        return std::nullopt;
    }
    // Every question goes out before an answer is awaited: one round trip.
    const xcb_query_extension_cookie_t dri3 = Ask(connection.get(), "DRI3");
    const xcb_query_extension_cookie_t dri2 = Ask(connection.get(), "DRI2");
    const xcb_query_extension_cookie_t nvidiaGlx = Ask(connection.get(), "NV-GLX");
    XServerOffer offer;
    offer.dri3 = Present(connection.get(), dri3);
    offer.dri2 = Present(connection.get(), dri2);
    offer.nvidiaGlx = Present(connection.get(), nvidiaGlx);
    return offer;
}

#include "X11Connection.h"

namespace GLPlatform {

namespace {

unsigned long sErrorCount = 0;
GLenum sLastError = 0;

int CountError(Display* /*display*/, XErrorEvent* /*event*/) {
    ++sErrorCount;
    return 0;
}

}  // namespace

std::shared_ptr<X11Connection> AcquireConnection() {
    static std::weak_ptr<X11Connection> sConnection;
    if (auto alive = sConnection.lock()) {
        return alive;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    auto connection = std::make_shared<X11Connection>(display, DefaultScreen(display));
    sConnection = connection;
    return connection;
}

X11ErrorTrap::X11ErrorTrap(Display* display)
    : mDisplay(display), mPrevious(XSetErrorHandler(CountError)), mErrorsBefore(sErrorCount) {}

X11ErrorTrap::~X11ErrorTrap() {
    XSync(mDisplay, False);
    XSetErrorHandler(mPrevious);
}

bool X11ErrorTrap::failed() {
    XSync(mDisplay, False);
    return sErrorCount != mErrorsBefore;
}

void SetLastError(GLenum code) { sLastError = code; }

GLenum aglGetError() {
    const GLenum code = sLastError;
    sLastError = 0;
    return code;
}

}  // namespace GLPlatform

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

X11Connection* AcquireConnection() {
    // NOTE: kept open for the life of the process. Closing it makes Mesa tear down its driver
    // screen, which the next probe would rebuild at a cost of about 50 ms on llvmpipe. Never
    // closed at exit either, where the driver's own clean-up may already have run.
    static X11Connection sConnection{nullptr, 0};
    if (sConnection.display == nullptr) {
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            return nullptr;
        }
        sConnection = {display, DefaultScreen(display)};
    }
    return &sConnection;
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

void SetLastError(GLenum code) {
    sLastError = code;
}

GLenum aglGetError() {
    const GLenum code = sLastError;
    sLastError = 0;
    return code;
}

}  // namespace GLPlatform

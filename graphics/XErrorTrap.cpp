#include "XErrorTrap.h"

namespace Graphics {

namespace {

unsigned long sErrorCount = 0;

int CountError(Display* /*display*/, XErrorEvent* /*event*/) {
    ++sErrorCount;
    return 0;
}

}  // namespace

XErrorTrap::XErrorTrap(Display* display, const bool* lost)
    : mDisplay(display),
      mLost(lost),
      mPrevious(XSetErrorHandler(CountError)),
      mErrorsBefore(sErrorCount) {}

XErrorTrap::~XErrorTrap() {
    if (!lost()) {
        XSync(mDisplay, False);
    }
    XSetErrorHandler(mPrevious);
}

bool XErrorTrap::failed() {
    if (!lost()) {
        XSync(mDisplay, False);
    }
    return lost() || sErrorCount != mErrorsBefore;
}

}  // namespace Graphics

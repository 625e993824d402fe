// Counts X errors instead of letting Xlib's default handler end the process.
#pragma once

#include <X11/Xlib.h>

namespace Graphics {

// The handler stays installed until the trap is destroyed, after a final XSync, so that the
// errors of every request made under the trap are counted before the previous handler is back.
class XErrorTrap {
public:
    // lost, when given, tells whether the connection has gone: nothing more is sent on it then.
    explicit XErrorTrap(Display* display, const bool* lost = nullptr);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Flushes the requests so far and tells whether any of them failed or the connection is lost.
    bool failed();

private:
    bool lost() const { return mLost != nullptr && *mLost; }

    Display* mDisplay;
    const bool* mLost;
    XErrorHandler mPrevious;
    unsigned long mErrorsBefore;
};

}  // namespace Graphics

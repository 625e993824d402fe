#include "X11Connection.h"

#include "XServerConnection.h"

namespace GLPlatform::GLX {

namespace {

Display* sGuardedDisplay = nullptr;
XIOErrorHandler sOuterIOHandler = nullptr;

// NOTE: kept open while the server lives. Closing it makes Mesa tear down its driver screen, which
// the next probe would rebuild at a cost of about 50 ms on llvmpipe. Never closed at exit either,
// where the driver's own clean-up may already have run.
ConnectionRef& Kept() {
    static auto* sConnection = new ConnectionRef();
    return *sConnection;
}

// NOTE: Xlib's default I/O handler calls exit() before the per-connection exit handler is
// reached, so one that returns must be in place as well.
int ReturnFromIOError(Display* display) {
    if (display != sGuardedDisplay && sOuterIOHandler != nullptr) {
        return sOuterIOHandler(display);
    }
    return 0;
}

// Called instead of exit(): Xlib returns to the failed call, which then answers nothing.
void MarkLost(Display* /*display*/, void* connection) {
    static_cast<X11Connection*>(connection)->serverGone = true;
}

}  // namespace

X11Connection::X11Connection(Display* open) : display(open), screen(DefaultScreen(open)) {
    XSetIOErrorExitHandler(display, MarkLost, this);
}

X11Connection::~X11Connection() {
    X11IOGuard guard(display);
    XCloseDisplay(display);
}

void KeepConnection(Display* server) {
    Kept() = std::make_shared<X11Connection>(server);
}

ConnectionRef AcquireConnection() {
    ConnectionRef& kept = Kept();
    if (kept != nullptr && kept->lost()) {
        kept.reset();
    }
    if (kept == nullptr) {
        if (Display* server = Graphics::OpenXDisplay(nullptr)) {
            KeepConnection(server);
        }
    }
    return kept;
}

X11IOGuard::X11IOGuard(Display* display)
    : mPreviousDisplay(sGuardedDisplay), mPrevious(XSetIOErrorHandler(ReturnFromIOError)) {
    if (mPrevious != ReturnFromIOError) {
        sOuterIOHandler = mPrevious;
    }
    sGuardedDisplay = display;
}

X11IOGuard::~X11IOGuard() {
    sGuardedDisplay = mPreviousDisplay;
    XSetIOErrorHandler(mPrevious);
}

}  // namespace GLPlatform::GLX

// The built program on the real driver of $DISPLAY, started as a user starts it.
#include <gtest/gtest.h>
// Xlib's macros must come after gtest.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

bool WaitFor(const std::function<bool()>& done, double seconds) {
    for (int tries = static_cast<int>(seconds * 20); tries > 0 && !done(); --tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

// The mapped top-level windows, newest first; windows that go away while listed are skipped.
std::vector<Window> MappedWindows(Display* display) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    std::vector<Window> found(children, children + count);
    XFree(children);
    std::erase_if(found, [&](Window window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display, window, &attributes) == 0 ||
               attributes.map_state != IsViewable;
    });
    return {found.rbegin(), found.rend()};
}

// What a window manager sends when the user closes a window.
void Close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

int SocketCount(pid_t pid) {
    std::error_code gone;
    const std::filesystem::directory_iterator fds("/proc/" + std::to_string(pid) + "/fd", gone);
    return static_cast<int>(std::count_if(begin(fds), end(fds), [&](const auto& fd) {
        return std::filesystem::read_symlink(fd, gone).string().starts_with("socket:");
    }));
}

// The build's program, or another copy of it (an unpacked package) named in READYCHECK_PROGRAM.
const char* const kOtherProgram = std::getenv("READYCHECK_PROGRAM");
const std::string kProgram = kOtherProgram != nullptr ? kOtherProgram : READYCHECK_PATH;

// Starts the command; the program's orphans come back to this process.
pid_t Start(std::string command) {
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), command.data(), nullptr};
    pid_t pid = 0;
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    EXPECT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ), 0);
    return pid;
}

// Expects the program to end with status 0 and leave no child behind.
void ExpectEndsCleanly(pid_t pid) {
    int status = -1;
    // Reaped once it has ended; killed if it has not within ten seconds.
    if (!WaitFor([&] { return waitpid(pid, &status, WNOHANG) != 0; }, 10.0)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "closing the window ends it";
    // Orphans that have ended come back as zombies to reap; one still running was left behind.
    EXPECT_TRUE(WaitFor([] { return waitpid(-1, nullptr, WNOHANG) == -1; }, 2.0))
        << "no child is left";
}

// Runs the program, closes its summary and window as a user does; returns the sockets it held
// with the window up.
int RunAndClose(Display* x, const std::string& command) {
    const pid_t pid = Start(command);
    EXPECT_TRUE(WaitFor([&] { return !MappedWindows(x).empty(); }, 30.0));
    const int sockets = SocketCount(pid);
    EXPECT_TRUE(WaitFor([&] { return MappedWindows(x).size() == 2; }, 15.0)) << "the summary";
    for (const Window window : MappedWindows(x)) {
        Close(x, window);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    ExpectEndsCleanly(pid);
    return sockets;
}

// Types the key with Control held, through the X server's test extension, into the window.
void TypeControlKey(Display* x, Window window, KeySym key) {
    XSetInputFocus(x, window, RevertToParent, CurrentTime);
    XSync(x, False);
    const KeyCode control = XKeysymToKeycode(x, XK_Control_L);
    XTestFakeKeyEvent(x, control, True, CurrentTime);
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), True, CurrentTime);
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), False, CurrentTime);
    XTestFakeKeyEvent(x, control, False, CurrentTime);
    XSync(x, False);
}

TEST(EndToEnd, RevealsTheSummaryAndClosesCleanlyOnTheDisplayGivenEitherWay) {
    Display* x = XOpenDisplay(nullptr);
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    if (x == nullptr) {
        GTEST_SKIP() << "no display";
    }
    const int byEnvironment = RunAndClose(x, "exec " + kProgram);
    // Named by --display alone, the server must reach the probes too: the same connections.
    EXPECT_EQ(RunAndClose(x, "exec env -u DISPLAY " + kProgram + " --display=" + DisplayString(x)),
              byEnvironment);
    XCloseDisplay(x);
}

// Typed during the reveal, while the stand-in program's profiler still runs: the window closes by
// the close action, which stops the profiler.
TEST(EndToEnd, ControlWAndControlQCloseTheWindowAndStopTheProfiler) {
    if (kOtherProgram != nullptr) {
        GTEST_SKIP() << "the keys are the window's: tested on the build's stand-in program";
    }
    Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        GTEST_SKIP() << "no display";
    }
    for (const KeySym key : {XK_w, XK_q}) {
        const pid_t pid = Start("exec env READYCHECK_STANDIN_MASK=0x1F " STANDIN_PATH);
        ASSERT_TRUE(WaitFor([&] { return !MappedWindows(x).empty(); }, 30.0));
        TypeControlKey(x, MappedWindows(x).front(), key);
        EXPECT_TRUE(WaitFor([&] { return MappedWindows(x).empty(); }, 5.0)) << XKeysymToString(key);
        ExpectEndsCleanly(pid);
    }
    XCloseDisplay(x);
}

// A Wayland session without XWayland: no window, no verdict, one line saying why.
TEST(EndToEnd, WithoutAnXDisplayItSaysSoAndMeasuresNothing) {
    const std::string command =
        "env -u DISPLAY WAYLAND_DISPLAY=wayland-none timeout 20 " + kProgram + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output(512, '\0');
    output.resize(std::fread(output.data(), 1, output.size(), pipe));
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 1) << "neither a hang (124) nor a crash";
    EXPECT_EQ(output,
              "ReadyCheck: cannot open an X display; set DISPLAY to a running X server or turn on "
              "XWayland\n");
}

}  // namespace

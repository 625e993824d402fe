// The built program on the real driver of $DISPLAY: its window, a screenshot, and a clean end.
#include <gtest/gtest.h>
// Xlib's macros must come after gtest.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Windows come and go while they are listed: an X error is no reason to end the test.
int IgnoreXError(Display* /*display*/, XErrorEvent* /*event*/) {
    return 0;
}

// Ends the program if the test stops before it has.
struct ChildGuard {
    pid_t pid = 0;
    ~ChildGuard() {
        if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

struct XConnection {
    Display* display = (XSetErrorHandler(IgnoreXError), XOpenDisplay(nullptr));
    ~XConnection() {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
};

std::string WindowName(Display* display, Window window) {
    char* name = nullptr;
    std::string text;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        text = name;
        XFree(name);
    }
    return text;
}

bool IsMapped(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

// Mapped top-level windows with the name; GTK's toplevels are children of the root here.
std::vector<Window> MappedWindowsNamed(Display* display, const std::string& name) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> found;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
        if (IsMapped(display, children[i]) && WindowName(display, children[i]) == name) {
            found.push_back(children[i]);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

bool WaitFor(const std::function<bool()>& done, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// What a window manager sends when the user closes a window.
void SendDeleteWindow(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

int CountProcessesRunning(const std::string& path) {
    const std::string command = "pgrep -c -f '^" + path +
                                "' > /tmp/readycheck-pgrep.$$; cat /tmp/readycheck-pgrep.$$; rm -f "
                                "/tmp/readycheck-pgrep.$$";
    FILE* pipe = popen(command.c_str(), "r");
    int count = 0;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%d", &count) != 1) {
            count = 0;
        }
        pclose(pipe);
    }
    return count;
}

// The build's program, or another copy of it (an unpacked package) named in READYCHECK_PROGRAM.
std::string ProgramPath() {
    const char* other = std::getenv("READYCHECK_PROGRAM");
    return other != nullptr ? other : READYCHECK_PATH;
}

// The profiler as the program starts it: beside the program's own directory.
std::string ProfilerPath() {
    const std::string program = ProgramPath();
    return program.substr(0, program.rfind('/')) + "/../libexec/readycheck/system_profiler";
}

TEST(EndToEnd, ShowsTheWindowRevealsTheSummaryAndClosesCleanly) {
    XConnection x;
    if (x.display == nullptr) {
        GTEST_SKIP() << "no display";
    }
    std::string program = ProgramPath();
    char* argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    ChildGuard guard{pid};

    std::vector<Window> main;
    ASSERT_TRUE(WaitFor(
        [&] { return !(main = MappedWindowsNamed(x.display, "ReadyCheck")).empty(); }, 30.0))
        << "the result window appears";
    // The summary alert, an untitled window, comes about two seconds later.
    std::vector<Window> alert;
    ASSERT_TRUE(
        WaitFor([&] { return !(alert = MappedWindowsNamed(x.display, "")).empty(); }, 15.0));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(std::system("import -window root readycheck-end-to-end.png"), 0);

    SendDeleteWindow(x.display, alert.front());
    ASSERT_TRUE(WaitFor([&] { return MappedWindowsNamed(x.display, "").empty(); }, 10.0));
    SendDeleteWindow(x.display, main.front());

    int status = 0;
    const bool exited = WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 10.0);
    guard.pid = exited ? 0 : pid;
    ASSERT_TRUE(exited) << "closing the window ends the program";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(CountProcessesRunning(ProfilerPath()), 0) << "no child is left behind";
    EXPECT_TRUE(MappedWindowsNamed(x.display, "ReadyCheck").empty());
}

TEST(EndToEnd, WithoutADisplayItSaysSoAndFails) {
    std::string command = "env -u DISPLAY " + ProgramPath() + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = pclose(pipe);
    ASSERT_TRUE(read);
    EXPECT_NE(std::string(line).find("display"), std::string::npos) << line;
    EXPECT_NE(WEXITSTATUS(status), 0);
}

}  // namespace

// The built program on the real driver of $DISPLAY, started as a user starts it.
#include <gtest/gtest.h>
// Xlib's macros must come after gtest.
#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// Runs the program, closes its summary and window as a user does; returns the sockets it held
// with the window up.
int RunAndClose(Display* x, std::string command) {
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), command.data(), nullptr};
    pid_t pid = 0;
    prctl(PR_SET_CHILD_SUBREAPER, 1);  // the program's orphans come back to this process
    EXPECT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ), 0);
    EXPECT_TRUE(WaitFor([&] { return !MappedWindows(x).empty(); }, 30.0));
    const int sockets = SocketCount(pid);
    EXPECT_TRUE(WaitFor([&] { return MappedWindows(x).size() == 2; }, 15.0)) << "the summary";
    for (const Window window : MappedWindows(x)) {
        Close(x, window);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
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
    return sockets;
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

// What a command line gives: the status, standard output and standard error.
struct Ran {
    int status;
    std::string output;
    std::string errors;
};

std::string Contents(FILE* file) {
    std::string text;
    char buffer[4096];
    for (std::size_t read = 0; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, read);
    }
    return text;
}

Ran RunCommand(const std::string& command) {
    FILE* errors = std::tmpfile();
    const std::string redirected = "timeout 30 " + command + " 2>/proc/" +
                                   std::to_string(getpid()) + "/fd/" +
                                   std::to_string(fileno(errors));
    FILE* pipe = popen(redirected.c_str(), "r");
    Ran ran{0, Contents(pipe), {}};
    ran.status = WEXITSTATUS(pclose(pipe));
    std::rewind(errors);
    ran.errors = Contents(errors);
    std::fclose(errors);
    return ran;
}

// --help and --version need no display; the check itself needs one; a wrong command line is
// one line on standard error and status 64, and nothing else is written anywhere.
TEST(CommandLine, ExitStatusesAndOneLineOnStandardError) {
    // GLib's own messages follow the locale; these rows are in English.
    const std::string program = "env LC_ALL=C LANGUAGE= " + kProgram;
    const std::string noDisplay =
        "env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C LANGUAGE= " + kProgram;
    const std::string usage = " (see ReadyCheck --help)\n";
    const std::string cannot =
        "ReadyCheck: cannot open an X display; set DISPLAY to a running X server\n";
    const struct {
        std::string command;
        int status;
        std::string output;  // its first line
        std::string errors;
    } rows[] = {
        {noDisplay + " --version", 0, "ReadyCheck 1.0.0", ""},
        {noDisplay + " -h", 0, "Usage:", ""},
        {noDisplay + " --report", 1, "", cannot},
        {noDisplay + " --json", 1, "", cannot},
        {program + " --no-such-option", 64, "",
         "ReadyCheck: Unknown option --no-such-option" + usage},
        {program + " --json --report", 64, "",
         "ReadyCheck: --report and --json cannot be used together" + usage},
        {program + " --version --help", 64, "",
         "ReadyCheck: --version and --help cannot be used together" + usage},
        {program + " --report now", 64, "", "ReadyCheck: unexpected argument: now" + usage},
        {program + " --report --display=:0", 64, "",
         "ReadyCheck: Unknown option --display=:0" + usage},
    };
    for (const auto& row : rows) {
        const Ran ran = RunCommand(row.command);
        EXPECT_EQ(ran.status, row.status) << row.command;
        EXPECT_EQ(ran.output.substr(0, ran.output.find('\n')), row.output) << row.command;
        EXPECT_EQ(ran.errors, row.errors) << row.command;
    }
}

// The report is written without a window ever being mapped, and leaves no process behind.
TEST(CommandLine, ReportMapsNoWindowAndLeavesNothingRunning) {
    Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        GTEST_SKIP() << "no display";
    }
    const std::size_t before = MappedWindows(x).size();
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    FILE* pipe = popen((kProgram + " --report").c_str(), "r");
    std::size_t most = before;
    std::string output;
    for (int c = 0; (c = std::fgetc(pipe)) != EOF;) {
        output += static_cast<char>(c);
        most = std::max(most, MappedWindows(x).size());
    }
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 0);
    EXPECT_EQ(most, before) << "no window";
    EXPECT_TRUE(output.starts_with("ReadyCheck 1.0.0\n")) << output;
    EXPECT_TRUE(WaitFor([] { return waitpid(-1, nullptr, WNOHANG) == -1; }, 2.0))
        << "no child is left";
    XCloseDisplay(x);
}

}  // namespace

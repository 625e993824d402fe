// The built program on the real driver of $DISPLAY and of $WESTON_DISPLAY, and with no display,
// started as a user starts it, and its ways out.
#include <gmock/gmock.h>
#include <json-glib/json-glib.h>
// Xlib's macros must come after gtest.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FileText.h"
#include "Processes.h"
#include "RunProgram.h"
#include "SchemaCheck.h"
#include "StartedProgram.h"
#include "WaitFor.h"
#include "WestonSession.h"

namespace {

namespace fs = std::filesystem;

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

// With no display at all, in English. NOTE: such a check draws on the EGL device, and there it
// runs without the leak checker: under load, clang 14's LeakSanitizer crashed in its own tracer at
// the exit of such a process ("Tracer caught signal 11"), after the program had answered, and
// failed these tests at random. The X11 and Wayland runs keep the checker; the normal build
// ignores the option.
const char* const kLeakChecks = std::getenv("ASAN_OPTIONS");
const std::string kWithoutLeakCheck =
    std::string(kLeakChecks != nullptr ? kLeakChecks : "") + ":detect_leaks=0";
const std::string kNoDisplay =
    "env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C LANGUAGE= ASAN_OPTIONS=" + kWithoutLeakCheck + " ";

// Which of Mesa's GL layers the process has loaded: what its probes and renderer information
// went through.
std::string MesaLayers(pid_t pid) {
    const std::string text = FileText("/proc/" + std::to_string(pid) + "/maps");
    return std::string(text.find("/libGLX_mesa") != std::string::npos ? "GLX" : "") +
           (text.find("/libEGL_mesa") != std::string::npos ? "EGL" : "");
}

// The sockets the process holds, and the GL layers it has loaded.
std::string Connections(pid_t pid) {
    return std::to_string(SocketCount(pid)) + " sockets, " + MesaLayers(pid);
}

// Runs the program, closes its summary and window as a user does; returns the sockets it held
// with the window up, and the GL layers it used.
std::string RunAndClose(Display* x, const Command& command) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);  // the program's orphans come back to this process
    StartedProgram program(command);
    EXPECT_TRUE(WaitFor([&] { return !MappedWindows(x).empty(); }, 30.0));
    EXPECT_TRUE(WaitFor([&] { return MappedWindows(x).size() == 2; }, 15.0)) << "the summary";
    // Counted with the summary up: the connections the window keeps, not one that the lookup of
    // the other graphics cards opens for a moment after the profiler has ended.
    std::string used = Connections(program.pid());
    for (const Window window : MappedWindows(x)) {
        Close(x, window);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_TRUE(program.endsCleanly(10.0)) << "closing the window ends it";
    EXPECT_TRUE(NoChildLeft(2.0)) << "no child is left";
    return used;
}

// The test scripts' compositor with no X display.
EnvironmentChanges OnlyWeston() {
    EnvironmentChanges session = WestonSession();
    session.emplace_back("DISPLAY", nullptr);
    return session;
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
    const std::string byEnvironment = RunAndClose(x, {{kProgram}});
    EXPECT_EQ(byEnvironment.substr(byEnvironment.find(", ")), ", GLX");
    // Named by --display alone, the server must reach the probes too: the same connections. It
    // wins over a compositor, for the window and the probes alike.
    const std::string option = "--display=" + std::string(DisplayString(x));
    EXPECT_EQ(RunAndClose(x, {{kProgram, option}, {{"DISPLAY", nullptr}}}), byEnvironment);
    if (!WestonSession().empty()) {
        EXPECT_EQ(RunAndClose(x, {{kProgram, option}, OnlyWeston()}), byEnvironment);
    }
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
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        StartedProgram program({{STANDIN_PATH}, {{"READYCHECK_STANDIN_MASK", "0x1F"}}});
        ASSERT_TRUE(WaitFor([&] { return !MappedWindows(x).empty(); }, 30.0));
        TypeControlKey(x, MappedWindows(x).front(), key);
        EXPECT_TRUE(WaitFor([&] { return MappedWindows(x).empty(); }, 5.0)) << XKeysymToString(key);
        EXPECT_TRUE(program.endsCleanly(10.0)) << XKeysymToString(key);
        EXPECT_TRUE(NoChildLeft(2.0)) << "no child is left";
    }
    XCloseDisplay(x);
}

// A compositor wins over an X server, as in GTK's own order, also where GTK finds it without
// WAYLAND_DISPLAY ($XDG_RUNTIME_DIR/wayland-0): the window is a Wayland one, and the probes keep a
// connection to the same compositor and draw there through EGL. Each ends as Close does. GTK's
// complaints about the headless compositor's missing seat are its own.
TEST(EndToEnd, WithACompositorTheWindowAndTheProbesUseIt) {
    if (WestonSession().empty()) {
        GTEST_SKIP() << "needs WESTON_DISPLAY (scripts/with-weston.sh)";
    }
    const fs::path runtime = fs::absolute("default-socket");
    fs::remove_all(runtime);
    fs::create_directory(runtime);
    fs::create_symlink(WestonSocket(), runtime / "wayland-0");
    // Beside an X server, GTK would start a session bus through it for the compositor's settings.
    EnvironmentChanges noBus = WestonSession();
    noBus.emplace_back("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    const std::string expected = "2 sockets, EGL";
    for (const EnvironmentChanges& environment : {OnlyWeston(),
                                                  noBus,
                                                  {{"DISPLAY", nullptr},
                                                   {"WAYLAND_DISPLAY", nullptr},
                                                   {"XDG_RUNTIME_DIR", runtime.string()}}}) {
        StartedProgram program(
            {.arguments = {kProgram}, .environment = environment, .errorsIntoOutput = true},
            StartedProgram::Output::Discarded);
        EXPECT_TRUE(WaitFor([&] { return Connections(program.pid()) == expected; }, 10.0))
            << EnvArguments(environment) << ": " << Connections(program.pid());
        kill(program.pid(), SIGTERM);
        EXPECT_TRUE(program.endsCleanly(5.0)) << EnvArguments(environment);
    }
    fs::remove_all(runtime);
}

// No display at all: the window says so in one line, and measures nothing.
TEST(EndToEnd, WithoutAnyDisplayItSaysSoAndMeasuresNothing) {
    const Ran ran = RunProgram({.arguments = {kProgram},
                                .environment = {{"DISPLAY", nullptr},
                                                {"WAYLAND_DISPLAY", nullptr},
                                                {"XDG_RUNTIME_DIR", nullptr},
                                                {"LC_ALL", "C"},
                                                {"LANGUAGE", ""}},
                                .bound = 20,
                                .errorsIntoOutput = true});
    EXPECT_EQ(ran.status, 1) << "neither a hang nor a crash";
    EXPECT_EQ(ran.output,
              "ReadyCheck: cannot open a display for the window; set WAYLAND_DISPLAY or DISPLAY, "
              "or check without one: ReadyCheck --report\n");
}

// A command line as the shell runs it, within 30 seconds.
Ran RunCommand(const std::string& command) {
    return RunProgram({.arguments = {"/bin/sh", "-c", command}, .bound = 30});
}

// The ways in. --help, --version and the check without a window need no display; a wrong command
// line is one line on standard error and status 64, a check with no driver at all status 1, and
// nothing else is written anywhere. Help takes GTK's options, and tells them; our texts follow the
// language. A server that accepts and never answers (a socket that nothing reads, a stopped Weston,
// a stopped Xvfb, each the test's own) counts as absent after its bound, and a signal during that
// wait ends the program at once; an X server that resets once its last client leaves is used as
// any other. An answer that cannot be written is never status 0. No way in leaves a process
// running.
TEST(CommandLine, ExitStatusesAndOneLineOnStandardError) {
    prctl(PR_SET_CHILD_SUBREAPER, 1);  // the programs' orphans come back to this process
    const fs::path servers = fs::absolute("ways-in");
    fs::remove_all(servers);
    fs::create_directory(servers);
    fs::permissions(servers, fs::perms::owner_all);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    (servers / "silent").string().copy(address.sun_path, sizeof address.sun_path - 1);
    const int silent = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    EXPECT_EQ(bind(silent, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(silent, 64), 0);
    StartedProgram weston(
        {{"weston", "--backend=headless-backend.so", "--no-config", "--socket=stopped"},
         {{"XDG_RUNTIME_DIR", servers.string()}}},
        StartedProgram::Output::Discarded);
    // Each writes its display number in a file of that name. Started bare, as a user may start one:
    // it resets whenever its last client leaves.
    const auto startXvfb = [&](const std::string& name) {
        return StartedProgram(
            {{"sh", "-c", "exec Xvfb -displayfd 3 -nolisten tcp 3>\"$0\" 2>/dev/null",
              (servers / name).string()}},
            StartedProgram::Output::Discarded);
    };
    StartedProgram xvfb = startXvfb("xvfb");
    StartedProgram bare = startXvfb("bare");
    std::string stoppedX;
    std::string bareX;
    ASSERT_TRUE(WaitFor(
        [&] {
            return std::getline(std::ifstream(servers / "xvfb"), stoppedX) &&
                   std::getline(std::ifstream(servers / "bare"), bareX) &&
                   fs::exists(servers / "stopped");
        },
        20.0));
    kill(weston.pid(), SIGSTOP);
    kill(xvfb.pid(), SIGSTOP);
    // libwayland's own socket, for XWayland: the scripts' compositor where there is one.
    const fs::path beside = servers / "beside";
    fs::create_directory(beside);
    if (WestonSocket() != nullptr) {
        fs::create_symlink(WestonSocket(), beside / "wayland-0");
    }

    // GLib's own messages follow the locale; these rows are in English, but for the German ones.
    const std::string program = "env LC_ALL=C LANGUAGE= " + kProgram;
    const std::string noDisplay = kNoDisplay + kProgram;
    const std::string german = "env LC_ALL=C LANGUAGE=de " + kProgram;
    const std::string usage = " (see ReadyCheck --help)\n";
    const std::string wayland =
        " XDG_RUNTIME_DIR=" + servers.string() + " WAYLAND_DISPLAY=" + servers.string();
    const std::string compositor = "env LC_ALL=C LANGUAGE=" + wayland;
    const std::string silentAlone =
        "env -u DISPLAY LC_ALL=C LANGUAGE=" + wayland + "/silent " + kProgram;
    const std::string stoppedServer =
        "env LC_ALL=C LANGUAGE= WAYLAND_DISPLAY= DISPLAY=:" + stoppedX + " " + kProgram;
    const std::string bareServer =
        "env LC_ALL=C LANGUAGE= WAYLAND_DISPLAY= DISPLAY=:" + bareX + " " + kProgram;
    // A termination signal a second in, and no more than a second and a half to end.
    const std::string signalled = "timeout -s KILL 2.5 timeout --preserve-status -s TERM 1 ";
    const std::string noWindow =
        "ReadyCheck: cannot open a display for the window; set WAYLAND_DISPLAY or DISPLAY, or "
        "check without one: ReadyCheck --report\n";
    const auto lost = [](const std::string& why) {
        return "ReadyCheck: could not write to standard output: " + why + "\n";
    };
    const std::string onX11 = "  \"display_system\" : \"x11\",";
    const std::string besideX =
        "env -u WAYLAND_DISPLAY LC_ALL=C LANGUAGE= XDG_RUNTIME_DIR=" + beside.string() + " ";
    const struct {
        std::string command;
        int status;
        std::string output;  // one of its lines; none at all where empty
        std::string errors;
    } rows[] = {
        {noDisplay + " --version", 0, "ReadyCheck 1.0.0", ""},
        {noDisplay + " -h", 0, "Usage:", ""},
        {noDisplay + " -h --display=:0", 0, "  -h, --help     Show the options", ""},
        {noDisplay + " --help-all", 0, "  --display=DISPLAY        X display to use", ""},
        {noDisplay + " --help-gtk", 0, "GTK+ Options", ""},
        {noDisplay + " --report", 0, "ReadyCheck 1.0.0", ""},
        {noDisplay + " --json", 0, "{", ""},
        {kNoDisplay + "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent " + kProgram + " --json", 1, "",
         "ReadyCheck: no OpenGL driver answered on any graphics device (there is no display)\n"},
        {noDisplay + " -- --json", 64, "", "ReadyCheck: unexpected argument: --json" + usage},
        {program + " --json=false", 64, "", "ReadyCheck: --json takes no value" + usage},
        {program + " --report=", 64, "", "ReadyCheck: --report takes no value" + usage},
        {program + " --help=1", 64, "", "ReadyCheck: --help takes no value" + usage},
        {program + " --$(head -c 100000 /dev/zero | tr '\\0' x)", 64, "",
         "ReadyCheck: Unknown option --" + std::string(63, 'x') + "\u2026" + usage},
        {german + " -h", 0,
         "  --report       Ohne Fenster pr\u00fcfen und den Bericht als Text ausgeben", ""},
        {german + " --report now", 64, "",
         "ReadyCheck: unerwartetes Argument: now (siehe ReadyCheck --help)\n"},
        {program + " --no-such-option", 64, "",
         "ReadyCheck: Unknown option --no-such-option" + usage},
        {program + " --json --report", 64, "",
         "ReadyCheck: --report and --json cannot be used together" + usage},
        {program + " --version --help", 64, "",
         "ReadyCheck: --version and --help cannot be used together" + usage},
        {program + " --report now", 64, "", "ReadyCheck: unexpected argument: now" + usage},
        {program + " --report --display=:0", 64, "",
         "ReadyCheck: Unknown option --display=:0" + usage},
        {bareServer + " --json", 0, onX11, ""},
        {bareServer + " --report", 0, "Display system: X11", ""},
        {compositor + "/silent " + kProgram + " --json", 0, onX11, ""},
        {compositor + "/nosuch " + kProgram + " --json", 0, onX11, ""},
        {compositor + "/nosuch XDG_SESSION_TYPE=wayland " + kProgram + " --json", 0, onX11, ""},
        {besideX + kProgram + " --json", 0,
         WestonSocket() != nullptr ? "  \"display_system\" : \"xwayland\"," : onX11, ""},
        {compositor + "/stopped " + kProgram + " --report", 0, "Display system: X11", ""},
        {stoppedServer + " --json", 0, "  \"display_system\" : \"none\",", ""},
        {silentAlone, 1, "", noWindow},
        {stoppedServer, 1, "", noWindow},
        {signalled + compositor + "/silent " + kProgram + " --json", 1, "",
         "ReadyCheck: interrupted by a signal\n"},
        {signalled + stoppedServer + " --report", 1, "", "ReadyCheck: interrupted by a signal\n"},
        {signalled + silentAlone, 0, "", ""},
        {signalled + stoppedServer, 0, "", ""},
        {program + " --json >/dev/full", 1, "", lost("No space left on device")},
        {program + " --help >/dev/full", 1, "", lost("No space left on device")},
        {program + " --version >/dev/full", 1, "", lost("No space left on device")},
        {program + " --report >&-", 1, "", lost("Bad file descriptor")},
        {"bash -o pipefail -c '" + program + " --json | true'", 1, "", lost("Broken pipe")},
        {"bash -o pipefail -c '" + program + " --report | head -c0'", 1, "", lost("Broken pipe")},
    };
    for (const auto& row : rows) {
        const Ran ran = RunCommand(row.command);
        const std::string shown =
            row.command.substr(0, 160) + " (" + std::to_string(ran.seconds).substr(0, 4) + " s)";
        EXPECT_EQ(ran.status, row.status) << shown;
        if (row.output.empty()) {
            EXPECT_EQ(ran.output, "") << shown;
        } else {
            EXPECT_NE(("\n" + ran.output).find("\n" + row.output + "\n"), std::string::npos)
                << shown << "\n"
                << ran.output;
        }
        EXPECT_EQ(ran.errors, row.errors) << shown;
        EXPECT_TRUE(NoChildLeft(2.0, {weston.pid(), xvfb.pid(), bare.pid()})) << shown;
    }
    weston.stop(SIGKILL);
    xvfb.stop(SIGKILL);
    bare.stop(SIGKILL);
    close(silent);
    fs::remove_all(servers);
}

// One JSON field's value as written, "63" or "\"llvmpipe ...\"".
std::string Field(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\" : ";
    const std::size_t start = json.find(key);
    if (start == std::string::npos) {
        return "none";
    }
    const std::size_t value = start + key.size();
    const std::string line = json.substr(value, json.find('\n', value) - value);
    return line.ends_with(',') ? line.substr(0, line.size() - 1) : line;
}

// Mesa's drivers answer the same through GLX on the X server, through EGL on the compositor and
// through EGL on the device with no display at all: the mask, the identity and the rendering.
TEST(CommandLine, TheSameAnswersOnEachDisplay) {
    if (std::getenv("DISPLAY") == nullptr || WestonSession().empty()) {
        GTEST_SKIP() << "needs DISPLAY and WESTON_DISPLAY (scripts/with-weston.sh)";
    }
    const EnvironmentChanges x{{"WAYLAND_DISPLAY", nullptr}};
    const EnvironmentChanges wayland = OnlyWeston();
    // As kNoDisplay, without the leak checker.
    const EnvironmentChanges device{{"DISPLAY", nullptr},
                                    {"WAYLAND_DISPLAY", nullptr},
                                    {"LC_ALL", "C"},
                                    {"LANGUAGE", ""},
                                    {"ASAN_OPTIONS", kWithoutLeakCheck}};
    const char* const fields[] = {"feature_mask", "manufacturer", "renderer", "driver_version",
                                  "rendering"};
    for (const auto& [name, chosen, mask] :
         {std::tuple{"llvmpipe", EnvironmentChanges{}, "63"},
          std::tuple{"softpipe", EnvironmentChanges{{"GALLIUM_DRIVER", "softpipe"}}, "47"}}) {
        const EnvironmentChanges driver = chosen;
        const auto answers = [&](EnvironmentChanges environment, const char* system) {
            environment.insert(environment.end(), driver.begin(), driver.end());
            const Ran ran = RunProgram(
                {.arguments = {kProgram, "--json"}, .environment = environment, .bound = 30});
            EXPECT_EQ(ran.errors, "") << EnvArguments(environment);
            EXPECT_EQ(SchemaFaults(ran.output), "") << EnvArguments(environment);
            EXPECT_EQ(Field(ran.output, "display_system"), std::string("\"") + system + "\"");
            std::string found = std::to_string(ran.status);
            for (const char* field : fields) {
                found += "|";
                found += Field(ran.output, field);
            }
            return found;
        };
        const std::string glx = answers(x, "x11");
        EXPECT_TRUE(glx.starts_with(std::string("0|") + mask + "|")) << glx;
        EXPECT_TRUE(glx.ends_with("|\"software\"")) << glx;
        EXPECT_NE(glx.find(name), std::string::npos) << glx;
        EXPECT_EQ(answers(wayland, "wayland"), glx) << name;
        EXPECT_EQ(answers(device, "none"), glx) << name;
    }
}

// Whatever a driver prints goes to standard error: the report, the JSON object and the card
// helper's answer stay whole, and valid against the schema.
TEST(CommandLine, DriverTextStaysOutOfTheAnswer) {
    const std::string helper =
        (fs::path(kProgram).parent_path() / "../libexec/readycheck/probe_card").string();
    const std::string device = kNoDisplay;
    const std::string warns = device + "MESA_EXTENSION_OVERRIDE=-GL_ARB_multisample ";
    const std::string warning = "Warning: extension 'GL_ARB_multisample' cannot be disabled\n";
    const struct {
        std::string command;
        std::string definition;  // of the schema; none for the report
        std::string errors;
    } rows[] = {
        {device + kProgram + " --json", "", ""},
        {warns + kProgram + " --json", "", warning},
        {warns + kProgram + " --report", "none", warning},
        {device + "GALLIUM_DRIVER=softpipe " + helper, "card_answer", ""},
        {warns + helper, "card_answer", warning},
    };
    for (const auto& row : rows) {
        const Ran ran = RunCommand(row.command);
        EXPECT_EQ(ran.status, 0) << row.command;
        EXPECT_EQ(ran.errors, row.errors) << row.command;
        if (row.definition == "none") {
            EXPECT_TRUE(ran.output.starts_with("ReadyCheck 1.0.0\nOperating system: "))
                << ran.output;
        } else {
            EXPECT_EQ(SchemaFaults(ran.output, row.definition), "") << row.command;
        }
    }
}

// The answers' causes: each "id name=value; name=value" as --json gives it, the main card's
// first and then each other card's, with their advice; and the report's "Cause:" and "What to
// do:" lines. English, as under LC_ALL=C.
struct Explained {
    std::vector<std::string> causes;
    std::vector<std::string> advice;
    std::vector<std::string> reportCauses;
    std::vector<std::string> reportAdvice;
};

void AddCauses(JsonObject* holder, const std::string& card, Explained& explained) {
    JsonArray* causes = json_object_get_array_member(holder, "causes");
    for (guint i = 0; causes != nullptr && i < json_array_get_length(causes); ++i) {
        JsonObject* cause = json_array_get_object_element(causes, i);
        std::string text = card + json_object_get_string_member(cause, "id");
        const char* separator = " ";
        JsonObject* evidence = json_object_get_object_member(cause, "evidence");
        GList* names = json_object_get_members(evidence);  // in the order written
        for (GList* name = names; name != nullptr; name = name->next, separator = "; ") {
            const auto* key = static_cast<const char*>(name->data);
            text.append(separator).append(key).append("=");
            text.append(json_object_get_string_member(evidence, key));
        }
        g_list_free(names);
        explained.causes.push_back(text);
        explained.advice.emplace_back(json_object_get_string_member(cause, "advice"));
    }
}

Explained Explain(const std::string& command) {
    const std::string english = "env LC_ALL=C LANGUAGE= " + command;
    const Ran json = RunCommand(english + " --json");
    const Ran report = RunCommand(english + " --report");
    EXPECT_EQ(json.status, 0) << command << ": " << json.errors;
    EXPECT_EQ(report.status, 0) << command << ": " << report.errors;
    Explained explained;
    JsonParser* parser = json_parser_new();
    if (json_parser_load_from_data(parser, json.output.c_str(), -1, nullptr) != FALSE) {
        JsonObject* root = json_node_get_object(json_parser_get_root(parser));
        AddCauses(root, "", explained);
        JsonArray* cards = json_object_get_array_member(root, "other_cards");
        for (guint i = 0; i < json_array_get_length(cards); ++i) {
            JsonObject* card = json_array_get_object_element(cards, i);
            AddCauses(card, json_object_get_string_member(card, "name") + std::string(": "),
                      explained);
        }
    }
    g_object_unref(parser);
    std::istringstream lines(report.output);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Cause: ")) {
            explained.reportCauses.push_back(line.substr(7));
        } else if (line.starts_with("What to do: ")) {
            explained.reportAdvice.push_back(line.substr(12));
        }
    }
    return explained;
}

// The variables that change the driver's answers, unset: each case sets its own.
const std::string kDriverUntouched =
    "env -u LIBGL_ALWAYS_SOFTWARE -u GALLIUM_DRIVER -u MESA_LOADER_DRIVER_OVERRIDE "
    "-u LIBGL_ALWAYS_INDIRECT -u __GLX_VENDOR_LIBRARY_NAME -u __EGL_VENDOR_LIBRARY_FILENAMES "
    "-u MESA_GL_VERSION_OVERRIDE -u MESA_EXTENSION_OVERRIDE -u LIBGL_DRIVERS_PATH ";

// The report and the JSON name the same causes, one for one, with the same advice.
void ExpectOneSetOfCauses(const Explained& explained, const std::string& what) {
    EXPECT_EQ(explained.reportAdvice, explained.advice) << what;
    EXPECT_EQ(explained.reportCauses.size(), explained.causes.size()) << what;
}

// A render node of the device's own, or of its virtio device's: a GPU that draws for others.
bool HasRenderNode(const fs::path& device) {
    std::error_code error;
    std::vector<fs::path> folders{device / "drm"};
    for (const auto& child : fs::directory_iterator(device, error)) {
        folders.push_back(child.path() / "drm");
    }
    for (const fs::path& folder : folders) {
        for (const auto& node : fs::directory_iterator(folder, error)) {
            if (node.path().filename().string().starts_with("renderD")) {
                return true;
            }
        }
    }
    return false;
}

// What the test sees of this machine itself: the X server's extensions, the kernel's PCI display
// controllers and DRM devices.
struct Seen {
    bool virtualXServer = false;  // it offers neither DRI3 nor DRI2 (nor NVIDIA's own GLX)
    bool controllers = false;     // a PCI display controller
    bool drawingGpu = false;      // one with a render node: a GPU that draws for others
    bool drmDevices = false;
};

Seen SeeThisMachine(Display* x) {
    Seen seen;
    int opcode = 0, event = 0, error = 0;
    seen.virtualXServer = XQueryExtension(x, "DRI3", &opcode, &event, &error) == False &&
                          XQueryExtension(x, "DRI2", &opcode, &event, &error) == False &&
                          XQueryExtension(x, "NV-GLX", &opcode, &event, &error) == False;
    std::error_code failed;
    for (const auto& device : fs::directory_iterator("/sys/bus/pci/devices", failed)) {
        std::string deviceClass;
        std::ifstream(device.path() / "class") >> deviceClass;
        if (deviceClass.starts_with("0x03")) {
            seen.controllers = true;
            seen.drawingGpu = seen.drawingGpu || HasRenderNode(device.path());
        }
    }
    for (const auto& entry : fs::directory_iterator("/sys/class/drm", failed)) {
        const std::string name = entry.path().filename();
        seen.drmDevices =
            seen.drmDevices || (name.starts_with("card") && name.find('-') == name.npos);
    }
    return seen;
}

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::StartsWith;
using Causes = ::testing::Matcher<const std::vector<std::string>&>;

Causes First(const std::string& cause) {
    return ::testing::ResultOf(
        [](const std::vector<std::string>& causes) { return causes.empty() ? "" : causes[0]; },
        cause);
}

// Why this machine is not ready, as the test itself sees it: under an X server that offers no way
// to draw on a GPU, the program names that virtual X server; where the kernel knows no graphics
// device, it names that too, and neither where the test sees otherwise. A variable that forces
// software comes first, on the compositor as well; one that changes the driver's answers explains
// the check that fails. The program's test build tells a recorded machine's causes, another card's
// through the real helper.
TEST(CommandLine, TheCausesOfThisMachineAndOfRecordedOnes) {
    Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        GTEST_SKIP() << "no display";
    }
    const Seen seen = SeeThisMachine(x);
    const std::string display = DisplayString(x);
    XCloseDisplay(x);
    const Causes virtualServer =
        Contains("virtual_display_server DISPLAY=" + display +
                 "; x_server_dri3=no; x_server_dri2=no; x_server_nv_glx=no");
    const Causes noDevice =
        Contains(StartsWith("no_graphics_device display_controllers=none; drm_devices=none"));
    const std::string machines = RECORDED_MACHINES "/";
    struct Row {
        std::string what;
        std::string command;
        Causes causes;
    };
    std::vector<Row> rows{
        {"on the X server", kDriverUntouched + kProgram,
         ::testing::AllOf(seen.virtualXServer && (seen.drawingGpu || !seen.controllers)
                              ? virtualServer
                              : Not(Contains(StartsWith("virtual_display_server"))),
                          seen.controllers || seen.drmDevices ? Not(noDevice) : noDevice)},
        {"two-sided stencil taken away",
         kDriverUntouched + "MESA_EXTENSION_OVERRIDE=-GL_EXT_stencil_two_side " + kProgram,
         First("answers_changed_by_environment MESA_EXTENSION_OVERRIDE=-GL_EXT_stencil_two_side")},
        {"recorded: a render node this user may not open",
         kDriverUntouched + "SYSTEM_PROFILER_MACHINE=" + machines + "render-node-denied " +
             RECORDED_PATH,
         ElementsAre("device_not_permitted node=/dev/dri/renderD128; mode=0660; group=render")},
        {"recorded: NVIDIA's module missing",
         kDriverUntouched + "SYSTEM_PROFILER_MACHINE=" + machines +
             "laptop-nvidia-module-missing " + RECORDED_PATH,
         Contains(StartsWith("NVIDIA Corporation GA107M [GeForce RTX 3050 Mobile]: "
                             "no_kernel_driver controller=0000:01:00.0"))},
    };
    if (!WestonSession().empty()) {
        rows.push_back(
            {"forced on the compositor",
             kDriverUntouched + EnvArguments(OnlyWeston()) + " LIBGL_ALWAYS_SOFTWARE=1 " + kProgram,
             First("forced_by_environment LIBGL_ALWAYS_SOFTWARE=1")});
    }
    for (const Row& row : rows) {
        const Explained explained = Explain(row.command);
        EXPECT_THAT(explained.causes, row.causes) << row.what;
        ExpectOneSetOfCauses(explained, row.what);
    }
}

// A copy of the program's tree (bin, lib, libexec) in a fresh folder that every user may read.
fs::path WorldReadableCopy() {
    const fs::path prefix = fs::absolute(kProgram).parent_path().parent_path();
    std::string name = (fs::temp_directory_path() / "readycheck-copy-XXXXXX").string();
    fs::path copy = mkdtemp(name.data());
    fs::permissions(copy,
                    fs::perms::others_read | fs::perms::others_exec | fs::perms::group_read |
                        fs::perms::group_exec,
                    fs::perm_options::add);
    for (const char* folder : {"lib", "libexec"}) {
        fs::copy(prefix / folder, copy / folder,
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
    fs::create_directory(copy / "bin");
    fs::copy_file(kProgram, copy / "bin/ReadyCheck");
    return copy;
}

// In a private mount namespace: a /dev of its own whose render node only its group (video) may
// open, and the program run there by nobody. Nothing outside the namespace changes.
const std::string kClosedRenderNode =
    "unshare -m sh -ec '"
    "mount -t tmpfs -o mode=0755 tmpfs /dev; "
    "mknod -m 0666 /dev/null c 1 3; mknod -m 0666 /dev/zero c 1 5; "
    "mknod -m 0666 /dev/random c 1 8; mknod -m 0666 /dev/urandom c 1 9; "
    "mkdir /dev/dri; mknod -m 0660 /dev/dri/renderD128 c 226 128; "
    "chgrp video /dev/dri/renderD128; "
    "exec setpriv --reuid=65534 --regid=65534 --clear-groups \"$@\"' sh ";

// A user outside the render node's group, as CI's root cannot be: the program names the node, its
// mode and its group.
TEST(CommandLine, ARenderNodeThisUserMayNotOpen) {
    const Ran tried = RunCommand(kClosedRenderNode + "true");
    if (geteuid() != 0 || tried.status != 0) {
        GTEST_SKIP() << "needs root, unshare, mount, mknod and setpriv: " << tried.errors;
    }
    const fs::path copy = WorldReadableCopy();
    const Explained explained =
        Explain(kClosedRenderNode + kDriverUntouched + "-u DISPLAY -u WAYLAND_DISPLAY " +
                "ASAN_OPTIONS=" + kWithoutLeakCheck + " " + copy.string() + "/bin/ReadyCheck");
    EXPECT_THAT(explained.causes,
                Contains("device_not_permitted node=/dev/dri/renderD128; mode=0660; group=video"));
    ExpectOneSetOfCauses(explained, "nobody");
    fs::remove_all(copy);
}

// The report is written without a window ever being mapped, and leaves no process behind.
TEST(CommandLine, ReportMapsNoWindowAndLeavesNothingRunning) {
    Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        GTEST_SKIP() << "no display";
    }
    const std::size_t before = MappedWindows(x).size();
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::size_t most = before;
    const Ran ran = RunProgram({.arguments = {kProgram, "--report"}, .meanwhile = [&] {
                                    most = std::max(most, MappedWindows(x).size());
                                }});
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(most, before) << "no window";
    EXPECT_TRUE(ran.output.starts_with("ReadyCheck 1.0.0\n")) << ran.output;
    EXPECT_TRUE(NoChildLeft(2.0)) << "no child is left";
    XCloseDisplay(x);
}

// A copy of the program laid out as installed, beside a stand-in profiler (when given one) whose
// child sleeps for $NAP seconds; returns the copy's path.
std::string Stage(const fs::path& root, bool withProfiler) {
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::copy_file(kProgram, root / "bin/ReadyCheck");
    fs::create_directory_symlink(fs::absolute(kProgram).parent_path() / "../lib", root / "lib");
    if (withProfiler) {
        fs::create_directories(root / "libexec/readycheck");
        std::ofstream(root / "libexec/readycheck/system_profiler")
            << "#!/bin/sh\nsleep $NAP & wait";
        fs::permissions(root / "libexec/readycheck/system_profiler", fs::perms::owner_all);
    }
    return fs::absolute(root / "bin/ReadyCheck");
}

// The process's mapped windows, newest (an alert) first.
std::vector<Window> WindowsOf(Display* x, pid_t pid) {
    std::vector<Window> windows = MappedWindows(x);
    std::erase_if(windows, [&](Window window) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, left = 0;
        unsigned char* owner = nullptr;
        XGetWindowProperty(x, window, XInternAtom(x, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &items, &left, &owner);
        const bool other = items != 1 || *reinterpret_cast<long*>(owner) != pid;
        XFree(owner);
        return other;
    });
    return windows;
}

class WaysOut : public ::testing::Test {
protected:
    void SetUp() override {
        if (x == nullptr) {
            GTEST_SKIP() << "no display";
        }
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    void TearDown() override {
        started.clear();  // kills what a failed assertion left running
        fs::remove_all("ways-out");
        if (x != nullptr) {
            XCloseDisplay(x);
        }
    }
    StartedProgram& start(const std::string& command) {
        return started.emplace_back(Command{{"/bin/sh", "-c", command}});
    }
    StartedProgram& copyAndClose();

    Display* x = XOpenDisplay(nullptr);
    std::deque<StartedProgram> started;
};

// All at once: each signal with an alert open, the result window destroyed with and without one,
// the connection killed (xkill), a hangup inherited as ignored, and standard error closed with no
// profiler, where the window must still show its summary. Each ends like Close within two
// seconds, and leaves no process of the profiler's.
TEST_F(WaysOut, EachEndsLikeClose) {
    const auto signal = [](int number) {
        return [number](pid_t pid, Window) { kill(pid, number); };
    };
    const auto destroy = [&](pid_t, Window window) {
        XDestroyWindow(x, window);
        XFlush(x);
    };
    const struct {
        const char* shell;  // runs the program that follows
        bool alert;         // acts once the summary is up, on the result window
        std::function<void(pid_t, Window)> action;
    } rows[] = {
        {"exec", false, destroy},
        {"exec", true, signal(SIGTERM)},
        {"exec", true, signal(SIGINT)},
        {"exec", true, signal(SIGHUP)},
        {"exec", true, destroy},
        {"exec", true,
         [&](pid_t, Window window) {
             XKillClient(x, window);
             XFlush(x);
         }},
        {"trap '' HUP; exec", true,
         [](pid_t pid, Window) {
             kill(pid, SIGHUP);
             std::this_thread::sleep_for(std::chrono::milliseconds(300));
             EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "an ignored hangup ends it";
             kill(pid, SIGTERM);
         }},
        {"exec 2>&-; exec", true, signal(SIGTERM)},  // no profiler
    };
    const std::string staged = Stage("ways-out/staged", true);
    const std::string bare = Stage("ways-out/bare", false);
    for (const auto& row : rows) {
        const std::string program = std::string(row.shell).starts_with("exec 2") ? bare : staged;
        start("export NAP=" + std::to_string(900 + started.size()) + "; " + row.shell + " " +
              program);
    }
    for (std::size_t i = 0; i < started.size(); ++i) {
        const std::size_t windows = rows[i].alert ? 2 : 1;
        const pid_t pid = started[i].pid();
        ASSERT_TRUE(WaitFor([&] { return WindowsOf(x, pid).size() == windows; }, 30.0)) << i;
        rows[i].action(pid, WindowsOf(x, pid).back());
        EXPECT_TRUE(started[i].endsCleanly(2.0)) << i;
        EXPECT_TRUE(GoneWithin("^sleep " + std::to_string(900 + i) + "$", 0)) << i;
    }
}

// The compositor killed under the window, with the summary up: the program ends as Close ends it,
// rather than as the toolkit would (status 1, the profiler's group left running). On a Weston of
// the test's own, beside the scripts' one.
TEST_F(WaysOut, TheCompositorGoneEndsLikeClose) {
    if (WestonSession().empty()) {
        GTEST_SKIP() << "needs Weston (scripts/with-weston.sh)";
    }
    const fs::path runtime = fs::absolute("ways-out/runtime");
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const StartedProgram& weston =
        start("XDG_RUNTIME_DIR=" + runtime.string() +
              " exec weston --backend=headless-backend.so --use-gl --no-config "
              "--socket=lost >/dev/null 2>&1");
    ASSERT_TRUE(WaitFor([&] { return fs::exists(runtime / "lost"); }, 10.0));
    StartedProgram& program =
        start("export NAP=960; exec env -u DISPLAY XDG_RUNTIME_DIR=" + runtime.string() +
              " WAYLAND_DISPLAY=lost " + Stage("ways-out/staged", true) + " 2>/dev/null");
    ASSERT_TRUE(WaitFor([&] { return MesaLayers(program.pid()) == "EGL"; }, 30.0))
        << "probed there";
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));  // the summary is up
    ASSERT_FALSE(program.exitStatus(0)) << "still running";
    kill(weston.pid(), SIGKILL);
    EXPECT_TRUE(program.endsCleanly(2.0));
    EXPECT_TRUE(GoneWithin("^sleep 960$", 0)) << "the profiler's child is left";
}

// The report's wait for a profiler that does not end is cut short by a signal as the window is:
// the profiler's whole group is stopped, and the program says why it gives no report.
TEST_F(WaysOut, ASignalEndsTheReportsWaitAndTheProfilersGroup) {
    const std::string staged = Stage("ways-out/report", true);
    StartedProgram& program = start("export NAP=950; exec " + staged + " --report 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    kill(program.pid(), SIGTERM);
    EXPECT_EQ(program.exitStatus(2.0), 1);
    EXPECT_TRUE(GoneWithin("^sleep 950$", 0)) << "the profiler's child is left";
}

// A clipboard manager as the desktops run one: asked by the program to save its clipboard, it
// fetches the text, then answers; or, silent, it never does.
class ClipboardManager {
public:
    explicit ClipboardManager(Display* x, bool silent = false) : mX(x), mSilent(silent) {
        XSetSelectionOwner(x, atom("CLIPBOARD_MANAGER"), mWindow, CurrentTime);
    }
    // Answers what has come; true once it holds the text, or once asked where it is silent.
    bool serve() {
        for (XEvent event{}; XPending(mX) > 0;) {
            XNextEvent(mX, &event);
            if (event.type == SelectionRequest) {
                mRequest = event.xselectionrequest;
                asked = true;
                if (mSilent) {
                    continue;
                }
                XConvertSelection(mX, atom("CLIPBOARD"), atom("UTF8_STRING"), atom("SAVED"),
                                  mWindow, CurrentTime);
            } else if (event.type == SelectionNotify && event.xselection.property != None) {
                unsigned char* text = nullptr;
                unsigned long size = 0, left = 0;
                int format = 0;
                Atom type = 0;
                XGetWindowProperty(mX, mWindow, atom("SAVED"), 0, 1 << 20, True, AnyPropertyType,
                                   &type, &format, &size, &left, &text);
                saved.assign(reinterpret_cast<char*>(text), size);
                XFree(text);
                XSelectionEvent& reply = event.xselection;  // to the program, about its request
                reply.requestor = mRequest.requestor;
                reply.selection = mRequest.selection;
                reply.target = reply.property = mRequest.target;
                reply.time = mRequest.time;
                XSendEvent(mX, mRequest.requestor, False, NoEventMask, &event);
            }
        }
        XFlush(mX);
        return mSilent ? asked : !saved.empty();
    }
    bool asked = false;
    std::string saved;

private:
    Atom atom(const char* name) { return XInternAtom(mX, name, False); }
    Display* mX;
    bool mSilent;
    Window mWindow = XCreateSimpleWindow(mX, DefaultRootWindow(mX), 0, 0, 1, 1, 0, 0, 0);
    XSelectionRequestEvent mRequest{};
};

// Starts the program, copies the report by Ctrl+C after the summary and closes the window as a
// window manager closes it.
StartedProgram& WaysOut::copyAndClose() {
    StartedProgram& program = start("NAP=1 exec " + Stage("ways-out/staged", true));
    const pid_t pid = program.pid();
    EXPECT_TRUE(WaitFor([&] { return WindowsOf(x, pid).size() == 2; }, 30.0));
    Close(x, WindowsOf(x, pid).front());
    EXPECT_TRUE(WaitFor([&] { return WindowsOf(x, pid).size() == 1; }, 5.0));
    const Window window = WindowsOf(x, pid).front();
    XEvent press{};
    press.xkey = {KeyPress, 0, True, x, window,      DefaultRootWindow(x),      None, CurrentTime,
                  1,        1, 1,    1, ControlMask, XKeysymToKeycode(x, XK_c), True};
    XSendEvent(x, window, False, NoEventMask, &press);
    Close(x, window);  // handled after the key, in the order sent
    return program;
}

// The manager has the report.
TEST_F(WaysOut, TheCopiedReportOutlivesTheWindow) {
    ClipboardManager manager(x);
    StartedProgram& program = copyAndClose();
    EXPECT_TRUE(WaitFor([&] { return manager.serve(); }, 5.0));
    EXPECT_TRUE(program.endsCleanly(2.0));
    EXPECT_TRUE(manager.saved.starts_with("ReadyCheck ")) << manager.saved;
}

// A manager that never answers holds the ended program a second at most (the toolkit alone
// waits ten), and a signal while it is asked ends the wait at once: well before the second is up,
// however long the program then takes to exit.
TEST_F(WaysOut, AManagerThatNeverAnswersIsNotWaitedFor) {
    std::chrono::duration<double> waited[2];
    for (const bool signalled : {false, true}) {
        ClipboardManager manager(x, true);
        StartedProgram& program = copyAndClose();
        ASSERT_TRUE(WaitFor([&] { return manager.serve(); }, 5.0)) << "asked to keep the text";
        const auto asked = std::chrono::steady_clock::now();
        if (signalled) {
            kill(program.pid(), SIGTERM);
        }
        EXPECT_TRUE(program.endsCleanly(3.0)) << signalled;
        waited[signalled ? 1 : 0] = std::chrono::steady_clock::now() - asked;
    }
    EXPECT_LT(waited[1].count(), waited[0].count() - 0.5)
        << "signalled " << waited[1].count() << " s, not " << waited[0].count() << " s";
}

}  // namespace

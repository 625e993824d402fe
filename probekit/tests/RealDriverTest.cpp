// The shipped library on real drivers: Mesa's llvmpipe under Xvfb and under Weston, and on its
// device with no display; other drivers through Mesa's overrides; X servers and compositors that
// the test starts and kills. Probes run in child processes: the backend is chosen and the feature
// cache kept for the process, and Mesa reads its overrides once.
#include <gtest/gtest.h>
// Xlib's macros (None, Status) must come after gtest.
#include <EGL/egl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "ProbeKit/ProbeKit.h"
#include "RunProgram.h"
#include "StartedProgram.h"
#include "WaitFor.h"
#include "WestonSession.h"

namespace {

using testing::ExitedWithCode;

unsigned int CountWindows(Display* display) {
    Window root = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &root, &children, &count);
    XFree(children);
    return count;
}

bool AnyContextCurrent() {
    eglBindAPI(EGL_OPENGL_API);
    return glXGetCurrentContext() != nullptr || eglGetCurrentContext() != EGL_NO_CONTEXT;
}

// "mask|vendor|renderer|version|current=...|windows=...": the windows left on the test's X server.
std::string Answers() {
    Display* witness = XOpenDisplay(std::getenv("TEST_X_DISPLAY"));
    const unsigned int before = CountWindows(witness);
    std::string seen = std::to_string(VXGetDriverOpenGLFeatures());
    VXStringArray identity = VXGetDriverOpenGLIdentity();
    for (int32_t i = 1; i <= VXStringArrayCount(identity); ++i) {
        seen += std::string("|") + VXStringArrayGet(identity, i);
    }
    VXStringArrayDispose(identity);
    seen += "|current=" + std::to_string(AnyContextCurrent()) +
            "|windows=" + std::to_string(CountWindows(witness) - before);
    XCloseDisplay(witness);
    return seen;
}

// The children witness the X server of the test, whatever DISPLAY they are given.
std::string AnswersWith(EnvironmentChanges changes) {
    changes.emplace_back("TEST_X_DISPLAY", std::getenv("DISPLAY"));
    return InChild(changes, Answers);
}

// The library's own link provides them: this program links only libGLX and libEGL.
TEST(RealLibrary, FindsTheNineEntryPointsBeforeAnyContext) {
    ASSERT_EQ(glXGetCurrentContext(), nullptr);
    for (const char* name :
         {"glGenFramebuffersEXT", "glBindFramebufferEXT", "glGenRenderbuffersEXT",
          "glBindRenderbufferEXT", "glRenderbufferStorageEXT", "glFramebufferRenderbufferEXT",
          "glCheckFramebufferStatusEXT", "glDeleteRenderbuffersEXT", "glDeleteFramebuffersEXT"}) {
        EXPECT_NE(dlsym(RTLD_DEFAULT, name), nullptr) << name;
    }
}

TEST(RealLibrary, IdentityIsWhatGlxinfoReports) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no DISPLAY";
    }
    const std::string strings =
        RunProgram({{"/bin/sh", "-c",
                     "glxinfo | sed -n 's/^OpenGL \\(vendor\\|renderer\\|version\\) string: /|/p'"
                     " | tr -d '\\n'"}})
            .output;
    EXPECT_EQ(AnswersWith({{"WAYLAND_DISPLAY", nullptr}}), "63" + strings + "|current=0|windows=0");
}

// Exactly 1.2 passes the framebuffer-object threshold. Without two-sided stencil Mesa reports 1.5
// and the separate depth path has no stencil. softpipe offers no multisample configs. EGL on the
// compositor and on the device must answer as GLX does, for every driver.
TEST(EveryBackend, AnswersAsGlxForEachDriver) {
    const char* weston = WestonSocket();
    if (std::getenv("DISPLAY") == nullptr || weston == nullptr) {
        GTEST_SKIP() << "needs DISPLAY and WESTON_DISPLAY (scripts/with-weston.sh)";
    }
    for (const auto& [variable, value, mask] :
         {std::tuple{"GALLIUM_DRIVER", "llvmpipe", "63|"},
          std::tuple{"MESA_GL_VERSION_OVERRIDE", "1.2", "63|"},
          std::tuple{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_stencil_two_side", "57|"},
          std::tuple{"GALLIUM_DRIVER", "softpipe", "47|"}}) {
        const std::string glx = AnswersWith({{variable, value}, {"WAYLAND_DISPLAY", nullptr}});
        EXPECT_EQ(glx.rfind(mask, 0), 0U) << glx;
        EXPECT_EQ(AnswersWith({{variable, value}, {"WAYLAND_DISPLAY", weston}}), glx)
            << "Wayland, " << value;
        EXPECT_EQ(
            AnswersWith({{variable, value}, {"WAYLAND_DISPLAY", nullptr}, {"DISPLAY", nullptr}}),
            glx)
            << "device, " << value;
    }
}

// A host started by its compositor with WAYLAND_SOCKET connects through it later; the probes go
// to WAYLAND_DISPLAY's compositor themselves and leave that socket to the host.
std::string ProbeBesideTheHostsSocket() {
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) {
        return "no socket";
    }
    close(pair[1]);
    setenv("WAYLAND_SOCKET", std::to_string(pair[0]).c_str(), 1);
    const std::string mask = std::to_string(VXGetDriverOpenGLFeatures());
    return mask + (std::getenv("WAYLAND_SOCKET") != nullptr ? " left" : " taken");
}

TEST(EveryBackend, LeavesTheHostsWaylandSocketAlone) {
    const char* weston = WestonSocket();
    if (weston == nullptr) {
        GTEST_SKIP() << "needs WESTON_DISPLAY (scripts/with-weston.sh)";
    }
    EXPECT_EQ(
        InChild({{"WAYLAND_DISPLAY", weston}, {"DISPLAY", nullptr}}, ProbeBesideTheHostsSocket),
        "63 left");
}

// A server of the test's own, which prints its display number; sets DISPLAY to it.
StartedProgram StartXvfb() {
    StartedProgram server({{"Xvfb", "-displayfd", "1", "-nolisten", "tcp"}},
                          StartedProgram::Output::Piped);
    setenv("DISPLAY", std::string(":").append(server.readLine()).c_str(), 1);
    return server;
}

// A compositor of the test's own, with its socket in runtime, once the socket is there; sets
// WAYLAND_DISPLAY to it.
StartedProgram StartWeston(const std::string& runtime, const std::string& name) {
    StartedProgram compositor({.arguments = {"weston", "--backend=headless-backend.so", "--use-gl",
                                             "--no-config", "--socket=" + name},
                               .environment = {{"XDG_RUNTIME_DIR", runtime}},
                               .errorsIntoOutput = true},
                              StartedProgram::Output::Discarded);
    const std::string socket = runtime + "/" + name;
    WaitFor([&] { return std::filesystem::exists(socket); }, 10.0);
    setenv("WAYLAND_DISPLAY", socket.c_str(), 1);
    return compositor;
}

// The mask and the identity's size on a server, on one lost after the switch changed, and on a
// new one; each server is killed once probed.
std::string ProbeLostAndNew(const std::function<StartedProgram()>& start) {
    std::string seen;
    for (const bool lost : {false, true, false}) {
        StartedProgram server = start();
        VXSetPreferGenericDriver(VXGetPreferGenericDriver() == 0 ? 1 : 0);
        if (lost) {
            server.stop(SIGKILL);
        }
        VXStringArray identity = VXGetDriverOpenGLIdentity();
        seen += std::to_string(VXGetDriverOpenGLFeatures()) + " " +
                std::to_string(VXStringArrayCount(identity)) + " ";
        VXStringArrayDispose(identity);
    }
    return seen;
}

// Writes what ProbeLostAndNew sees of X servers, then the mask with no DISPLAY at all; then ends
// the process with status 0.
[[noreturn]] void ProbeServers() {
    const std::string seen = ProbeLostAndNew(StartXvfb);
    unsetenv("DISPLAY");
    VXSetPreferGenericDriver(0);
    std::fputs((seen + std::to_string(VXGetDriverOpenGLFeatures())).c_str(), stderr);
    _exit(0);
}

// Xlib's own answer to a lost server is exit(1) from inside the library.
TEST(LostServer, GivesNeutralResultsThenANewConnection) {
    EXPECT_EXIT((unsetenv("WAYLAND_DISPLAY"), ProbeServers()), ExitedWithCode(0),
                "63 3 0 0 63 3 0");
}

// The same on compositors, with the test's X server still there: Wayland comes first, and the
// choice holds once made.
[[noreturn]] void ProbeCompositors() {
    char runtime[] = "/tmp/probekit-weston-XXXXXX";
    if (mkdtemp(runtime) == nullptr) {
        _exit(1);
    }
    int compositors = 0;
    const std::string seen = ProbeLostAndNew(
        [&] { return StartWeston(runtime, "wayland-" + std::to_string(++compositors)); });
    std::filesystem::remove_all(runtime);
    std::fputs(seen.c_str(), stderr);
    _exit(0);
}

TEST(LostCompositor, GivesNeutralResultsThenANewCompositor) {
    EXPECT_EXIT(ProbeCompositors(), ExitedWithCode(0), "^63 3 0 0 63 3 $");
}

}  // namespace

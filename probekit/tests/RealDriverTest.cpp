// The shipped library on real drivers: Mesa's llvmpipe under Xvfb, other drivers through Mesa's
// overrides, and X servers that the test starts and kills. Probes run in death-test children:
// the feature cache lives for the process, and Mesa reads its overrides once.
#include <gtest/gtest.h>
// Xlib's macros (None, Status) must come after gtest.
#include <GL/glx.h>
#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "ProbeKit/ProbeKit.h"

namespace {

using testing::ExitedWithCode;

// Writes "mask|vendor|renderer|version|current=...|windows=..." to stderr, then ends the process,
// with status 0 when that begins with expected.
[[noreturn]] void Probe(const std::string& expected) {
    Display* witness = XOpenDisplay(nullptr);
    const auto windows = [witness] {
        Window root = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(witness, DefaultRootWindow(witness), &root, &root, &children, &count);
        XFree(children);
        return count;
    };
    const unsigned int before = windows();
    std::string seen = std::to_string(VXGetDriverOpenGLFeatures());
    VXStringArray identity = VXGetDriverOpenGLIdentity();
    for (int32_t i = 1; i <= VXStringArrayCount(identity); ++i) {
        seen += std::string("|") + VXStringArrayGet(identity, i);
    }
    VXStringArrayDispose(identity);
    seen += "|current=" + std::to_string(glXGetCurrentContext() != nullptr) +
            "|windows=" + std::to_string(windows() - before);
    XCloseDisplay(witness);
    std::fputs(seen.c_str(), stderr);
    _exit(seen.rfind(expected, 0) == 0 ? 0 : 1);
}

// The library's own link provides them: this program links only libGLX.
TEST(RealLibrary, FindsTheNineEntryPointsBeforeAnyContext) {
    ASSERT_EQ(glXGetCurrentContext(), nullptr);
    for (const char* name :
         {"glGenFramebuffersEXT", "glBindFramebufferEXT", "glGenRenderbuffersEXT",
          "glBindRenderbufferEXT", "glRenderbufferStorageEXT", "glFramebufferRenderbufferEXT",
          "glCheckFramebufferStatusEXT", "glDeleteRenderbuffersEXT", "glDeleteFramebuffersEXT"}) {
        EXPECT_NE(dlsym(RTLD_DEFAULT, name), nullptr) << name;
    }
}

// Exactly 1.2 passes the framebuffer-object threshold. Without two-sided stencil Mesa reports 1.5
// and the separate depth path has no stencil. softpipe offers no multisample configs.
TEST(RealLibrary, IdentityIsWhatGlxinfoReportsAndMesaOverridesGiveTheirMasks) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no DISPLAY";
    }
    FILE* glxinfo = popen(
        "glxinfo | sed -n 's/^OpenGL \\(vendor\\|renderer\\|version\\) string: /|/p'"
        " | tr -d '\\n'",
        "r");
    char text[1024];
    const std::string strings(text, std::fread(text, 1, sizeof text, glxinfo));
    pclose(glxinfo);
    EXPECT_EXIT(Probe("63" + strings + "|current=0|windows=0"), ExitedWithCode(0), "");
    for (const auto& [variable, value, mask] :
         {std::tuple{"MESA_GL_VERSION_OVERRIDE", "1.2", "63|"},
          std::tuple{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_stencil_two_side", "57|"},
          std::tuple{"GALLIUM_DRIVER", "softpipe", "47|"}}) {
        EXPECT_EXIT((setenv(variable, value, 1), Probe(mask)), ExitedWithCode(0), "") << variable;
    }
}

// A server of the test's own; returns its pid and sets DISPLAY to it. The shell prints its pid,
// which the server takes over, then the server prints its display number. The pipe stays open
// for the rest of the process, which ends with _exit.
pid_t StartXvfb() {
    FILE* server = popen("echo $$; exec Xvfb -displayfd 1 -nolisten tcp", "r");
    pid_t pid = 0;
    char display[16] = ":";
    EXPECT_EQ(std::fscanf(server, "%d %14s", &pid, display + 1), 2);
    setenv("DISPLAY", display, 1);
    return pid;
}

void Kill(pid_t server) {
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
}

// Writes the mask and the identity's size on a server, on one lost after the switch changed, on
// a new one, and with no DISPLAY at all; then ends the process with status 0.
[[noreturn]] void ProbeServers() {
    std::string seen;
    for (const bool lost : {false, true, false}) {
        const pid_t server = StartXvfb();
        VXSetPreferGenericDriver(VXGetPreferGenericDriver() == 0 ? 1 : 0);
        if (lost) {
            Kill(server);
        }
        VXStringArray identity = VXGetDriverOpenGLIdentity();
        seen += std::to_string(VXGetDriverOpenGLFeatures()) + " " +
                std::to_string(VXStringArrayCount(identity)) + " ";
        VXStringArrayDispose(identity);
        if (!lost) {
            Kill(server);
        }
    }
    unsetenv("DISPLAY");
    VXSetPreferGenericDriver(0);
    std::fputs((seen + std::to_string(VXGetDriverOpenGLFeatures())).c_str(), stderr);
    _exit(0);
}

// Xlib's own answer to a lost server is exit(1) from inside the library.
TEST(LostServer, GivesNeutralResultsThenANewConnection) {
    EXPECT_EXIT(ProbeServers(), ExitedWithCode(0), "63 3 0 0 63 3 0");
}

}  // namespace
